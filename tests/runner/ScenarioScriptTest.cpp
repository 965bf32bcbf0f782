#include "ScenarioScript.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using vendalise::testing::parseScenario;
using vendalise::testing::splitWords;

namespace {

QStringList words(const QString& line) {
    QString error;
    const auto result = splitWords(line, &error);
    EXPECT_TRUE(result.has_value()) << error.toStdString();
    return result.value_or(QStringList());
}

} // namespace

TEST(ScenarioScript, SplitsWordsAndQuotedWords) {
    EXPECT_EQ(words(QStringLiteral("  click\tFrmORV.Fin  ")),
              QStringList({QStringLiteral("click"), QStringLiteral("FrmORV.Fin")}));
    EXPECT_EQ(words(QStringLiteral("type W.C \"a b\" \"\"")),
              QStringList({QStringLiteral("type"), QStringLiteral("W.C"), QStringLiteral("a b"),
                           QString()}));
    EXPECT_EQ(words(QStringLiteral(R"(x "q\"\\\t\r\n")")),
              QStringList({QStringLiteral("x"), QStringLiteral("q\"\\\t\r\n")}));
    // Outside quotes a backslash is an ordinary character.
    EXPECT_EQ(words(QStringLiteral(R"(C:\Vendalise)")),
              QStringList({QStringLiteral(R"(C:\Vendalise)")}));
}

TEST(ScenarioScript, RejectsBrokenQuotes) {
    for (const char* line : {"a \"open", "a \"bad\\q\"", "a \"x\"y"}) {
        QString error;
        EXPECT_FALSE(splitWords(QString::fromUtf8(line), &error).has_value()) << line;
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(ScenarioScript, ParsesStepsBlocksAndPlaceholders) {
    const QString text = QStringLiteral("# comment\n"
                                        "\n"
                                        "setting S K <data>\n"
                                        "file Compta.orv\n"
                                        "Ligne <data>\n"
                                        "\n"
                                        "# not a comment here\n"
                                        "end\n"
                                        "expect rows W.C\n"
                                        "  \"a b\" 3\n"
                                        "\n"
                                        "end\n"
                                        "start\r\n");
    QStringList errors;
    const auto steps =
        parseScenario(text, {{QStringLiteral("<data>"), QStringLiteral("/d")}}, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[0].words.last(), QStringLiteral("/d"));
    // A file block keeps blank and '#' lines, with placeholders replaced.
    EXPECT_EQ(steps[1].block, QStringList({QStringLiteral("Ligne /d"), QString(),
                                           QStringLiteral("# not a comment here")}));
    ASSERT_EQ(steps[2].rows.size(), 1);
    EXPECT_EQ(steps[2].rows[0], QStringList({QStringLiteral("a b"), QStringLiteral("3")}));
    EXPECT_EQ(steps[3].words, QStringList(QStringLiteral("start")));
    EXPECT_EQ(steps[3].line, 13);
}

// One scenario serves both systems: after a Windows path's placeholder,
// the path goes on with "\\" up to the next blank.
TEST(ScenarioScript, APathAfterAWindowsPlaceholderTakesItsSeparator) {
    const QHash<QString, QString> values{{QStringLiteral("<home>"), QStringLiteral("C:\\h")},
                                         {QStringLiteral("<data>"), QStringLiteral("/d")}};
    QStringList errors;
    const auto steps = parseScenario(
        QStringLiteral("input \"<home>/Clé/x.orv et/ou <data>/y <home>/z\"\n"), values, &errors);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].words.last(), QStringLiteral("C:\\h\\Clé\\x.orv et/ou /d/y C:\\h\\z"));
}

// After "default PATH", <default> and <DEFAULT> stand for PATH.
TEST(ScenarioScript, ADefaultFolderGivesItsPlaceholdersFromThenOn) {
    const QHash<QString, QString> values{{QStringLiteral("<default>"), QStringLiteral("/d")},
                                         {QStringLiteral("<DEFAULT>"), QStringLiteral("/D")}};
    QStringList errors;
    const auto steps = parseScenario(QStringLiteral("input <default>\ndefault /h/Club\n"
                                                    "input <default>\ninput <DEFAULT>\n"),
                                     values, &errors);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].words.last(), QStringLiteral("/d"));
    EXPECT_EQ(steps[2].words.last(), QDir::toNativeSeparators(QStringLiteral("/h/Club")));
    EXPECT_EQ(steps[3].words.last(), QDir::toNativeSeparators(QStringLiteral("/H/CLUB")));
}

TEST(ScenarioScript, ReportsABlockWithoutEnd) {
    QStringList errors;
    parseScenario(QStringLiteral("expect printed\n12 - - x\n"), {}, &errors);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("1:")));
}

TEST(ScenarioScript, EveryVerbIsDocumentedInTheScenarioReadme) {
    QFile readme(QStringLiteral(VENDALISE_SCENARIO_README));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    for (const vendalise::testing::Verb& verb : vendalise::testing::verbs()) {
        const QString& name = verb.name;
        EXPECT_TRUE(text.contains(QLatin1Char('`') + name + QLatin1Char(' ')) ||
                    text.contains(QLatin1Char('`') + name + QLatin1Char('`')))
            << name.toStdString() << " is not described in " << VENDALISE_SCENARIO_README;
    }
}

TEST(ScenarioScript, RejectsAnUnknownVerbAndTooFewWords) {
    QStringList errors;
    parseScenario(QStringLiteral("clique FrmORV.Fin\ntype FrmStock.TextPU\n"), {}, &errors);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("1:")));
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("2:")));
    EXPECT_TRUE(errors[1].contains(QStringLiteral("type W.C TEXT"))) << errors[1].toStdString();
}
