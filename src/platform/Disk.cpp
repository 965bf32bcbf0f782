#include "platform/Disk.h"

#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vendalise {

#ifdef Q_OS_WIN

namespace {

// The system's own description of its last error.
QString lastErrorText() {
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString description = size ? QString::fromWCharArray(text, int(size)).trimmed() : QString();
    LocalFree(text);
    return description;
}

const wchar_t* native(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

} // namespace

void syncToDisk(QFileDevice& file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
        throw FileError(FileError::Kind::Other, file.fileName(),
                        QStringLiteral("Le fichier n'a pas pu être écrit sur le disque : ") +
                            lastErrorText());
}

void renameOver(const QString& from, const QString& to) {
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (!MoveFileExW(native(source), native(target),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileError(FileError::Kind::Other, to,
                        QStringLiteral("Le fichier n'a pas pu être remplacé : ") + lastErrorText());
}

void syncFolder(const QString&) {}

void syncEverything() {}

#else

void syncToDisk(QFileDevice& file) {
    if (::fdatasync(file.handle()) != 0)
        throw FileError(FileError::Kind::Other, file.fileName(),
                        QString::fromLocal8Bit(std::strerror(errno)));
}

void renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw FileError(FileError::Kind::Other, to, QString::fromLocal8Bit(std::strerror(errno)));
}

void syncFolder(const QString& folder) {
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        const QString description = QString::fromLocal8Bit(std::strerror(errno));
        if (descriptor >= 0)
            ::close(descriptor);
        throw FileError(FileError::Kind::Other, folder, description);
    }
    ::close(descriptor);
}

void syncEverything() {
    ::sync();
}

#endif

} // namespace vendalise
