#pragma once

#include <QString>
#include <QStringList>

// The one place for the names of the data files and of the settings.
namespace vendalise {

// Data files, in the data directory; names are matched without regard to case.
inline const QString kMemberFile = QStringLiteral("Adhérents.orv");
inline const QString kProductFile = QStringLiteral("Produits.orv");
inline const QString kLedgerFile = QStringLiteral("es.orv");
inline const QString kLedgerTemporaryFile = QStringLiteral("~ES.orv");
inline const QString kMaterialLedgerFile = QStringLiteral("Compta.orv");
inline const QString kDrinksLedgerFile = QStringLiteral("ComptaBoisson.orv");
inline const QString kInventoryFile = QStringLiteral("Inventaire.orv");
// Held in the data directory while a Vendalise works on its files.
inline const QString kLockFile = QStringLiteral("Vendalise.verrou");

// The files whose content the tables in memory mirror.
inline const QStringList kTableFiles = {kProductFile, kMemberFile, kLedgerFile, kMaterialLedgerFile,
                                        kDrinksLedgerFile};

// A value of the settings store: its section and key.
struct SettingName {
    QString section;
    QString key;
};

inline const SettingName kAccessActiveSetting{QStringLiteral("Psw"), QStringLiteral("PswActif")};
inline const SettingName kPasswordSetting{QStringLiteral("Psw"), QStringLiteral("Psw")};
// Read as "dir", written as "Dir": keys are matched without regard to case.
inline const SettingName kDataDirectorySetting{QStringLiteral("DirFichiersGestion"),
                                               QStringLiteral("dir")};
inline const SettingName kChosenDirectorySetting{QStringLiteral("DirFichiersGestion"),
                                                 QStringLiteral("Dir")};
// The folder of the backup copies.
inline const SettingName kBackupFolderSetting{QStringLiteral("Sauvegarde"),
                                              QStringLiteral("Dossier")};
inline const SettingName kThresholdSetting{QStringLiteral("SeuilCommande"),
                                           QStringLiteral("Seuil")};

} // namespace vendalise
