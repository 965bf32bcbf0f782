#include "core/Window.h"

#include "core/Names.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QDir>
#include <QPushButton>

#include <new>
#include <stdexcept>

namespace vendalise {
namespace {

// A window whose button runs whatever the test gives it.
class ProbeWindow : public Window {
public:
    ProbeWindow(App& app, std::function<void()> action)
        : Window(app, QStringLiteral("ProbeWindow"), 3000, 2000) {
        Button = addButton(QStringLiteral("Button"), QStringLiteral("Essai"), {},
                           twips(120, 120, 1200, 400));
        handle(Button, &QPushButton::clicked, std::move(action));
    }
    QPushButton* Button;
};

using OneErrorPath = testing::WindowTestProgram;

TEST_F(OneErrorPath, AFailureInsideAHandlerBecomesAMessage) {
    const struct {
        std::function<void()> action;
        const char* title;
        QString text;
        Messages::Icon icon;
    } cases[] = {
        {[] { throw FileError(FileError::Kind::Other, u"/d/Produits.orv"_s, u"Disque plein"_s); },
         "Erreur programme",
         QDir::toNativeSeparators(u"/d/Produits.orv"_s)
             .prepend(u"Le fichier "_s)
             .append(u" n'a pas pu être utilisé :\r\nDisque plein"_s),
         Messages::Icon::Critical},
        {[] { throw std::runtime_error("erreur interne"); }, "Erreur programme",
         u"L'opération n'a pas pu se terminer :\r\nerreur interne"_s, Messages::Icon::Critical},
        {[] { throw std::bad_alloc(); }, "Erreur programme",
         u"La mémoire manque pour terminer cette opération."_s, Messages::Icon::Critical},
        {[] {
             throw FileError(FileError::Kind::Elsewhere, u"Adhérents.orv"_s,
                             u"Les données en mémoire viennent d'ailleurs."_s);
         },
         "Emplacement des fichiers", u"Les données en mémoire viennent d'ailleurs."_s,
         Messages::Icon::Exclamation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        messages.shown.clear();
        ProbeWindow window(app, c.action);
        EXPECT_NO_THROW(window.Button->click());
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].icon, c.icon);
        EXPECT_EQ(messages.shown[0].buttons, Messages::Buttons::Ok);
    }
}

TEST_F(OneErrorPath, AnOperationMayGiveItsOwnMessageForAFileFailure) {
    QString handled;
    const bool done = app.run(
        [] { throw FileError(FileError::Kind::Missing, u"es.orv"_s, u"Fichier introuvable"_s); },
        [&](const FileError& error) { handled = error.file(); });
    EXPECT_FALSE(done);
    EXPECT_EQ(handled, u"es.orv"_s);
    EXPECT_TRUE(messages.shown.isEmpty());

    // A write refused because the tables come from another folder is told
    // the same way whatever the operation would say.
    app.run([] { throw FileError(FileError::Kind::Elsewhere, u"es.orv"_s, u"ailleurs"_s); },
            [&](const FileError&) { ADD_FAILURE() << "the operation's own message"; });
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, u"Emplacement des fichiers"_s);

    EXPECT_TRUE(app.run([] {}));
}

} // namespace
} // namespace vendalise
