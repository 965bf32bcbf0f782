#include "restore/FrmRestauration.h"

#include "access/Access.h"
#include "access/Gate.h"
#include "cash/KeptStatements.h"
#include "core/Settings.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "restore/Restore.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace vendalise {

namespace {

enum Column { Set, Made, Members, Products, Lines, Material, Drinks, State, kColumns };

const QString kHeaders[kColumns] = {
    QStringLiteral("Sauvegarde"),       QStringLiteral("Faite le"),
    QStringLiteral("Adhérents"),        QStringLiteral("Produits"),
    QStringLiteral("Lignes de ventes"), QStringLiteral("Caisse matériel"),
    QStringLiteral("Caisse boissons"),  QStringLiteral("État")};

const QString kTitle = QStringLiteral("Restaurer une sauvegarde");

// What a file of the set holds, as its cell shows it.
QString fileText(const BackupFile& file) {
    if (file.path.isEmpty())
        return QStringLiteral("manque");
    if (file.tooLarge)
        return QStringLiteral("trop grand");
    if (!file.readable)
        return QStringLiteral("illisible");
    return QString::number(file.records);
}

QString registerText(const BackupFile& file) {
    if (file.path.isEmpty() || !file.readable)
        return fileText(file);
    return euroText(file.total) + QStringLiteral(" (%1 écriture%2)")
                                   .arg(file.entries)
                                   .arg(file.entries > 1 ? QStringLiteral("s") : QString());
}

// Why a set cannot be restored, or "Restaurable"; a set made before backups
// listed what they hold is restored without its history.
QString stateText(const BackupSet& set) {
    const QStringList faults = set.faults();
    if (!faults.isEmpty())
        return faults.join(QStringLiteral(" ; "));
    if (set.sameAsLive)
        return QStringLiteral("Identique aux fichiers actuels");
    if (set.manifestPath.isEmpty())
        return QStringLiteral("Restaurable, sans ses relevés");
    return QStringLiteral("Restaurable");
}

// Cuts a text too long for its cell in its middle: a backup folder's row
// keeps both what it is and the end of its path.
class KeepBothEnds : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

} // namespace

