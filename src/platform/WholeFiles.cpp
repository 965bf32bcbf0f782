// Whole files replaced and copied in one step. Its part of the contract
// with the write-point roads: the new content goes into a temporary file
// of its own (or the ledger's named one), which is written, put on the
// disk and renamed over the file, whose folder is then put on the disk; a
// failure before the rename removes the temporary file and leaves the file
// as it was; a folder that cannot be synced after the rename puts the
// former content back. So a crash or a power cut leaves the former file or
// the new one, never a part of either.

#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Disk.h"
#include "platform/FileSteps.h"

#include <QDir>
#include <QFileInfo>

namespace vendalise {

namespace {

// What a file held before a replacement, to put it back when the new name
// cannot be put on the disk after the rename.
struct Former {
    bool existed = false;
    bool read = false;
    QByteArray bytes;
};

Former formerOf(const QString& target) {
    Former former;
    QFile file(target);
    former.existed = file.exists();
    if (former.existed && file.open(QIODevice::ReadOnly)) {
        former.bytes = file.readAll();
        former.read = file.error() == QFileDevice::NoError;
    }
    return former;
}

// Puts the former content back in one step, as far as it goes.
void putBack(const QString& target, const Former& former) {
    if (!former.existed) {
        QFile::remove(target);
    } else if (former.read) {
        QFile file;
        openTemporaryBeside(file, target);
        file.setPermissions(QFileInfo(target).permissions());
        if (file.write(former.bytes) == former.bytes.size() && file.flush()) {
            syncToDisk(file);
            file.close();
            renameOver(file.fileName(), target);
        } else {
            file.close();
            file.remove();
        }
    }
    syncFolder(QFileInfo(target).absolutePath());
}

// After a rename over `target`: puts its folder on the disk, or, when that
// fails, the former content back.
void syncRenamed(const DataFiles& files, const QString& target, const Former& former) {
    try {
        syncFolderOf(files, target);
    } catch (const FileError&) {
        takeBackQuietly([&] { putBack(target, former); });
        throw;
    }
}

// Writes the whole bytes into the open temporary file, puts them on the
// disk, checks the file when asked (`check`, which throws to refuse it) and
// renames it over `target`; returns what `target` held. Failures are asked
// for as `faultPath`'s, the rename as the target's.
Former writeAndRenameOver(const DataFiles& files, QFile& file, const QString& faultPath,
                          const QString& target, const QByteArray& bytes,
                          const std::function<void()>& check = {}) {
    writeFlushedSynced(files, file, faultPath, bytes);
    file.close();
    if (check)
        check();
    files.checkFault(FileOp::Rename, target);
    Former former = formerOf(target);
    renameOver(file.fileName(), target);
    return former;
}

// Opens a new temporary file beside `target`, which must be a regular file
// (or none) of a folder that exists.
void openTemporaryFor(const DataFiles& files, QFile& file, const QString& target) {
    checkRegular(target);
    if (!QFileInfo(target).dir().exists())
        throw FileError(FileError::Kind::Missing, target, QStringLiteral("Chemin introuvable"));
    files.checkFault(FileOp::OpenWrite, target);
    openTemporaryBeside(file, target);
}

} // namespace

void DataFiles::replaceText(const QString& name, QStringView text) const {
    replaceFile(name, toCp1252(text));
}

void DataFiles::replaceFile(const QString& name, const QByteArray& bytes) const {
    checkWritable(name);
    saveWhole(path(name), bytes);
}

void DataFiles::copyFile(const QString& name, const QString& target) const {
    const QString source = path(name);
    const QString destination = path(target);
    const QFileInfo sourceInfo(source);
    const QFileInfo destinationInfo(destination);
    if (sourceInfo.exists() && destinationInfo.exists() &&
        sourceInfo.canonicalFilePath() == destinationInfo.canonicalFilePath())
        throw FileError(FileError::Kind::Other, destination,
                        QStringLiteral("La copie serait le fichier lui-même"));
    checkFault(FileOp::Copy, destination);
    const QByteArray bytes = readText(name);
    // The copy is read back under its temporary name and compared with its
    // source before it takes its own: one that differs never replaces the
    // copy before it, and is removed.
    saveWhole(destination, bytes, [&](const QString& temporary) {
        checkFault(FileOp::ReadBack, destination);
        QFile written(temporary);
        openOrThrow(written, QIODevice::ReadOnly);
        const QByteArray read = written.read(bytes.size() + 1);
        if (written.error() != QFileDevice::NoError)
            throwIoError(written);
        if (read != bytes)
            throw FileError(FileError::Kind::Other, destination,
                            QStringLiteral("La copie relue diffère de son original"));
    });
}

// Writes a whole file through a temporary file in its folder, put on the
// disk, then renamed over the file, whose folder is then put on the disk.
void DataFiles::saveWhole(const QString& target, const QByteArray& bytes,
                          const std::function<void(const QString& temporary)>& check) const {
    QFile file;
    openTemporaryFor(*this, file, target);
    Former former;
    try {
        // The new file is readable as the one it replaces was.
        const QFileInfo existing(target);
        if (existing.exists())
            file.setPermissions(existing.permissions());
        std::function<void()> checkWritten;
        if (check)
            checkWritten = [&] { check(file.fileName()); };
        former = writeAndRenameOver(*this, file, target, target, bytes, checkWritten);
    } catch (const FileError&) {
        file.close();
        file.remove();
        throw;
    }
    syncRenamed(*this, target, former);
}

void DataFiles::stageThrough(const QString& temporary, const QString& name,
                             const QByteArray& bytes) const {
    checkWritable(name);
    const QString staging = path(temporary);
    checkRegular(path(name));
    checkRegular(staging);
    try {
        writeSynced(*this, staging, bytes);
        // Its name too: what the staged file's presence says survives a
        // power cut.
        syncFolderOf(*this, staging);
    } catch (const FileError&) {
        // A temporary file that cannot be removed is harmless: the next
        // replacement writes over it.
        if (!fault(FileOp::Remove, staging))
            QFile::remove(staging);
        throw;
    }
}

void DataFiles::replaceByStaged(const QString& temporary, const QString& name) const {
    checkWritable(name);
    const QString target = path(name);
    const QString staging = path(temporary);
    checkFault(FileOp::Rename, target);
    const Former former = formerOf(target);
    renameOver(staging, target);
    syncRenamed(*this, target, former);
}

void DataFiles::replaceThrough(const QString& temporary, const QString& name,
                               const QByteArray& bytes) const {
    stageThrough(temporary, name, bytes);
    try {
        replaceByStaged(temporary, name);
    } catch (const FileError&) {
        const QString staging = path(temporary);
        if (QFileInfo::exists(staging) && !fault(FileOp::Remove, staging))
            QFile::remove(staging);
        throw;
    }
}

void DataFiles::saveThrough(const QString& target,
                            const std::function<void(const QString& temporary)>& write) const {
    QFile file;
    openTemporaryFor(*this, file, target);
    file.close();
    Former former;
    try {
        write(file.fileName());
        checkFault(FileOp::Write, target);
        openOrThrow(file, QIODevice::ReadWrite);
        syncWritten(*this, file);
        file.close();
        checkFault(FileOp::Rename, target);
        former = formerOf(target);
        renameOver(file.fileName(), target);
    } catch (const FileError&) {
        file.close();
        file.remove();
        throw;
    }
    syncRenamed(*this, target, former);
}

QString DataFiles::makeFolder(const QString& name) const {
    const QString folder = path(name);
    const QFileInfo info(folder);
    if (info.isDir())
        return folder;
    if (info.exists())
        throw FileError(FileError::Kind::Other, folder,
                        QStringLiteral("Un fichier porte le nom de ce dossier"));
    checkFault(FileOp::OpenWrite, folder);
    if (!QDir().mkdir(folder))
        throw FileError(FileError::Kind::Other, folder,
                        QStringLiteral("Le dossier n'a pas pu être créé"));
    try {
        syncFolderOf(*this, folder);
    } catch (const FileError&) {
        QDir().rmdir(folder);
        throw;
    }
    return folder;
}

void DataFiles::renameFile(const QString& from, const QString& to) const {
    if (QFileInfo::exists(to))
        throw FileError(FileError::Kind::Other, to, QStringLiteral("Ce fichier existe déjà"));
    checkFault(FileOp::Rename, to);
    renameOver(from, to);
    try {
        syncFolderOf(*this, to);
    } catch (const FileError&) {
        takeBackQuietly([&] { renameOver(to, from); });
        throw;
    }
}

void DataFiles::removeFile(const QString& path) const {
    if (!QFileInfo::exists(path))
        return;
    checkFault(FileOp::Remove, path);
    if (!QFile::remove(path))
        throw FileError(FileError::Kind::Other, path,
                        QStringLiteral("Le fichier n'a pas pu être supprimé"));
    syncFolderOf(*this, path);
}

} // namespace vendalise
