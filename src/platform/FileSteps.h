#pragma once

#include "platform/DataFiles.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

// The steps of the operations on data files, shared by the files that
// implement DataFiles and RecordFile (FileSteps.cpp says what each does).
namespace vendalise {

// Opening: a file that is not a regular one is refused, a failure to open
// becomes the matching FileError, a file created has its folder synced.
void checkRegular(const QString& path);
[[noreturn]] void throwOpenError(const QString& path, const QFile& file);
[[noreturn]] void throwIoError(const QFileDevice& file);
void openOrThrow(QFile& file, QIODevice::OpenMode mode);
void openCreating(const DataFiles& files, QFile& file, QIODevice::OpenMode mode);
void openForReading(const DataFiles& files, QFile& file);
void openTemporaryBeside(QFile& file, const QString& target);

// Writing and putting on the disk.
void writeAll(QFileDevice& file, QByteArrayView bytes);
void writeAt(const DataFiles& files, QFile& file, qint64 at, QByteArrayView bytes);
void writeAtEnd(const DataFiles& files, QFile& file, qint64 at, QByteArrayView bytes);
void syncWritten(const DataFiles& files, QFile& file);
// Writes the bytes where the file stands, flushes them and puts them on the
// disk; the faults a test plants are looked for under `faultPath`.
void writeFlushedSynced(const DataFiles& files, QFile& file, const QString& faultPath,
                        QByteArrayView bytes);
// Writes a file of a fixed name whole (replacing one there), flushed and
// put on the disk, then closes it.
void writeSynced(const DataFiles& files, const QString& path, QByteArrayView bytes);
void syncQuietly(QFile& file);
void syncFolderOf(const DataFiles& files, const QString& path);

} // namespace vendalise
