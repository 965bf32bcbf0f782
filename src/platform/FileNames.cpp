// Which file a name means: the program's current directory, a spelling
// matched without regard to case. Its part of the contract with the
// write-point roads: nothing here writes, and checkWritable refuses a write
// that would put this run's tables into another folder's files before
// anything is written, so such a refusal leaves every file as it was.

#include "platform/DataFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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
    for (const QString& entry : spellingsIn(dir.path(), fileName))
        if (sameName(entry, fileName) && (found.isEmpty() || entry < found))
            found = entry;
    return found.isEmpty() ? full : full.left(full.size() - fileName.size()) + found;
}

#ifdef Q_OS_WIN
namespace {

// The names of the folder that the system matches with `pattern`.
QStringList namesMatching(const QString& folder, const QString& pattern) {
    const QString query = QDir::toNativeSeparators(folder + QLatin1Char('/') + pattern);
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(reinterpret_cast<const wchar_t*>(query.utf16()), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, 0);
    QStringList names;
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.append(QString::fromWCharArray(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

// The system matches a name without regard to case itself: it is asked for
// the name as it is stored, so that a folder of years of dated copies is not
// listed for each name. A name with letters beyond ASCII that it does not
// find may be stored composed otherwise: those letters are then left to a
// wildcard.
QStringList DataFiles::spellingsIn(const QString& folder, const QString& fileName) const {
    QStringList names = namesMatching(folder, fileName);
    if (!names.isEmpty())
        return names;
    QString pattern;
    for (const QChar c : fileName) {
        if (c.unicode() < 128)
            pattern += c;
        else if (!pattern.endsWith(QLatin1Char('*')))
            pattern += QLatin1Char('*');
    }
    return pattern == fileName ? names : namesMatching(folder, pattern);
}
#else
namespace {

// The spelling under which names that are the same name are one.
QString nameKey(const QString& name) {
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace

// A name spelt otherwise than it is stored is found in the folder's
// listing, listed again when the folder or the program changed it.
QStringList DataFiles::spellingsIn(const QString& folder, const QString& fileName) const {
    const QDateTime changed = QFileInfo(folder).lastModified();
    if (!listing_ || listing_->folder != folder || listing_->changed != changed) {
        Listing listing{folder, changed, {}};
        QDirIterator entries(folder,
                             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            entries.next();
            const QString name = entries.fileName();
            listing.names[nameKey(name)].append(name);
        }
        listing_ = std::move(listing);
    }
    return listing_->names.value(nameKey(fileName));
}
#endif

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
