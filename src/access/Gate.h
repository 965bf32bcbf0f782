#pragma once

namespace vendalise {

class App;

// The password gate: asks for the password in the dialog "Droit d'accès"
// and sets the access granted flag when it is right; the dialog is also
// where the password is changed. The master password erases the stored
// password and ends the program. The caller goes on only when the flag is
// set afterwards.
void ControleAcces(App& app);

} // namespace vendalise
