#include "PowerCut.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace vendalise::testing {

namespace {

std::optional<QByteArray> contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString parentOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace

QStringList PowerCut::filesBelow(const QString& folder) {
    const QDir top(folder);
    QStringList names;
    QDirIterator below(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (below.hasNext()) {
        const QString name = top.relativeFilePath(below.next());
        if (!name.startsWith(QLatin1Char('.')) && !name.contains(QStringLiteral("/.")))
            names.append(name);
    }
    names.sort();
    return names;
}

PowerCut::PowerCut(const QStringList& roots) {
    for (const QString& root : roots) {
        roots_.append(QDir::cleanPath(root));
        for (const QString& name : filesBelow(root)) {
            const QString path = roots_.last() + QLatin1Char('/') + name;
            atStart_.insert(path, contentOf(path).value_or(QByteArray()));
        }
    }
}

bool PowerCut::followed(const QString& path) const {
    for (const QString& root : roots_) {
        if (path == root)
            return true;
        if (path.startsWith(root + QLatin1Char('/'))) {
            const QString below = path.mid(root.size());
            return !below.contains(QStringLiteral("/."));
        }
    }
    return false;
}

QStringList PowerCut::filesNow() const {
    QStringList paths;
    for (const QString& root : roots_)
        for (const QString& name : filesBelow(root))
            paths.append(root + QLatin1Char('/') + name);
    return paths;
}

PowerCut::File* PowerCut::file(const QString& given) {
    const QString path = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    if (!followed(path) || roots_.contains(path))
        return nullptr;
    auto it = files_.find(path);
    if (it == files_.end()) {
        File added;
        if (atStart_.contains(path))
            added.durable = atStart_.value(path);
        else
            added.created = true;
        it = files_.insert(path, added);
    }
    return &*it;
}

void PowerCut::record(FileOp op, const QString& path) {
    settleRename();
    if (op == FileOp::SyncFolder) {
        const QString folder = QDir::cleanPath(path);
        if (!followed(folder))
            return;
        // Names made without a write of their own (a file created empty by a
        // read) are on the disk from now on.
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
            const QString made = dir.filePath(name);
            if (!files_.contains(made) && !atStart_.contains(made)) {
                File f;
                f.durable = contentOf(made);
                files_.insert(made, f);
            }
        }
        for (auto it = files_.begin(); it != files_.end(); ++it) {
            if (parentOf(it.key()) != folder)
                continue;
            File& f = it.value();
            if (f.renamedAway || f.removed)
                f.durable.reset();
            else if (f.created || f.renamedInto)
                f.durable = f.synced.value_or(QByteArray());
            f.created = f.renamedInto = f.renamedAway = f.removed = false;
        }
        return;
    }
    if (op == FileOp::Rename) {
        // What was renamed is seen once it was: a folder, or the file of the
        // target's folder that went.
        renaming_ = path;
        const QFileInfo target(path);
        beforeRename_ = target.dir().entryList(QDir::Files | QDir::Hidden);
        return;
    }
    // Opening a file, or making a folder, leaves nothing a power cut could
    // undo until the folder is synced, which the file's sync or the
    // folder's own sync then tells.
    if (op == FileOp::OpenWrite)
        return;
    File* f = file(path);
    if (!f)
        return;
    switch (op) {
    case FileOp::Write:
    case FileOp::Resize:
        f->dirty = true;
        break;
    case FileOp::Remove:
        f->removed = true;
        break;
    case FileOp::Sync:
        // Asked before the sync, after the writes: what is there is synced.
        f->synced = contentOf(path).value_or(QByteArray());
        f->dirty = false;
        if (!f->created && !f->renamedInto)
            f->durable = f->synced;
        lastSynced_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        break;
    default:
        break;
    }
}

void PowerCut::settleRename() {
    if (renaming_.isEmpty())
        return;
    const QString target = QDir::cleanPath(QFileInfo(renaming_).absoluteFilePath());
    renaming_.clear();
    if (QFileInfo(target).isDir()) {
        moveFolder(target);
        return;
    }
    // The file of the folder that is no longer there; else, from another
    // folder, the temporary file synced last.
    const QDir folder = QFileInfo(target).dir();
    QString source = lastSynced_;
    for (const QString& name : beforeRename_)
        if (!QFileInfo::exists(folder.filePath(name)))
            source = QDir::cleanPath(folder.filePath(name));
    renameFile(target, source);
}

void PowerCut::renameFile(const QString& target, const QString& sourcePath) {
    File* f = file(target);
    if (!f)
        return;
    File* source = sourcePath.isEmpty() ? nullptr : file(sourcePath);
    if (source == f)
        source = nullptr;
    // The name now holds the renamed file, whole if it was synced: what was
    // written to the former one no longer counts, what was written to it
    // does.
    const std::optional<QByteArray> carried =
        source ? (source->synced ? source->synced : source->durable) : std::nullopt;
    f->synced = source && !source->dirty ? carried.value_or(QByteArray()) : QByteArray();
    if (source)
        f->dirty = source->dirty;
    f->renamedInto = true;
    if (source)
        source->renamedAway = true;
}

void PowerCut::moveFolder(const QString& target) {
    // The folder that went is the highest one that a known file was in and
    // that is no longer there; its files are now below the target.
    QStringList known = files_.keys() + atStart_.keys();
    known.removeDuplicates();
    for (const QString& path : known) {
        QString gone;
        for (QString folder = parentOf(path); followed(folder) && !QFileInfo(folder).isDir();
             folder = parentOf(folder))
            gone = folder;
        const QString moved = target + path.mid(gone.size());
        const bool ghost = files_.contains(path) && !files_[path].durable &&
                           !files_[path].created && !files_[path].renamedInto;
        if (gone.isEmpty() || ghost || !QFileInfo::exists(moved))
            continue;
        File f;
        if (files_.contains(path))
            f = files_.take(path);
        else
            f.durable = atStart_.value(path);
        files_.insert(moved, f);
        files_.insert(path, File{}); // its former name is gone
        if (lastSynced_ == path)
            lastSynced_ = moved;
    }
}

QStringList PowerCut::unsynced() {
    settleRename();
    QStringList names;
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        const File& f = it.value();
        if (f.dirty || f.renamedInto || f.removed || (f.created && !f.renamedAway))
            names.append(it.key());
    }
    names.sort();
    return names;
}

void PowerCut::apply() {
    settleRename();
    QStringList paths = filesNow();
    paths += atStart_.keys();
    paths += files_.keys();
    paths.removeDuplicates();
    for (const QString& path : paths) {
        std::optional<QByteArray> left;
        if (files_.contains(path))
            left = files_.value(path).durable;
        else if (atStart_.contains(path))
            left = atStart_.value(path);
        // else made since, never synced: its name is lost
        if (!left) {
            QFile::remove(path);
            continue;
        }
        QDir().mkpath(parentOf(path));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(*left);
    }
}

} // namespace vendalise::testing
