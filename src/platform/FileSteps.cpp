// The steps that every operation on a data file is made of: opening,
// writing at a place, putting on the disk. Its part of the contract with
// the write-point roads: each step that writes asks the fault seam first
// (DataFiles::checkFault), so that a road can fail it, or kill the program
// or cut the power right after it; a step that wrote is put on the disk
// (syncWritten) before the operation goes on; and an append that fails is
// cut back before its failure is thrown.

#include "platform/FileSteps.h"

#include "platform/Disk.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace vendalise {

FileError::FileError(Kind kind, const QString& file, const QString& description)
    : std::runtime_error((file + QStringLiteral(": ") + description).toStdString()), kind_(kind),
      file_(file), description_(description) {}

// Refuses what is there but is not a regular file: a folder, a named pipe
// or a device would fail or block when opened.
void checkRegular(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.isDir())
        throw FileError(FileError::Kind::Other, path,
                        QStringLiteral("Un dossier porte le nom de ce fichier"));
    if (!info.isFile())
        throw FileError(FileError::Kind::Other, path,
                        QStringLiteral("Ce n'est pas un fichier ordinaire"));
}

// Turns a failed open into the matching error.
[[noreturn]] void throwOpenError(const QString& path, const QFile& file) {
    const QFileInfo info(path);
    if (info.fileName().isEmpty())
        throw FileError(FileError::Kind::Missing, path, QStringLiteral("Nom de fichier incorrect"));
    if (!info.exists()) {
        if (!info.dir().exists())
            throw FileError(FileError::Kind::Missing, path, QStringLiteral("Chemin introuvable"));
        throw FileError(FileError::Kind::Missing, path, QStringLiteral("Fichier introuvable"));
    }
    checkRegular(path);
    throw FileError(FileError::Kind::Other, path, file.errorString());
}

void openOrThrow(QFile& file, QIODevice::OpenMode mode) {
    checkRegular(file.fileName());
    if (!file.open(mode))
        throwOpenError(file.fileName(), file);
}

// Puts the names of the folder of `path` on the disk.
void syncFolderOf(const DataFiles& files, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    files.checkFault(FileOp::SyncFolder, folder);
    syncFolder(folder);
}

// Opens a file that may be missing: it is then created, and its name put on
// the disk with its folder.
void openCreating(const DataFiles& files, QFile& file, QIODevice::OpenMode mode) {
    const bool existed = file.exists();
    openOrThrow(file, mode);
    if (!existed)
        syncFolderOf(files, file.fileName());
}

// A missing file is created; an existing one, even read-only, is only read.
void openForReading(const DataFiles& files, QFile& file) {
    files.checkFault(FileOp::OpenRead, file.fileName());
    if (file.exists())
        openOrThrow(file, QIODevice::ReadOnly);
    else
        openCreating(files, file, QIODevice::ReadWrite);
}

// Puts what was written of the file on the disk.
void syncWritten(const DataFiles& files, QFile& file) {
    files.checkFault(FileOp::Sync, file.fileName());
    syncToDisk(file);
}

void writeFlushedSynced(const DataFiles& files, QFile& file, const QString& faultPath,
                        QByteArrayView bytes) {
    files.checkFault(FileOp::Write, faultPath);
    writeAll(file, bytes);
    files.checkFault(FileOp::Flush, faultPath);
    if (!file.flush())
        throwIoError(file);
    syncWritten(files, file);
}

void writeSynced(const DataFiles& files, const QString& path, QByteArrayView bytes) {
    QFile file(path);
    files.checkFault(FileOp::OpenWrite, path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throwOpenError(path, file);
    writeFlushedSynced(files, file, path, bytes);
}

// Puts a take-back on the disk too, as far as it goes: the failure before it
// is the one told.
void syncQuietly(QFile& file) {
    takeBackQuietly([&] { syncToDisk(file); });
}

[[noreturn]] void throwIoError(const QFileDevice& file) {
    throw FileError(FileError::Kind::Other, file.fileName(), file.errorString());
}

// Opens a new temporary file of its own beside `target` (a plain QFile, so
// that it is closed for certain before it is renamed on Windows).
void openTemporaryBeside(QFile& file, const QString& target) {
    for (int attempt = 0;; ++attempt) {
        file.setFileName(target + QStringLiteral(".") +
                         QString::number(QRandomGenerator::global()->generate(), 36));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return;
        // Another name is tried only when this one was taken.
        if (!file.exists() || attempt == 20)
            throwIoError(file);
    }
}

void writeAll(QFileDevice& file, QByteArrayView bytes) {
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        throwIoError(file);
}

// Writes the bytes at `at`, flushes them and puts them on the disk.
void writeAt(const DataFiles& files, QFile& file, qint64 at, QByteArrayView bytes) {
    if (!file.seek(at))
        throwIoError(file);
    writeFlushedSynced(files, file, file.fileName(), bytes);
}

// Takes a failed append back: the file returns to its former length.
void writeAtEnd(const DataFiles& files, QFile& file, qint64 at, QByteArrayView bytes) {
    try {
        writeAt(files, file, at, bytes);
    } catch (const FileError&) {
        file.resize(at);
        syncQuietly(file);
        throw;
    }
}

} // namespace vendalise
