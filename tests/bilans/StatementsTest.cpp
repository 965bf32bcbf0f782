#include "bilans/FrmBilans.h"
#include "bilans/Statements.h"

#include "RealisticClub.h"
#include "WindowTestProgram.h"

#include "core/Settings.h"
#include "platform/NumberForm.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <map>

namespace vendalise {
namespace {

using testing::control;

// The realistic club, with a second DUPONT Jean (member 17) and a member
// whose name holds characters that Windows forbids in a file name (18),
// both owing a line.
class DebtStatements : public testing::WindowTestProgram {
protected:
    void SetUp() override {
        testing::WindowTestProgram::SetUp();
        club = testing::realisticClub();
        club.members.append({QStringLiteral("DUPONT"), QStringLiteral("Jean")});
        club.members.append({QStringLiteral("O'NEIL/SMITH"), QStringLiteral("A:B")});
        for (const int member : {17, 18})
            club.sales.append({club.today.addDays(-1), 1, member, 1, false, {}});
        ASSERT_TRUE(testing::writeClub(club, folder.path()));
        clock.date = club.today;
        sources = readBilanSources(app.files, club.threshold, club.today,
                                   QStringLiteral("dd/MM/yyyy"));
    }

    // Each member's owed sales, added from the club's own figures.
    std::map<int, std::pair<int, double>> owedByMember() const {
        std::map<int, std::pair<int, double>> owed;
        for (const auto& sale : club.sales) {
            if (!sale.owedToday())
                continue;
            auto& [lines, amount] = owed[sale.member];
            ++lines;
            amount += double(club.products[sale.product - 1].price) * sale.quantity;
        }
        return owed;
    }

    testing::RealisticClub club;
    BilanSources sources;
};

// Every debtor's statement: its lines are the member's owed sales, which
// add up, at the cent, to the debt the program computes (the Bilans' and
// the member window's), and that is the statement's total.
TEST_F(DebtStatements, OfEveryDebtorAddUpToTheDebt) {
    const Bilan bilan = makeBilan(sources, Period::all());
    const QList<Statement> statements = debtStatements(sources, QStringLiteral("CAF Vercors"));
    const auto owed = owedByMember();
    int debtors = 0;
    for (const DebtRow& debt : bilan.debts) {
        if (debt.owed <= 0)
            continue;
        ++debtors;
        SCOPED_TRACE(debt.name.toStdString());
        const auto statement =
            std::find_if(statements.cbegin(), statements.cend(),
                         [&](const Statement& s) { return s.member == debt.member; });
        ASSERT_NE(statement, statements.cend());
        EXPECT_EQ(statement->name, debt.name);
        ASSERT_EQ(statement->lines.size(), owed.at(debt.member).first);
        qint64 cents = 0;
        for (const StatementLine& line : statement->lines)
            cents += line.cents;
        EXPECT_EQ(cents, toCents(debt.owed));
        EXPECT_EQ(cents, toCents(owed.at(debt.member).second));
        EXPECT_EQ(toCents(statement->owed), toCents(debt.owed));
    }
    // The realistic club's 13 debtors and the two added.
    EXPECT_EQ(debtors, 15);
    ASSERT_EQ(statements.size(), debtors);

    // One member: the largest debtor's own statement, oldest line first
    // (its total and first line are the print's below); none for a member
    // in credit or owing nothing.
    const QList<Statement> one = debtStatements(sources, {}, bilan.debts.first().member);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].name, QStringLiteral("GUÉRIN Jérôme"));
    for (qsizetype i = 1; i < one[0].lines.size(); ++i)
        EXPECT_LE(*one[0].lines[i - 1].date, *one[0].lines[i].date);
    for (int m = 1; m <= club.members.size(); ++m)
        EXPECT_TRUE(owed.contains(m) || debtStatements(sources, {}, m).isEmpty()) << m;
}

// A name that two members bear takes the member's number; the characters
// Windows forbids become "-".
TEST_F(DebtStatements, FileNamesTellMembersApart) {
    QList<Statement> statements;
    for (const Statement& statement : debtStatements(sources, {}))
        if (statement.name.startsWith(QLatin1String("DUPONT")) ||
            statement.name.startsWith(QLatin1String("O'NEIL")))
            statements.append(statement);
    EXPECT_EQ(statementFileNames(statements, sources.members),
              (QStringList{QStringLiteral("Relevé de dettes - DUPONT Jean (1) - 20-10-2008.pdf"),
                           QStringLiteral("Relevé de dettes - DUPONT Jean (17) - 20-10-2008.pdf"),
                           QStringLiteral("Relevé de dettes - O'NEIL-SMITH A-B - 20-10-2008.pdf")}));
}

// The window on the Dettes view.
class StatementsWindow : public DebtStatements {
protected:
    void SetUp() override {
        DebtStatements::SetUp();
        window = &app.window<FrmBilans>();
        window->refresh();
        control<QTabWidget>(*window, QStringLiteral("TabVues")).setCurrentIndex(2);
    }
    void click(const char* button) {
        control<QPushButton>(*window, QString::fromLatin1(button)).click();
    }
    QString lastMessage() const {
        return messages.shown.isEmpty() ? QString() : messages.shown.last().text;
    }

    FrmBilans* window = nullptr;
};

// The row chosen in the table: that member's statement only, printed as a
// document of its own headed by the club's name; a member in credit has
// none; "Tous les débiteurs" prints every one whatever the row.
TEST_F(StatementsWindow, PrintsTheMemberChosenOrEveryDebtor) {
    ASSERT_TRUE(kClubSetting.store(settings, QStringLiteral("CAF Vercors")));
    auto* table = &control<QTableView>(*window, QStringLiteral("TableDettes"));
    table->selectRow(0); // GUÉRIN Jérôme, the largest debt
    click("CmdReleve");
    QStringList lines;
    for (const auto& line : printer.printed)
        lines.append(line.endOfDocument ? QStringLiteral("enddoc") : line.text);
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.first(), QStringLiteral("[document portrait] Relevé de dettes - GUÉRIN Jérôme"));
    EXPECT_EQ(lines.mid(1, 3), (QStringList{QStringLiteral("CAF Vercors"),
                                            QStringLiteral("Relevé de dettes"),
                                            QStringLiteral("GUÉRIN Jérôme")}));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("19/09/2006\t*Soda cola 33 cl\t1\t1,80 €\t1,80 €\t762")));
    EXPECT_EQ(lines.mid(lines.size() - 3),
              (QStringList{QStringLiteral("Total dû : 321,10 €"),
                           QStringLiteral("À régler auprès du trésorier du club."),
                           QStringLiteral("enddoc")}));
    EXPECT_EQ(lines.count(QStringLiteral("enddoc")), 1);

    // VINCENT Léo, in credit, under "Avoirs".
    printer.printed.clear();
    table->selectRow(16);
    ASSERT_EQ(table->model()->index(16, 0).data().toString(), QStringLiteral("VINCENT Léo"));
    click("CmdReleve");
    EXPECT_TRUE(printer.printed.isEmpty());
    EXPECT_EQ(lastMessage(), QStringLiteral("L'adhérent choisi ne doit rien : il n'a pas de "
                                            "relevé de dettes."));

    control<QCheckBox>(*window, QStringLiteral("CheckTousDebiteurs")).setChecked(true);
    click("CmdReleve");
    int documents = 0;
    for (const auto& line : printer.printed)
        documents += line.endOfDocument ? 1 : 0;
    EXPECT_EQ(documents, 15);
}

} // namespace
} // namespace vendalise
