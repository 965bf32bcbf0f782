#pragma once

#include "platform/DataFiles.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace vendalise::testing {

// What a power cut leaves of a data folder, from the write operations the
// program announced through the file seam. A file keeps its content as of
// its last sync; a creation or a rename is undone unless its folder was
// synced after it. Files outside the folder are not followed.
class PowerCut {
public:
    // The folder and its files as they were when counting began, taken as
    // on the disk.
    PowerCut(QString folder, QHash<QString, QByteArray> files);

    // The operation about to be made (the seam asks before each).
    void record(FileOp op, const QString& path);
    // The files of the folder whose latest change is not yet on the disk.
    QStringList unsynced() const;
    // Rewrites the folder as a power cut now would leave it.
    void apply() const;

private:
    struct File {
        std::optional<QByteArray> durable; // nullopt: no such name on the disk
        bool created = false;              // the name is new, its folder not synced
        bool renamedInto = false;          // replaced by a rename, folder not synced
        bool renamedAway = false;          // the source of a rename, folder not synced
        bool dirty = false;                // written since its last sync
        std::optional<QByteArray> synced;  // its content at its last sync
    };
    File* file(const QString& path);

    QString folder_;
    QHash<QString, QByteArray> atStart_;
    QHash<QString, File> files_; // by name in the folder
    QString lastSynced_;
};

} // namespace vendalise::testing
