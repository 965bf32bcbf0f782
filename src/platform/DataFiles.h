#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace vendalise {

// A data file could not be used. Missing covers a file or folder that does
// not exist and a name that cannot be a file; Other is any other failure
// (permissions, a folder where a file should be, a full disk...).
class FileError : public std::runtime_error {
public:
    enum class Kind { Missing, Other };
    FileError(Kind kind, const QString& file, const QString& description);
    Kind kind() const { return kind_; }
    const QString& file() const { return file_; }
    const QString& description() const { return description_; }

private:
    Kind kind_;
    QString file_;
    QString description_;
};

// Every data file is named relative to the current directory (or with a
// folder in front) and its name is matched without regard to case: an
// existing file of any spelling is the one used, a new file takes the
// spelling it is created with.
QString resolvePath(const QString& path);

// Opens the file for reading and closes it at once: it must exist.
void checkReadable(const QString& path);

// Creates the file empty if it is missing; an existing file is left unchanged.
void ensureFile(const QString& path);

// A whole file of fixed-length records, read in one go. A missing file is
// created empty. A partial record at the end is ignored.
class Records {
public:
    Records(QByteArray bytes, int recordLength);
    int count() const { return count_; }
    // Record n, counted from 1.
    QByteArrayView record(int n) const;

private:
    QByteArray bytes_;
    int recordLength_;
    int count_;
};
Records readRecords(const QString& path, int recordLength);

// A file of fixed-length records opened for one operation: read and write
// single records, append after the last whole record. A missing file is
// created empty. The file is closed when the object goes.
class RecordFile {
public:
    RecordFile(const QString& path, int recordLength);
    int count() const;
    QByteArray read(int n);
    void write(int n, QByteArrayView record);
    // Writes the record after the last whole one and returns its number.
    int append(QByteArrayView record);

private:
    QFile file_;
    int recordLength_;
};

// cp1252 text with CR LF line ends.
QStringList readLines(const QString& path);             // the file must exist
void appendText(const QString& path, QStringView text); // created if missing
void replaceText(const QString& path, QStringView text);
// Replaces a whole file through a temporary file, so that a crash leaves
// either the old or the new content.
void replaceFile(const QString& path, const QByteArray& bytes);

} // namespace vendalise
