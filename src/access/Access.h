#pragma once

#include <QString>

namespace vendalise {

class App;

// The reserved access's part of the shared state.
struct Access {
    // Data entry has been granted; several events clear it again.
    bool granted = false;
    // Copy of the stored password.
    QString password;
    // How the password dialog was last left: with "Changer" (a new password
    // is to be taken) or with "Abandonner" (the gate does nothing). They
    // outlive the dialog, which its close box discards.
    bool changeRequested = false;
    bool abandoned = false;
};

// Turns the reserved access on, after a question: from the next start on,
// every run begins with access not granted.
void ActiverPsw(App& app);

} // namespace vendalise
