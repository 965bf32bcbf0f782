// Which file a name means: the program's current directory, a spelling
// matched without regard to case. Its part of the contract with the
// write-point roads: nothing here writes, and checkWritable refuses a write
// that would put this run's tables into another folder's files before
// anything is written, so such a refusal leaves every file as it was.

#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dirent.h>
#endif

namespace vendalise {

namespace {

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 128; });
}

// The same name, whatever its case and however its accented letters are
// stored (composed or not); names of ASCII letters are compared at once.
bool sameName(const QString& a, const QString& b) {
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    if (isAscii(a) && isAscii(b))
        return false;
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

#ifdef Q_OS_WIN
QStringList DataFiles::namesIn(const QString& folder) {
    const QString query = QDir::toNativeSeparators(folder + QStringLiteral("/*"));
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(reinterpret_cast<const wchar_t*>(query.utf16()), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    QStringList names;
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The system matches a name without regard to case itself: it is asked for
// the name as it is spelt, then composed and decomposed (an accented letter
// may be stored either way), so that a folder of years of dated copies is
// never listed for a name.
QStringList DataFiles::spellingsIn(const QString& folder, const QString& fileName) const {
    QStringList names;
    QStringList forms{fileName};
    if (!isAscii(fileName))
        forms << fileName.normalized(QString::NormalizationForm_C)
              << fileName.normalized(QString::NormalizationForm_D);
    forms.removeDuplicates();
    for (const QString& form : forms) {
        const QString query = QDir::toNativeSeparators(folder + QLatin1Char('/') + form);
        WIN32_FIND_DATAW found;
        const HANDLE search =
            FindFirstFileExW(reinterpret_cast<const wchar_t*>(query.utf16()), FindExInfoBasic,
                             &found, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
            names.append(QString::fromWCharArray(found.cFileName));
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return names;
}
#else
QStringList DataFiles::namesIn(const QString& folder) {
    QStringList names;
    if (DIR* entries = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* entry = readdir(entries)) {
            const QString name = QFile::decodeName(entry->d_name);
            if (name != QLatin1String(".") && name != QLatin1String(".."))
                names.append(name);
        }
        closedir(entries);
    }
    return names;
}

// A name spelt otherwise than it is stored is found in the folder's
// listing (the system's own, without a look at each entry), listed again
// when the folder or the program changed it. Of the names listed, only
// those that may be this one are given: two names whose first letters are
// different ASCII letters are different names, however their accents are
// stored.
QStringList DataFiles::spellingsIn(const QString& folder, const QString& fileName) const {
    const QDateTime changed = QFileInfo(folder).lastModified();
    if (!listing_ || listing_->folder != folder || listing_->changed != changed) {
        Listing listing{folder, changed, namesIn(folder)};
        listing_ = std::move(listing);
    }
    if (fileName.isEmpty() || fileName[0].unicode() >= 128)
        return listing_->names;
    const QChar first = fileName[0].toCaseFolded();
    QStringList names;
    for (const QString& name : listing_->names)
        if (!name.isEmpty() && (name[0].unicode() >= 128 || name[0].toCaseFolded() == first))
            names.append(name);
    return names;
}
#endif

} // namespace vendalise
