#include "core/Printing.h"

#include "TestProgram.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

using testing::FixedClock;
using testing::ScriptedMessages;
using testing::ScriptedPrinter;

// Printing never shows a window nor ends the program.
using Printing = testing::TestProgram;

TEST_F(Printing, ChoixPoliceTakesTheFirstArialAfterFontZero) {
    const struct {
        QStringList fonts;
        const char* chosen;
    } cases[] = {{{"Courier New", "Arial"}, "Arial"},
                 {{"Arial", "Times New Roman", "arial", "ARIAL"}, "arial"},
                 {{"Arial Black", "Arial Narrow", "aRiAl"}, "aRiAl"},
                 {{"Courier New", "Times New Roman"}, "Courier New"},
                 {{"Arial"}, "Arial"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fonts.join(QLatin1Char('|')).toStdString());
        printer.fontList = c.fonts;
        printer.font.clear();
        printer.fontBold = true;
        ChoixPolice(app);
        EXPECT_EQ(printer.font, QString::fromLatin1(c.chosen));
        EXPECT_FALSE(printer.fontBold);
    }
    // Without a printer nothing is chosen and nothing is said.
    printer.mode = ScriptedPrinter::Mode::None;
    printer.font.clear();
    ChoixPolice(app);
    EXPECT_TRUE(printer.font.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Printing, ImprimeLigneReportsAFailure) {
    const struct {
        ScriptedPrinter::Mode mode;
        const char16_t* text;
        const char* title;
        Messages::Icon icon;
    } cases[] = {{ScriptedPrinter::Mode::Off,
                  u"Vous avez indiqué Annuler lors d'une impression.\r\n\r\n"
                  u"Cette action risque de ne plus permettre d'imprimer.",
                  "   Erreur impression", Messages::Icon::Exclamation},
                 // Any other failure shows its own description first.
                 {ScriptedPrinter::Mode::None,
                  u"Aucune imprimante n'est installée.\n\nL'impression n'a pas été possible.\n\n"
                  u"Contactez l'auteur",
                  "Erreur dans l'impression", Messages::Icon::Critical}};
    for (const auto& c : cases) {
        printer.mode = c.mode;
        messages.shown.clear();
        ImprimeLigne(app, u"Ligne"_s, 10, false, false);
        ASSERT_EQ(messages.shown.size(), 1);
        const testing::ShownBox& box = messages.shown.at(0);
        EXPECT_EQ(box.text, QString::fromUtf16(c.text));
        EXPECT_EQ(box.title, QString::fromLatin1(c.title));
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, Messages::Buttons::Ok);
    }
}

} // namespace
} // namespace vendalise
