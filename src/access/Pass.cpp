#include "access/Pass.h"

#include "access/Access.h"

#include <QKeyEvent>
#include <QPushButton>

namespace vendalise {

namespace {

// Every typed character shows as "*".
void hideTyping(TextField* field) {
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

} // namespace

Pass::Pass(App& app) : Window(app, QStringLiteral("Pass"), 4530, 3105) {
    setWindowTitle(QStringLiteral("Droit d'accès"));
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Saisie du mot de passe"),
                      twips(960, 120, 2775, 375));
    setBoldOf(Label1);
    Text1 = addField(QStringLiteral("Text1"), twips(240, 480, 3975, 285));
    hideTyping(Text1);
    Label5 = addLabel(QStringLiteral("Label5"),
                      QStringLiteral("Donner le mot de passe et taper sur la touche <Entrée>"),
                      twips(240, 840, 4095, 255));
    Label5->setStyleSheet(QStringLiteral("color: red;"));
    // The hint and the captions of the change are smaller than the rest, so
    // that they fit their places with the wider fonts of today's desktops.
    setFontOf(Label5, 7);
    CmdModifPsw =
        addButton(QStringLiteral("CmdModifPsw"), QStringLiteral("Changer le mot de passe"), {},
                  twips(1200, 1680, 2175, 255));
    Label4 =
        addLabel(QStringLiteral("Label4"), QStringLiteral("Confirmation du nouveau mot de passe"),
                 twips(2400, 1560, 1815, 375));
    Label4->setWordWrap(true);
    setFontOf(Label4, 7);
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Nouveau mot de passe :"),
                      twips(360, 1680, 1935, 255));
    setFontOf(Label3, 7);
    Text2 = addField(QStringLiteral("Text2"), twips(360, 2040, 1815, 285));
    hideTyping(Text2);
    Text3 = addField(QStringLiteral("Text3"), twips(2400, 2040, 1815, 285));
    hideTyping(Text3);
    Accepter = addButton(QStringLiteral("Accepter"), QStringLiteral("Changer"), {},
                         twips(360, 2520, 1215, 255));
    Abandon = addButton(QStringLiteral("Abandon"), QStringLiteral("Abandonner"), {},
                        twips(2400, 2520, 1095, 255));
    showChange(false);
    Text1->setFocus();
    Text1->installEventFilter(this);

    Access& access = app_.part<Access>();
    handle(CmdModifPsw, &QPushButton::clicked, [this] { showChange(true); });
    handle(Accepter, &QPushButton::clicked, [this, &access] {
        showChange(false);
        access.abandoned = false;
        access.changeRequested = true;
        hide();
    });
    handle(Abandon, &QPushButton::clicked, [this, &access] {
        access.abandoned = true;
        access.changeRequested = false;
        hide();
    });
}

void Pass::clear() {
    Text1->clear();
    Text2->clear();
    Text3->clear();
}

QString Pass::password() const {
    return Text1->text();
}

QString Pass::newPassword() const {
    return Text2->text();
}

QString Pass::confirmation() const {
    return Text3->text();
}

// The change controls, or the button that shows them.
void Pass::showChange(bool shown) {
    CmdModifPsw->setVisible(!shown);
    for (QWidget* control : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
                             static_cast<QWidget*>(Text2), static_cast<QWidget*>(Text3),
                             static_cast<QWidget*>(Accepter), static_cast<QWidget*>(Abandon)})
        control->setVisible(shown);
}

// Any key typed into the password is a plain password check; Enter ends it.
bool Pass::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        Access& access = app_.part<Access>();
        access.changeRequested = false;
        access.abandoned = false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            showChange(false);
            hide();
            return true;
        }
    }
    return Window::eventFilter(watched, event);
}

} // namespace vendalise
