// The operations of the operations window that change the ledger or print:
// settlement of one line or of a member's debts, deletion of lines, and the
// debt report.

#include "access/Access.h"
#include "access/Gate.h"
#include "cash/CashLedger.h"
#include "catalogue/Catalogue.h"
#include "core/Printing.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"
#include "sales/FrmES.h"
#include "sales/Ledger.h"
#include "sales/Settlement.h"

#include <QCheckBox>
#include <QFrame>

#include <cmath>

namespace vendalise {

namespace {

const QString kSettlementFailed = QStringLiteral("Le règlement n'a pas pu être enregistré :\r\n");

void tellDeletionFailure(App& app, const QString& text) {
    app.tell(text + QStringLiteral("\r\nSuppression abandonnée"),
             QStringLiteral("Erreur lors de la suppression"), Messages::Icon::Critical);
}

// The gate, asked whatever the flag says; the caller goes on when it is set.
bool granted(App& app) {
    ControleAcces(app);
    return app.part<Access>().granted;
}

} // namespace

void FrmES::settleLine() {
    Sales& sales = app_.part<Sales>();
    const int n = sales.currentLine;
    // A line past the end (after a deletion) counts as none.
    if (!sales.ledger.holds(n)) {
        app_.tell(QStringLiteral("Pas de ligne sélectionnée"),
                  QStringLiteral("Opération impossible"), Messages::Icon::Critical);
        return;
    }
    const bool paidBox = CheckPayé->isChecked();
    if (paidBox && !granted(app_))
        return;
    const LedgerLine line = sales.ledger[n];
    qint16 flag = line.paid;
    QString entry;
    if (!line.isPaid()) {
        if (paidBox) {
            flag = kPaid;
            entry = settlementEntryOf(app_, n);
        }
    } else {
        if (!app_.ask(QStringLiteral("Article réglé. Voulez-vous annuler le reglement ?"),
                      QStringLiteral("Règlement")))
            return;
        flag = kOwed;
    }
    const Register cashRegister =
        registerOf(app_.part<Catalogue>().table.product(line.product).name);
    qint64 at = -1;
    try {
        // The entry is appended and shown before the record is written.
        at = writeLineFlag(app_, n, flag, entry, [&] {
            app_.tell(entry, QStringLiteral("Reglement de dette"), Messages::Icon::Information);
        });
    } catch (const FileError& error) {
        app_.tellNotWritten(kSettlementFailed, error);
        return;
    }
    if (at >= 0)
        app_.run([&] { showAppendedEntry(app_, cashRegister, entry, at); });
    app_.run([this] { ChargeVentes(app_); });
    refreshForDebtsBox();
    Client->setChecked(false);
}

void FrmES::settleDebts() {
    const int m = ListDettes->selectedData();
    const MemberTable& members = app_.part<Members>().table;
    if (!members.holds(m)) {
        app_.tell(QStringLiteral("Sélectionner un adhérent"), QStringLiteral("Pas si vite"),
                  Messages::Icon::Critical);
        return;
    }
    if (!app_.ask(QStringLiteral("Reglement des dettes de ") + blanksTrimmed(members[m].firstName) +
                      QLatin1Char(' ') + blanksTrimmed(members[m].name) + QStringLiteral(" ?"),
                  QStringLiteral("CONFIRMATION")))
        return;
    if (!granted(app_))
        return;
    Settled settled;
    try {
        settled = settleMember(app_, m);
    } catch (const FileError& error) {
        app_.tellNotWritten(kSettlementFailed, error);
        return;
    }
    for (const Register cashRegister : {Register::Material, Register::Drinks}) {
        const int r = static_cast<int>(cashRegister);
        if (settled.at[r] >= 0)
            app_.run(
                [&] { showAppendedText(app_, cashRegister, settled.texts[r], settled.at[r]); });
    }
    app_.run([this] { ChargeVentes(app_); });
    refreshForDebtsBox();
    Line1->setVisible(false);
    Line2->setVisible(false);
    // The amount to recover follows the rebuilt list.
    fillDebts();
}

void FrmES::deleteLines() {
    bool deleteAllOwed = false;
    if (!granted(app_))
        return;
    const QString answer =
        app_.sys.messages.input(QStringLiteral("Combien de lignes à supprimer à partir de la ligne "
                                               "courante ?"),
                                QStringLiteral("Suppression de lignes"), QStringLiteral("1"));
    // Rounded half to even; the reading stops at a comma.
    const double rounded = std::nearbyint(readNumber(answer));
    if (!(rounded >= -32768 && rounded <= 32767)) {
        tellDeletionFailure(app_, QStringLiteral("Dépassement de capacité"));
        return;
    }
    int n = static_cast<int>(rounded);
    if (n < 1)
        return;
    Sales& sales = app_.part<Sales>();
    const int c = sales.currentLine;
    if (c == 0) {
        app_.tell(QStringLiteral("Il faut selectionner une ligne de départ"),
                  QStringLiteral("Pas si vite !"), Messages::Icon::Critical);
        return;
    }
    const LedgerTable& ledger = sales.ledger;
    const MemberTable& members = app_.part<Members>().table;
    const ProductTable& products = app_.part<Catalogue>().table;
    // The texts of line i: its date, member and product, without trailing
    // blanks; empty for a line or record that does not exist.
    const auto date = [&](int i) { return ledger.line(i).date; };
    const auto who = [&](int i) {
        const Member& member = members.member(ledger.line(i).member);
        return withoutTrailingBlanks(member.firstName) + QLatin1Char(' ') +
               withoutTrailingBlanks(member.name);
    };
    const auto what = [&](int i) {
        return withoutTrailingBlanks(products.product(ledger.line(i).product).name);
    };
    if (!app_.ask(
            QStringLiteral("Suppression de %1 lignes à partir de la ligne achat le : ").arg(n) +
                date(c) + QStringLiteral("\r\npar : ") + who(c) + QStringLiteral("\r\nde : ") +
                what(c),
            QStringLiteral("Confirmer")))
        return;

    QList<int> kept;
    kept.reserve(ledger.count());
    for (int i = 1; i < c && i <= ledger.count(); ++i)
        kept.append(i);
    if (c + n - 1 > ledger.count())
        n = ledger.count() - c + 1;
    for (int i = c; i <= c + n - 1; ++i) {
        if (ledger[i].isPaid() || deleteAllOwed)
            continue;
        if (!app_.ask(
                QStringLiteral("Ligne non soldée :\r\nle ") + ledger[i].date +
                    QStringLiteral("\r\npar : ") + who(i) + QStringLiteral("\r\nde : ") + what(i) +
                    QStringLiteral("\r\n\r\nEtes vous sûr de vouloir supprimer cette ligne ? "),
                QStringLiteral("Suppression à confirmer"))) {
            kept.append(i);
            continue;
        }
        if (app_.ask(QStringLiteral("Voulez vous supprimer toutes les lignes non soldées ?"),
                     QStringLiteral("Confirmer")))
            deleteAllOwed = true;
    }
    for (int i = std::max(c + n, c); i <= ledger.count(); ++i)
        kept.append(i);
    try {
        keepLines(app_, kept);
    } catch (const LedgerBeyondTable&) {
        tellDeletionFailure(app_, QStringLiteral("Le fichier es.orv contient plus de lignes que "
                                                 "le programme n'en a chargé."));
        return;
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Elsewhere)
            app_.tellFileError(error);
        else
            tellDeletionFailure(app_, error.description());
        return;
    }
    app_.run([this] { ChargeVentes(app_); });
    MajEs();
}

