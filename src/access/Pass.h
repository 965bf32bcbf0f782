#pragma once

#include "core/Window.h"

class QPushButton;

namespace vendalise {

class TextField;

// The password dialog "Droit d'accès": the password, and on request a new
// password with its confirmation. It is only hidden when it is left, so
// that its controls stay as they were for the next time.
class Pass : public Window {
    Q_OBJECT
public:
    explicit Pass(App& app);

    // The three fields emptied, before each showing.
    void clear();
    // What was typed: the password, the new one and its confirmation.
    QString password() const;
    QString newPassword() const;
    QString confirmation() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showChange(bool shown);

    ClickLabel* Label1;
    TextField* Text1;
    ClickLabel* Label5;
    QPushButton* CmdModifPsw;
    ClickLabel* Label4;
    ClickLabel* Label3;
    TextField* Text2;
    TextField* Text3;
    QPushButton* Accepter;
    QPushButton* Abandon;
};

} // namespace vendalise
