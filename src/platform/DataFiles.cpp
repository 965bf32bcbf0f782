#include "platform/DataFiles.h"

#include "platform/Cp1252.h"
#include "platform/Disk.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRandomGenerator>

namespace vendalise {

FileError::FileError(Kind kind, const QString& file, const QString& description)
    : std::runtime_error((file + QStringLiteral(": ") + description).toStdString()), kind_(kind),
      file_(file), description_(description) {}

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.normalized(QString::NormalizationForm_C)
               .compare(b.normalized(QString::NormalizationForm_C), Qt::CaseInsensitive) == 0;
}

// Windows matches file names without regard to case; Linux tells them apart.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kFileSystemCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kFileSystemCase = Qt::CaseSensitive;
#endif

bool sameFolder(const QString& a, const QString& b) {
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), kFileSystemCase) == 0;
}

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
// disk and renames the file over `target`; returns what `target` held.
// Failures are asked for as `faultPath`'s, the rename as the target's.
Former writeAndRenameOver(const DataFiles& files, QFile& file, const QString& faultPath,
                          const QString& target, const QByteArray& bytes) {
    files.checkFault(FileOp::Write, faultPath);
    writeAll(file, bytes);
    files.checkFault(FileOp::Flush, faultPath);
    if (!file.flush())
        throwIoError(file);
    syncWritten(files, file);
    file.close();
    files.checkFault(FileOp::Rename, target);
    Former former = formerOf(target);
    renameOver(file.fileName(), target);
    return former;
}

// Writes the bytes at `at`, flushes them and puts them on the disk.
void writeAt(const DataFiles& files, QFile& file, qint64 at, QByteArrayView bytes) {
    if (!file.seek(at))
        throwIoError(file);
    files.checkFault(FileOp::Write, file.fileName());
    writeAll(file, bytes);
    files.checkFault(FileOp::Flush, file.fileName());
    if (!file.flush())
        throwIoError(file);
    syncWritten(files, file);
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

} // namespace

Records::Records(QByteArray bytes, int recordLength, qint64 fileRecords)
    : bytes_(std::move(bytes)), recordLength_(recordLength),
      count_(static_cast<int>(bytes_.size() / recordLength)), fileRecords_(fileRecords) {}

QByteArrayView Records::record(int n) const {
    Q_ASSERT(n >= 1 && n <= count_);
    return QByteArrayView(bytes_).sliced(qsizetype(n - 1) * recordLength_, recordLength_);
}

