#include "PowerCut.h"

#include <QDir>
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

} // namespace

PowerCut::PowerCut(QString folder, QHash<QString, QByteArray> files)
    : folder_(QDir::cleanPath(std::move(folder))), atStart_(std::move(files)) {}

PowerCut::File* PowerCut::file(const QString& path) {
    const QFileInfo info(path);
    if (QDir::cleanPath(info.absolutePath()) != folder_)
        return nullptr;
    const QString name = info.fileName();
    auto it = files_.find(name);
    if (it == files_.end()) {
        File added;
        if (atStart_.contains(name))
            added.durable = atStart_.value(name);
        else
            added.created = true;
        it = files_.insert(name, added);
    }
    return &*it;
}

void PowerCut::record(FileOp op, const QString& path) {
    if (op == FileOp::SyncFolder) {
        if (QDir::cleanPath(path) != folder_)
            return;
        // Names made without a write of their own (a file created empty by a
        // read) are on the disk from now on.
        const QDir folder(folder_);
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
            if (!files_.contains(name) && !atStart_.contains(name)) {
                File made;
                made.durable = contentOf(folder.filePath(name));
                files_.insert(name, made);
            }
        }
        for (File& f : files_) {
            if (f.renamedAway)
                f.durable.reset();
            else if (f.created || f.renamedInto)
                f.durable = f.synced.value_or(QByteArray());
            f.created = f.renamedInto = f.renamedAway = false;
        }
        return;
    }
    File* f = file(path);
    if (!f)
        return;
    switch (op) {
    case FileOp::Write:
    case FileOp::Resize:
        f->dirty = true;
        break;
    case FileOp::Sync: {
        // Asked before the sync, after the writes: what is there is synced.
        f->synced = contentOf(path).value_or(QByteArray());
        f->dirty = false;
        if (!f->created && !f->renamedInto)
            f->durable = f->synced;
        lastSynced_ = QFileInfo(path).fileName();
        break;
    }
    case FileOp::Rename: {
        // The file renamed is the temporary one synced last in the folder
        // (new, or staged with its name put on the disk); unsynced, its
        // content would not survive.
        File* source = lastSynced_.isEmpty() ? nullptr : &files_[lastSynced_];
        if (source && (source == f || (!source->created && atStart_.contains(lastSynced_))))
            source = nullptr;
        const bool whole = source && !source->dirty;
        f->synced = whole ? source->synced : QByteArray();
        // The name now holds the renamed file: what was written to the
        // former one no longer counts, what was written to it does.
        if (source)
            f->dirty = source->dirty;
        f->renamedInto = true;
        if (source)
            source->renamedAway = true;
        break;
    }
    default:
        break;
    }
}

QStringList PowerCut::unsynced() const {
    QStringList names;
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        const File& f = it.value();
        if (f.dirty || f.renamedInto || (f.created && !f.renamedAway))
            names.append(it.key());
    }
    names.sort();
    return names;
}

void PowerCut::apply() const {
    const QDir folder(folder_);
    QStringList names = folder.entryList(QDir::Files | QDir::Hidden);
    names += atStart_.keys();
    names += files_.keys();
    names.removeDuplicates();
    for (const QString& name : names) {
        std::optional<QByteArray> left;
        if (files_.contains(name)) {
            const File& f = files_.value(name);
            left = f.durable;
        } else if (atStart_.contains(name)) {
            left = atStart_.value(name);
        } // else made since, never synced: its name is lost
        const QString path = folder.filePath(name);
        if (!left) {
            QFile::remove(path);
            continue;
        }
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(*left);
    }
}

} // namespace vendalise::testing
