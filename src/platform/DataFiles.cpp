#include "platform/DataFiles.h"

#include "platform/Cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vendalise {

FileError::FileError(Kind kind, const QString& file, const QString& description)
    : std::runtime_error((file + QStringLiteral(": ") + description).toStdString()), kind_(kind),
      file_(file), description_(description) {}

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.normalized(QString::NormalizationForm_C)
               .compare(b.normalized(QString::NormalizationForm_C), Qt::CaseInsensitive) == 0;
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
    if (info.isDir())
        throw FileError(FileError::Kind::Other, path,
                        QStringLiteral("Un dossier porte le nom de ce fichier"));
    throw FileError(FileError::Kind::Other, path, file.errorString());
}

void openOrThrow(QFile& file, QIODevice::OpenMode mode) {
    if (!file.open(mode))
        throwOpenError(file.fileName(), file);
}

[[noreturn]] void throwIoError(const QFileDevice& file) {
    throw FileError(FileError::Kind::Other, file.fileName(), file.errorString());
}

void writeAll(QFileDevice& file, QByteArrayView bytes) {
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        throwIoError(file);
}

} // namespace

QString resolvePath(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty() || info.exists())
        return path;
    const QDir dir = info.dir();
    if (!dir.exists())
        return path;
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (sameName(entry, name))
            return path.left(path.size() - name.size()) + entry;
    }
    return path;
}

void checkReadable(const QString& path) {
    QFile file(resolvePath(path));
    openOrThrow(file, QIODevice::ReadOnly);
}

void ensureFile(const QString& path) {
    QFile file(resolvePath(path));
    openOrThrow(file, file.exists() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
}

Records::Records(QByteArray bytes, int recordLength)
    : bytes_(std::move(bytes)), recordLength_(recordLength),
      count_(static_cast<int>(bytes_.size() / recordLength)) {}

QByteArrayView Records::record(int n) const {
    Q_ASSERT(n >= 1 && n <= count_);
    return QByteArrayView(bytes_).sliced(qsizetype(n - 1) * recordLength_, recordLength_);
}

Records readRecords(const QString& path, int recordLength) {
    QFile file(resolvePath(path));
    // A read-only file is still readable; only a missing one needs creating.
    openOrThrow(file, file.exists() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    return Records(std::move(bytes), recordLength);
}

RecordFile::RecordFile(const QString& path, int recordLength)
    : file_(resolvePath(path)), recordLength_(recordLength) {
    openOrThrow(file_, QIODevice::ReadWrite);
}

int RecordFile::count() const {
    return static_cast<int>(file_.size() / recordLength_);
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
    if (n < 1 || !file_.seek(qint64(n - 1) * recordLength_))
        throwIoError(file_);
    writeAll(file_, record);
    if (!file_.flush())
        throwIoError(file_);
}

int RecordFile::append(QByteArrayView record) {
    const int n = count() + 1;
    write(n, record);
    return n;
}

QStringList readLines(const QString& path) {
    QFile file(resolvePath(path));
    openOrThrow(file, QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file);
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            end = bytes.size();
        lines.append(fromCp1252(QByteArrayView(bytes).sliced(start, end - start)));
        start = end + 2;
    }
    return lines;
}

void appendText(const QString& path, QStringView text) {
    QFile file(resolvePath(path));
    openOrThrow(file, QIODevice::WriteOnly | QIODevice::Append);
    writeAll(file, toCp1252(text));
    if (!file.flush())
        throwIoError(file);
}

void replaceText(const QString& path, QStringView text) {
    replaceFile(path, toCp1252(text));
}

void replaceFile(const QString& path, const QByteArray& bytes) {
    const QString target = resolvePath(path);
    const QFileInfo info(target);
    if (info.isDir())
        throw FileError(FileError::Kind::Other, target,
                        QStringLiteral("Un dossier porte le nom de ce fichier"));
    if (!info.dir().exists())
        throw FileError(FileError::Kind::Missing, target, QStringLiteral("Chemin introuvable"));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throwIoError(file);
    writeAll(file, bytes);
    if (!file.commit())
        throwIoError(file);
}

} // namespace vendalise
