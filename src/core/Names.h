#pragma once

#include <QString>
#include <QStringList>

// The one place for the names of the data files (the settings are in
// core/Settings.h).
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

} // namespace vendalise