// The sets found, each read when a row of it is first shown, so that years
// of daily copies are listed at once.
class BackupSetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSets(QList<BackupSet> sets) {
        beginResetModel();
        sets_ = std::move(sets);
        endResetModel();
    }
    // Read once; nothing that reading throws reaches Qt's drawing: the set
    // is then shown as unreadable.
    BackupSet& set(int row) const {
        BackupSet& set = sets_[row];
        if (!set.read) {
            try {
                readBackupSet(set);
            } catch (...) {
                for (BackupFile& file : set.files)
                    file.readable = false;
                set.sameAsLive = false;
                set.read = true;
            }
        }
        return set;
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(sets_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::TextAlignmentRole)
            return index.column() == Set || index.column() == Made || index.column() == State
                       ? QVariant()
                       : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        // A text too long for its cell is read whole in its tooltip.
        if (role == Qt::ToolTipRole && (index.column() == Set || index.column() == State))
            role = Qt::DisplayRole;
        if (role != Qt::DisplayRole)
            return {};
        if (index.column() == Set)
            return sets_[index.row()].label;
        const BackupSet& shown = set(index.row());
        switch (index.column()) {
        case Made:
            return shown.made.isValid() ? shown.made.toString(QStringLiteral("dd/MM/yyyy HH'h'mm"))
                                        : QString();
        case Members:
            return fileText(shown.files[int(BackedUp::Members)]);
        case Products:
            return fileText(shown.files[int(BackedUp::Products)]);
        case Lines:
            return fileText(shown.files[int(BackedUp::Ledger)]);
        case Material:
            return registerText(shown.files[int(BackedUp::MaterialLedger)]);
        case Drinks:
            return registerText(shown.files[int(BackedUp::DrinksLedger)]);
        default:
            return stateText(shown);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < kColumns)
            return kHeaders[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    mutable QList<BackupSet> sets_;
};

FrmRestauration::FrmRestauration(App& app)
    : Window(app, QStringLiteral("FrmRestauration"), 15600, 5460) {
    setWindowTitle(kTitle);
    LabelSauvegardes = addLabel(QStringLiteral("LabelSauvegardes"), {},
                                twips(120, 120, 13080, 255));
    CmdDossier = addButton(QStringLiteral("CmdDossier"), QStringLiteral("Autre dossier…"),
                           QStringLiteral("Chercher une sauvegarde dans un autre dossier, "
                                          "comme une clé venue d'un autre PC"),
                           twips(13380, 30, 2100, 360));
    TableSauvegardes = new QTableView(this);
    TableSauvegardes->setObjectName(QStringLiteral("TableSauvegardes"));
    TableSauvegardes->setGeometry(twips(120, 420, 15360, 4020));
    sets_ = new BackupSetModel(TableSauvegardes);
    TableSauvegardes->setModel(sets_);
    TableSauvegardes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableSauvegardes->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableSauvegardes->setSelectionMode(QAbstractItemView::SingleSelection);
    TableSauvegardes->setWordWrap(false);
    TableSauvegardes->verticalHeader()->hide();
    TableSauvegardes->setItemDelegateForColumn(Set, new KeepBothEnds(TableSauvegardes));
    TableSauvegardes->horizontalHeader()->setStretchLastSection(true);
    const int widths[kColumns - 1] = {3870, 1650, 1050, 1050, 1560, 1800, 1800};
    for (int c = 0; c < kColumns - 1; ++c)
        TableSauvegardes->setColumnWidth(c, twipsToPixels(widths[c]));

    LabelInventaire = addLabel(QStringLiteral("LabelInventaire"),
                               QStringLiteral("Les cinq fichiers de la sauvegarde et ses relevés "
                                              "remplacent ceux du répertoire des données ;\n"
                                              "l'inventaire reste tel qu'il est."),
                               twips(120, 4560, 11880, 495));
    CmdRestaurer = addButton(QStringLiteral("CmdRestaurer"), QStringLiteral("Restaurer"),
                             QStringLiteral("Remettre les fichiers de la sauvegarde choisie"),
                             twips(12360, 4560, 1455, 495));
    CmdFermer = addButton(QStringLiteral("CmdFermer"), QStringLiteral("Fermer"), {},
                          twips(14025, 4560, 1455, 495));

    handle(TableSauvegardes->selectionModel(), &QItemSelectionModel::currentRowChanged,
           [this] { chosen(); });
    handle(CmdDossier, &QPushButton::clicked, [this] { chooseFolder(); });
    handle(CmdRestaurer, &QPushButton::clicked, [this] { restore(); });
    handle(CmdFermer, &QPushButton::clicked, [this] { hide(); });
}

void FrmRestauration::refresh() {
    backupFolder_ = kBackupFolderSetting.read(app_.sys.settings);
    list();
}

void FrmRestauration::list() {
    showSets(findBackupSets(app_.files.current(), backupFolder_));
}

void FrmRestauration::showSets(QList<BackupSet> sets) {
    LabelSauvegardes->setText(
        sets.isEmpty() ? QStringLiteral("Aucune sauvegarde trouvée : « Autre dossier… » cherche "
                                        "celle d'une clé ou d'un autre dossier.")
                       : QStringLiteral("Sauvegardes trouvées, la plus récente en tête :"));
    sets_->setSets(std::move(sets));
    // No set is chosen until the user chooses one.
    CmdFermer->setFocus();
    chosen();
}

void FrmRestauration::chooseFolder() {
    const QString proposed = backupFolder_.isEmpty() ? app_.files.current() : backupFolder_;
    const QString folder = app_.sys.messages.folderName(
        QStringLiteral("Dossier de la sauvegarde à restaurer"), QDir::toNativeSeparators(proposed));
    if (folder.isEmpty())
        return;
    const QString chosenFolder = QDir::fromNativeSeparators(folder);
    QList<BackupSet> sets = findBackupSets(app_.files.current(), chosenFolder);
    if (std::none_of(sets.begin(), sets.end(), [](const BackupSet& set) {
            return set.kind == BackupSet::Kind::BackupFolder;
        })) {
        app_.tell(QStringLiteral("Le dossier\r\n") + QDir::toNativeSeparators(chosenFolder) +
                      QStringLiteral("\r\nne contient pas de sauvegarde."),
                  kTitle, Messages::Icon::Exclamation);
        return;
    }
    backupFolder_ = chosenFolder;
    showSets(std::move(sets));
}

BackupSet* FrmRestauration::currentSet() {
    const QModelIndex current = TableSauvegardes->currentIndex();
    return current.isValid() ? &sets_->set(current.row()) : nullptr;
}

void FrmRestauration::chosen() {
    const BackupSet* set = currentSet();
    CmdRestaurer->setEnabled(set && set->restorable());
}

void FrmRestauration::restore() {
    BackupSet* chosenSet = currentSet();
    if (!chosenSet)
        return;
    // The set is read again: its files may have changed since it was shown.
    BackupSet set = *chosenSet;
    readBackupSet(set);
    if (!set.restorable()) {
        app_.tell(QStringLiteral("Cette sauvegarde ne peut pas être restaurée :\r\n") +
                      stateText(set),
                  kTitle, Messages::Icon::Exclamation);
        list();
        return;
    }
    Access& access = app_.part<Access>();
    if (!access.password.isEmpty()) {
        access.granted = false;
        ControleAcces(app_);
        if (!access.granted)
            return;
    }
    const QDateTime now(app_.sys.clock.today(), app_.sys.clock.time());
    const auto count = [&](BackedUp file, const char* one, const char* many) {
        const qint64 n = set.files[int(file)].records;
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n > 1 ? many : one));
    };
    const QString question =
        QStringLiteral("Les fichiers de travail seront remplacés par ceux de la sauvegarde\r\n") +
        set.label + QStringLiteral(" :\r\n") + count(BackedUp::Members, "adhérent", "adhérents") +
        QStringLiteral(", ") + count(BackedUp::Products, "produit", "produits") +
        QStringLiteral(", ") + count(BackedUp::Ledger, "ligne de ventes", "lignes de ventes") +
        QStringLiteral(",\r\ncaisse matériel ") +
        euroText(set.files[int(BackedUp::MaterialLedger)].total) +
        QStringLiteral(", caisse boissons ") + euroText(set.files[int(BackedUp::DrinksLedger)].total) +
        QStringLiteral(".\r\n\r\nLes fichiers actuels sont d'abord gardés dans le dossier\r\n"
                       "\"") +
        freeBeforeRestoreName(app_.files.current(), now) +
        QStringLiteral("\".") +
        // A set made before backups listed what they hold leaves the
        // history as it is: what it shares with it is then counted twice.
        (set.manifestPath.isEmpty() && !DataFiles::namesIn(set.liveKeptFolder).isEmpty()
             ? QStringLiteral("\r\n\r\nCette sauvegarde ne dit pas quels relevés elle "
                              "connaissait : ceux du dossier \"") +
                   kKeptFolder +
                   QStringLiteral("\" restent tels qu'ils sont,\r\net Bilans compte deux fois "
                                  "ce qu'ils ont en commun avec elle.")
             : QString()) +
        QStringLiteral("\r\n\r\nVoulez-vous restaurer cette sauvegarde ?");
    if (!app_.ask(question, kTitle, Messages::Icon::Exclamation))
        return;
    try {
        const QString kept = restoreSet(app_.files, set, now);
        app_.tell(QStringLiteral("La sauvegarde ") + set.label +
                      QStringLiteral(" a été restaurée.\r\nLes fichiers d'avant sont gardés "
                                     "dans le dossier\r\n\"") +
                      kept + QStringLiteral("\"."),
                  kTitle, Messages::Icon::Information);
    } catch (const FileError& error) {
        app_.tellNotWritten(QStringLiteral("La sauvegarde n'a pas pu être restaurée :\r\n"), error);
        // The former files could not be put back either: the next start
        // puts them in order, so nothing may be recorded on them now.
        if (restoreState(app_.files) == RestoreState::Pending)
            app_.end();
    }
    // The tables follow the files, whatever they hold now.
    if (const auto& reload = app_.part<Restoration>().reloadTables)
        reload();
    list();
}

} // namespace vendalise