void FrmES::printReport() {
    if (ListDettes->isVisible()) {
        const Members& members = app_.part<Members>();
        ImprimeLigne(app_,
                     QStringLiteral("\tDettes à la date du : ") + dateText(app_.sys.clock.today()) +
                         QStringLiteral("\r\n\r\n"),
                     12, true, true);
        for (int m = 1; m <= members.table.count(); ++m) {
            const float debt = members.debtOf(m);
            if (debt == 0)
                continue;
            ImprimeLigne(app_,
                         QStringLiteral("    ") + withoutTrailingBlanks(members.table[m].name) +
                             QLatin1Char(' ') + withoutTrailingBlanks(members.table[m].firstName) +
                             QStringLiteral(" - Somme due : ") + numberForm(debt) +
                             QStringLiteral(" €"),
                         10, false, false);
        }
        FinImpression(app_);
        return;
    }
    if (!ListES->isVisible() || clientReport_.isEmpty())
        return;
    const MemberTable& members = app_.part<Members>().table;
    const int c = clientOfView_;
    ImprimeLigne(app_, QStringLiteral("Client : ") + blanksTrimmed(members.member(c).name), 10,
                 false, false);
    ImprimeLigne(app_, QStringLiteral(" "), 10, false, false);
    for (const QString& line : clientReport_)
        ImprimeLigne(app_, line, 10, false, false);
    FinImpression(app_);
}

} // namespace vendalise
