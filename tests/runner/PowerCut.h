#pragma once

#include "platform/DataFiles.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace vendalise::testing {

// What a power cut leaves of the folders a road writes in (the data
// directory, the backup folder), from the write operations the program
// announced through the file seam. A file keeps its content as of its last
// sync; a creation, a rename or a removal is undone unless its folder was
// synced after it. A folder's own rename is taken as on the disk at once
// (the program syncs the folder it lands in right after). Files outside the
// folders, and hidden folders below them (a home's settings), are not
// followed.
class PowerCut {
public:
    // The folders, and their files as they are on the disk when counting
    // begins.
    explicit PowerCut(const QStringList& roots);

    // The operation about to be made (the seam asks before each).
    void record(FileOp op, const QString& path);
    // The files whose latest change is not yet on the disk.
    QStringList unsynced();
    // Rewrites the folders as a power cut now would leave them.
    void apply();

    // Every file below `folder` but in hidden folders, by path from it.
    static QStringList filesBelow(const QString& folder);

private:
    struct File {
        std::optional<QByteArray> durable; // nullopt: no such name on the disk
        bool created = false;              // the name is new, its folder not synced
        bool renamedInto = false;          // replaced by a rename, folder not synced
        bool renamedAway = false;          // the source of a rename, folder not synced
        bool removed = false;              // removed, folder not synced
        bool dirty = false;                // written since its last sync
        std::optional<QByteArray> synced;  // its content at its last sync
    };
    // By path; none for a path outside the folders.
    File* file(const QString& path);
    bool followed(const QString& path) const;
    QStringList filesNow() const;
    // A rename is looked at once made: a file's, or a folder's.
    void settleRename();
    void renameFile(const QString& target, const QString& source);
    void moveFolder(const QString& target);

    QStringList roots_;
    QHash<QString, QByteArray> atStart_; // by path
    QHash<QString, File> files_;         // by path
    QString lastSynced_;
    QString renaming_;         // the target of the rename asked last
    QStringList beforeRename_; // the files of its folder then
};

} // namespace vendalise::testing
