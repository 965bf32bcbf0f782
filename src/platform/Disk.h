#pragma once

#include <QFileDevice>
#include <QString>

namespace vendalise {

// What the file system is asked beyond reading and writing: putting data on
// the disk and replacing one file by another in one step. Both throw
// FileError with the system's description.

// Puts a file's written data on the disk (fdatasync; FlushFileBuffers on
// Windows), so that a power cut cannot lose it.
void syncToDisk(QFileDevice& file);

// Renames a file over another in one step, replacing it; on Windows the
// rename itself is written through to the disk.
void renameOver(const QString& from, const QString& to);

// Puts a folder's names on the disk, so that a file created in it or
// renamed into it is still there after a power cut (Linux; on Windows the
// file system journals names and a rename is written through).
void syncFolder(const QString& folder);

// Asks the system to write out everything it holds for any file, where it
// offers that to an ordinary user (not on Windows). For measurements.
void syncEverything();

} // namespace vendalise
