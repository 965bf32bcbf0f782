// Which file a name means: the program's current directory, a spelling
// matched without regard to case. Its part of the contract with the
// write-point roads: nothing here writes, and checkWritable refuses a write
// that would put this run's tables into another folder's files before
// anything is written, so such a refusal leaves every file as it was.

#include "platform/DataFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace vendalise {

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

} // namespace

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

} // namespace vendalise