RecordFile::RecordFile(const DataFiles& files, const QString& name, int recordLength)
    : files_(files), recordLength_(recordLength) {
    files.checkWritable(name);
    file_.setFileName(files.path(name));
    files.checkFault(FileOp::OpenWrite, file_.fileName());
    // Unbuffered, so that a write that fails is seen at once and cannot
    // reach the disk later, when the file is closed.
    openCreating(files, file_, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

int RecordFile::count() const {
    return static_cast<int>(std::min<qint64>(file_.size() / recordLength_, INT_MAX));
}

QByteArray RecordFile::read(int n) {
    if (n < 1 || n > count())
        throw FileError(FileError::Kind::Other, file_.fileName(),
                        QStringLiteral("Enregistrement %1 absent").arg(n));
    if (!file_.seek(qint64(n - 1) * recordLength_))
        throwIoError(file_);
    QByteArray record = file_.read(recordLength_);
    if (record.size() != recordLength_)
        throwIoError(file_);
    return record;
}

void RecordFile::write(int n, QByteArrayView record) {
    Q_ASSERT(record.size() == recordLength_);
    const qint64 at = qint64(n - 1) * recordLength_;
    if (n < 1 || !file_.seek(at))
        throwIoError(file_);
    // A rewrite that fails puts the former record back.
    const QByteArray former = file_.read(recordLength_);
    try {
        writeAt(files_, file_, at, record);
    } catch (const FileError&) {
        if (file_.seek(at) && file_.write(former) == former.size())
            file_.flush();
        if (former.size() < recordLength_)
            file_.resize(at + former.size());
        syncQuietly(file_);
        throw;
    }
}

int RecordFile::append(QByteArrayView record) {
    Q_ASSERT(record.size() == recordLength_);
    const int n = count() + 1;
    const qint64 at = qint64(n - 1) * recordLength_;
    // A partial record at the end is written over; a failure puts it back.
    QByteArray tail;
    if (file_.size() > at && file_.seek(at))
        tail = file_.readAll();
    try {
        writeAtEnd(files_, file_, at, record);
    } catch (const FileError&) {
        if (!tail.isEmpty() && file_.seek(at) && file_.write(tail) == tail.size()) {
            file_.flush();
            syncQuietly(file_);
        }
        throw;
    }
    appendedAt_ = at;
    tail_ = std::move(tail);
    return n;
}

void RecordFile::takeBack() {
    if (appendedAt_ < 0)
        return;
    files_.checkFault(FileOp::Resize, file_.fileName());
    if (!file_.resize(appendedAt_))
        throwIoError(file_);
    if (!tail_.isEmpty()) {
        if (!file_.seek(appendedAt_))
            throwIoError(file_);
        writeAll(file_, tail_);
    }
    syncWritten(files_, file_);
    appendedAt_ = -1;
    tail_.clear();
}

bool DataFiles::setCurrent(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    current_ = QDir::cleanPath(info.absoluteFilePath());
    return true;
}

QString DataFiles::path(const QString& name) const {
    const QString full = QDir::isAbsolutePath(name) || current_.isEmpty()
                             ? name
                             : current_ + QLatin1Char('/') + name;
    const QFileInfo info(full);
    const QString fileName = info.fileName();
    // Where the system itself ignores case, an existing file may still be
    // spelt otherwise: the stored spelling is looked up all the same.
    if (fileName.isEmpty() || (info.exists() && kFileSystemCase == Qt::CaseSensitive))
        return full;
    const QDir dir = info.dir();
    if (!dir.exists())
        return full;
    // Of several spellings (possible where names differ by case), the first
    // in code order, whatever order the folder lists them in.
    QString found;
    QDirIterator entries(dir.path(),
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString entry = entries.fileName();
        if (sameName(entry, fileName) && (found.isEmpty() || entry < found))
            found = entry;
    }
    return found.isEmpty() ? full : full.left(full.size() - fileName.size()) + found;
}

void DataFiles::checkWritable(const QString& name) const {
    if (tablesFolder_.isEmpty() || sameFolder(tablesFolder_, current_))
        return;
    const QString bare = QFileInfo(name).fileName();
    for (const QString& table : tableFiles_) {
        if (sameName(table, bare))
            throw FileError(FileError::Kind::Elsewhere, path(name),
                            QStringLiteral("Les données en mémoire viennent du répertoire ") +
                                QDir::toNativeSeparators(tablesFolder_) +
                                QStringLiteral(".\r\nRelancez le programme pour travailler dans ") +
                                QDir::toNativeSeparators(current_) + QStringLiteral("."));
    }
}

void DataFiles::checkReadable(const QString& name) const {
    QFile file(path(name));
    checkFault(FileOp::OpenRead, file.fileName());
    openOrThrow(file, QIODevice::ReadOnly);
}

void DataFiles::ensureFile(const QString& name) const {
    QFile file(path(name));
    openForReading(*this, file);
}

Records DataFiles::readRecords(const QString& name, int recordLength, int maxRecords,
                               QByteArray storage) const {
    QFile file(path(name));
    openForReading(*this, file);
    const qint64 fileRecords = file.size() / recordLength;
    const qint64 wanted = std::min<qint64>(fileRecords, maxRecords) * recordLength;
    QByteArray bytes = std::move(storage);
    bytes.resize(wanted);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file.read(bytes.data() + got, wanted - got);
        if (n <= 0)
            break;
        got += n;
    }
    QByteArray partial;
    if (got == wanted && fileRecords <= maxRecords)
        partial = file.read(recordLength);
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    bytes.truncate(got);
    Records records(std::move(bytes), recordLength, fileRecords);
    records.setPartial(std::move(partial));
    return records;
}

QByteArray DataFiles::readText(const QString& name) const {
    QFile file(path(name));
    checkFault(FileOp::OpenRead, file.fileName());
    openOrThrow(file, QIODevice::ReadOnly);
    if (file.size() > kMaxTextBytes)
        throw FileError(FileError::Kind::Other, file.fileName(),
                        QStringLiteral("Le fichier est trop volumineux (%1 octets) pour être lu")
                            .arg(file.size()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    return bytes;
}

QStringList DataFiles::readLines(const QString& name, qint64* bytesRead) const {
    const QByteArray bytes = readText(name);
    QStringList lines;
    forEachLine(bytes, [&](QByteArrayView line) { lines.append(fromCp1252(line)); });
    if (bytesRead)
        *bytesRead = bytes.isEmpty() || bytes.endsWith("\r\n") ? bytes.size() : -1;
    return lines;
}

qint64 DataFiles::appendText(const QString& name, QStringView text) const {
    checkWritable(name);
    QFile file(path(name));
    checkFault(FileOp::OpenWrite, file.fileName());
    openCreating(*this, file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const qint64 before = file.size();
    writeAtEnd(*this, file, before, toCp1252(text));
    return before;
}

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
    saveWhole(destination, readText(name));
}

// Writes a whole file through a temporary file in its folder, put on the
// disk, then renamed over the file, whose folder is then put on the disk.
void DataFiles::saveWhole(const QString& target, const QByteArray& bytes) const {
    checkRegular(target);
    if (!QFileInfo(target).dir().exists())
        throw FileError(FileError::Kind::Missing, target, QStringLiteral("Chemin introuvable"));
    checkFault(FileOp::OpenWrite, target);
    QFile file;
    openTemporaryBeside(file, target);
    Former former;
    try {
        // The new file is readable as the one it replaces was.
        const QFileInfo existing(target);
        if (existing.exists())
            file.setPermissions(existing.permissions());
        former = writeAndRenameOver(*this, file, target, target, bytes);
    } catch (const FileError&) {
        file.close();
        file.remove();
        throw;
    }
    syncRenamed(*this, target, former);
}

void DataFiles::cutBack(const QString& name, qint64 length) const {
    checkWritable(name);
    QFile file(path(name));
    checkFault(FileOp::Resize, file.fileName());
    openOrThrow(file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!file.resize(length))
        throwIoError(file);
    syncWritten(*this, file);
}

void DataFiles::replaceThrough(const QString& temporary, const QString& name,
                               const QByteArray& bytes) const {
    checkWritable(name);
    const QString target = path(name);
    const QString staging = path(temporary);
    checkRegular(target);
    checkRegular(staging);
    QFile file(staging);
    Former former;
    try {
        checkFault(FileOp::OpenWrite, staging);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            throwOpenError(staging, file);
        former = writeAndRenameOver(*this, file, staging, target, bytes);
    } catch (const FileError&) {
        // A temporary file that cannot be removed is harmless: the next
        // replacement writes over it.
        file.close();
        if (!fault(FileOp::Remove, staging))
            QFile::remove(staging);
        throw;
    }
    syncRenamed(*this, target, former);
}

std::optional<QString> DataFiles::fault(FileOp op, const QString& path) const {
    if (!faults_)
        return std::nullopt;
    return faults_(op, path);
}

void DataFiles::checkFault(FileOp op, const QString& path) const {
    if (const std::optional<QString> description = fault(op, path))
        throw FileError(FileError::Kind::Other, path, *description);
}

} // namespace vendalise
