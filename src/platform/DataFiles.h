#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>

namespace vendalise {

// A data file could not be used. Missing covers a file or folder that does
// not exist and a name that cannot be a file; Elsewhere is a write refused
// because the tables in memory come from another folder than the current
// directory; Other is any other failure (permissions, a folder where a file
// should be, a full disk, a file too large...).
class FileError : public std::runtime_error {
public:
    enum class Kind { Missing, Elsewhere, Other };
    FileError(Kind kind, const QString& file, const QString& description);
    Kind kind() const { return kind_; }
    const QString& file() const { return file_; }
    const QString& description() const { return description_; }

private:
    Kind kind_;
    QString file_;
    QString description_;
};

// A record file already holds as many records as its table can: nothing was
// written.
class TableFull : public std::runtime_error {
public:
    explicit TableFull(const QString& file)
        : std::runtime_error(file.toStdString() + " is full"), file_(file) {}
    const QString& file() const { return file_; }

private:
    QString file_;
};

// A whole file of fixed-length records, as read in one go.
class Records {
public:
    Records(QByteArray bytes, int recordLength, qint64 fileRecords);
    // The records read.
    int count() const { return count_; }
    // The whole records the file holds, which may be more than were read.
    qint64 fileRecords() const { return fileRecords_; }
    // Record n, counted from 1.
    QByteArrayView record(int n) const;
    // The records read, end to end.
    const QByteArray& bytes() const { return bytes_; }
    QByteArray takeBytes() && { return std::move(bytes_); }
    // The bytes of a partial record after the last whole one, when every
    // whole record was read; a rewrite of the whole file keeps them.
    const QByteArray& partial() const { return partial_; }
    void setPartial(QByteArray bytes) { partial_ = std::move(bytes); }

private:
    QByteArray bytes_;
    QByteArray partial_;
    int recordLength_;
    int count_;
    qint64 fileRecords_;
};

// Undoes a write made before a failure. A failure of the undoing itself is
// dropped: the first failure is the one the user is told.
template <class Undo> void takeBackQuietly(Undo undo) {
    try {
        undo();
    } catch (const FileError&) {
    }
}

class DataFiles;

// The operations on data files that can fail. A test can make one of them
// fail through DataFiles::setFaults. Copy is the reading of a copy's
// source; Remove the removal of a temporary file after a failure; Sync puts
// a file's data on the disk, SyncFolder a folder's names (the path is then
// the folder's). OpenRead, the opening of a file to read it, and ReadBack,
// the reading back of what a write made or replaces (a copy compared with
// its source, a record before it is rewritten), are the ones that do not
// write.
enum class FileOp {
    OpenWrite,
    Write,
    Flush,
    Resize,
    Rename,
    Remove,
    Copy,
    Sync,
    SyncFolder,
    OpenRead,
    ReadBack
};
// Returns the description of a failure to simulate, or nullopt.
using FileFaults = std::function<std::optional<QString>(FileOp op, const QString& path)>;

// A file of fixed-length records opened for one operation that writes:
// read and write single records, append after the last whole record, or
// take an append back. A missing file is created empty. The file is closed
// when the object goes.
class RecordFile {
public:
    RecordFile(const DataFiles& files, const QString& name, int recordLength);
    int count() const;
    QByteArray read(int n);
    // Writes record n; a write that fails puts the former record back.
    void write(int n, QByteArrayView record);
    // Writes the record after the last whole one and returns its number.
    // An append that fails halfway is taken back.
    int append(QByteArrayView record);
    // Takes the last append back: the file is again exactly as before it.
    void takeBack();

private:
    const DataFiles& files_;
    QFile file_;
    int recordLength_;
    // Where the last append wrote, and the partial record it wrote over.
    qint64 appendedAt_ = -1;
    QByteArray tail_;
};

// The program's data files: every name is taken in the program's current
// directory (unless it holds a folder of its own) and matched without
// regard to case, so that an existing file of any spelling is the one used
// and a new file takes the spelling it is created with.
//
// The current directory is a value of the program, not of the process:
// start-up and the data directory chooser set it. The folder the tables
// were read from is kept too: a write to a table's file while the current
// directory is another folder is refused before anything is written, since
// it would put this run's tables into another folder's files.
class DataFiles {
public:
    // Text files larger than this are refused rather than read whole.
    static constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024;

    // The current directory, an absolute path ("" before one is set).
    const QString& current() const { return current_; }
    // Makes an existing folder current and returns true; anything else
    // leaves the current directory as it was and returns false.
    bool setCurrent(const QString& folder);

    // The files that mirror a table, and the folder their tables come from.
    void setTableFiles(const QStringList& names) { tableFiles_ = names; }
    void tablesReadHere() { tablesFolder_ = current_; }
    const QString& tablesFolder() const { return tablesFolder_; }

    // The full path of a data file, matched without regard to case.
    QString path(const QString& name) const;
    // Throws Elsewhere when writing this file would mix two folders.
    void checkWritable(const QString& name) const;

