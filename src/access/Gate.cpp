#include "access/Gate.h"

#include "access/Access.h"
#include "access/Pass.h"
#include "core/Settings.h"
#include "core/Window.h"

namespace vendalise {

namespace {

// Typed into the dialog, it erases the stored password; compared with its case.
const QString kMasterPassword = QStringLiteral("KoRaL");

const QString kUnchangedTitle = QStringLiteral("Mot de passe inchangé");

bool storePassword(App& app, const QString& password) {
    return kPasswordSetting.store(app.sys.settings, password);
}

void tellNotStored(App& app) {
    app.tell(QStringLiteral("Le mot de passe n'a pas pu être enregistré."), kUnchangedTitle,
             Messages::Icon::Critical);
}

} // namespace

void ControleAcces(App& app) {
    Access& access = app.part<Access>();
    access.changeRequested = false;
    {
        Pass& dialog = app.window<Pass>();
        dialog.clear();
        app.showModal(dialog);
    }
    // A dialog discarded by its close box is read as made afresh: empty.
    const Pass& dialog = app.window<Pass>();
    const QString typed = dialog.password();

    if (typed == kMasterPassword) {
        if (storePassword(app, QString())) {
            access.password.clear();
            app.tell(QStringLiteral("Mot de passe supprimé"), QStringLiteral("ATTENTION"),
                     Messages::Icon::Information);
        } else {
            tellNotStored(app);
        }
        app.end();
    }
    if (access.abandoned)
        return;
    if (typed.toUpper() != access.password.toUpper()) {
        app.tell(QStringLiteral("Mot de passe refusé"), QStringLiteral("Accès à la saisie réservé"),
                 Messages::Icon::Critical);
        return;
    }
    if (!access.changeRequested) {
        access.granted = true;
        return;
    }
    const QString newPassword = dialog.newPassword();
    if (newPassword.isEmpty() || newPassword != dialog.confirmation()) {
        app.tell(QStringLiteral("Confirmation incorrecte du mot de passe ou nouveau mot de passe "
                                "vide."),
                 kUnchangedTitle, Messages::Icon::Critical);
        return;
    }
    if (!storePassword(app, newPassword)) {
        tellNotStored(app);
        return;
    }
    access.password = newPassword;
    app.tell(QStringLiteral("Confirmation correcte du mot de passe."),
             QStringLiteral("Mot de passe modifié"), Messages::Icon::Information);
    access.granted = true;
}

} // namespace vendalise
