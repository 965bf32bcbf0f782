#include "access/Access.h"

#include "core/Settings.h"

namespace vendalise {

void ActiverPsw(App& app) {
    const QString title = QStringLiteral("Protection");
    if (!app.ask(QStringLiteral("Voulez-vous vraiment mettre en place un mot de passe ?"), title))
        return;
    if (!kAccessOpenSetting.store(app.sys.settings, false)) {
        app.tell(QStringLiteral("La fonction accès réservé n'a pas pu être activée."), title,
                 Messages::Icon::Critical);
        return;
    }
    app.part<Access>().granted = false;
    app.tell(QStringLiteral("La fonction accès réservé est à présent activée\r\n\r\n"
                            "Le mot de passe est actuellement vide (Touche <Entrée> seule).\r\n"
                            "Commencer par le modifier."),
             title, Messages::Icon::Information);
}

} // namespace vendalise