    // Opens the file for reading and closes it at once: it must exist.
    void checkReadable(const QString& name) const;
    // Creates the file empty if it is missing; an existing file is left as is.
    void ensureFile(const QString& name) const;
    // At most maxRecords records of the file; a missing file is created empty.
    // The records are read into `storage` when it is not shared and has the
    // room, so that a file read again and again is not allocated each time.
    Records readRecords(const QString& name, int recordLength, int maxRecords,
                        QByteArray storage = {}) const;
    // cp1252 text split at CR LF; the file must exist. bytesRead, when
    // given, gets the number of bytes the lines were read from, or -1 when
    // the text does not end with CR LF (the next append would join its last
    // line).
    QStringList readLines(const QString& name, qint64* bytesRead = nullptr) const;
    // The bytes of a text file, which must exist.
    QByteArray readText(const QString& name) const;
    // Calls line(view) for each line of cp1252 text (split at CR LF).
    template <class Line> static void forEachLine(const QByteArray& bytes, Line line) {
        qsizetype start = 0;
        while (start < bytes.size()) {
            qsizetype end = bytes.indexOf("\r\n", start);
            if (end < 0)
                end = bytes.size();
            line(QByteArrayView(bytes).sliced(start, end - start));
            start = end + 2;
        }
    }
    // Appends the text in one write; a failed append is taken back. The file
    // is created if missing. Returns the file's length before the append.
    qint64 appendText(const QString& name, QStringView text) const;
    // Cuts a file back to its first `length` bytes: an append taken back.
    void cutBack(const QString& name, qint64 length) const;
    // Writes the bytes into the file `temporary` (replacing one left there),
    // then renames it over the file `name` in one step. A failure removes the
    // temporary file and leaves `name` as it was.
    void replaceThrough(const QString& temporary, const QString& name,
                        const QByteArray& bytes) const;
    // replaceThrough in its two steps, for a replacement that goes with
    // other writes: the temporary file written whole, put on the disk with
    // its folder's names (a failure removes it), then renamed over `name`
    // in one step, its folder put on the disk (the former content put back
    // when that fails). Until the rename, the staged file's presence says
    // that `name` was not replaced.
    void stageThrough(const QString& temporary, const QString& name,
                      const QByteArray& bytes) const;
    void replaceByStaged(const QString& temporary, const QString& name) const;
    // Replaces a whole file through a temporary file and a rename, so that a
    // crash leaves either the old or the new content.
    void replaceFile(const QString& name, const QByteArray& bytes) const;
    void replaceText(const QString& name, QStringView text) const;
    // Copies a data file byte for byte to `target` (a path of its own,
    // matched without regard to case), replacing it in one step, so that an
    // interrupted copy never leaves half a file under the target's name.
    // The copy is read back under its temporary name and compared with its
    // source before it takes the target's name: one that differs is a failed
    // copy, removed, and the former target stays. Copying a file onto itself
    // fails.
    void copyFile(const QString& name, const QString& target) const;

    // Saves a file that another writer makes (a path of its own): `write`
    // writes it whole under the temporary name it is given, and throws
    // FileError when it cannot; the file is then put on the disk and renamed
    // over `target`. A failure removes the temporary file and leaves
    // `target` as it was.
    void saveThrough(const QString& target,
                     const std::function<void(const QString& temporary)>& write) const;
    // Replaces several files (paths of their own) together, all or nothing:
    // each is written whole under its temporary name and put on the disk;
    // the former files of those names are then moved aside, the new ones
    // renamed into place, and the former ones removed. A failure puts the
    // former files back and leaves no temporary file. A crash leaves the
    // former set or the new set whole (under their names, temporary or
    // aside); the next replacement of those names first sweeps what it left.
    struct NewFile {
        QString path;
        QByteArray bytes;
    };
    void replaceTogether(const QList<NewFile>& newFiles) const;
    // Creates a folder of the current directory, its name put on the disk,
    // unless it exists; returns its path, matched without regard to case.
    QString makeFolder(const QString& name) const;
    // Renames a file (a path of its own) to a name that is free, in one
    // step, and puts its folder on the disk.
    void renameFile(const QString& from, const QString& to) const;
    // Removes a file (a path of its own) and puts its folder on the disk; a
    // missing file is not a failure.
    void removeFile(const QString& path) const;

    // The names in a folder, files and folders, as the system lists them
    // (without a look at each): cheap for a folder of thousands of files.
    static QStringList namesIn(const QString& folder);

    // Simulated failures, for tests: each write operation asks first.
    void setFaults(FileFaults faults) { faults_ = std::move(faults); }
    // Throws the simulated failure of this operation, if there is one.
    void checkFault(FileOp op, const QString& path) const;
    // The description of the simulated failure of this operation, if any.
    std::optional<QString> fault(FileOp op, const QString& path) const;

private:
    // `check`, when given, is called with the temporary file once it is on
    // the disk, and throws to refuse it before the rename.
    void saveWhole(const QString& target, const QByteArray& bytes,
                   const std::function<void(const QString& temporary)>& check = {}) const;
    // The names of `folder` that may be spellings of `fileName`.
    QStringList spellingsIn(const QString& folder, const QString& fileName) const;

    // The last listing of a folder, kept while the folder is unchanged (its
    // time of change, and no write of the program since), so that years of
    // dated copies are not listed again for each name that does not exist.
    struct Listing {
        QString folder;
        QDateTime changed;
        QStringList names;
    };
    mutable std::optional<Listing> listing_;

    FileFaults faults_;
    QString current_;
    QString tablesFolder_;
    QStringList tableFiles_;
};

} // namespace vendalise
