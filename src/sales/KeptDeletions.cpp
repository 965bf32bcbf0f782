#include "sales/KeptDeletions.h"

#include "core/Names.h"
#include "platform/DataFiles.h"

#include <QFileInfo>

namespace vendalise {

namespace {

QString deletionBase() {
    return QFileInfo(kLedgerFile).completeBaseName();
}

} // namespace

QList<KeptFile> keptDeletions(const DataFiles& files) {
    return keptFiles(files, deletionBase());
}

QString replaceLedgerKeeping(const DataFiles& files, const QByteArray& kept,
                             const QByteArray& removed, QDate today) {
    if (removed.isEmpty()) {
        files.replaceThrough(kLedgerTemporaryFile, kLedgerFile, kept);
        return {};
    }
    files.checkWritable(kLedgerFile);
    const QByteArray former = files.readText(kLedgerFile);
    files.stageThrough(kLedgerTemporaryFile, kLedgerFile, kept);
    return keepWith(
        files, deletionBase(), today,
        {[&](const QString& pending) { files.replaceFile(pending, removed); },
         [&] { files.replaceByStaged(kLedgerTemporaryFile, kLedgerFile); },
         [&] { files.replaceFile(kLedgerFile, former); },
         QStringLiteral("Les lignes supprimées n'ont pas pu être gardées dans le dossier « ") +
             kKeptFolder + QStringLiteral(" » : "),
         [&] { files.removeFile(files.path(kLedgerTemporaryFile)); }});
}

void completeDeletions(const DataFiles& files) {
    const bool settled = settlePending(files, deletionBase(), [&](const QString&) {
        return !QFileInfo::exists(files.path(kLedgerTemporaryFile));
    });
    // A ledger staged for a deletion that did not happen goes once no
    // pending file is left for its presence to speak for.
    if (settled)
        takeBackQuietly([&] { files.removeFile(files.path(kLedgerTemporaryFile)); });
}

} // namespace vendalise
