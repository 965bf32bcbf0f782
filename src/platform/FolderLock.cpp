#include "platform/FolderLock.h"

#include <QLockFile>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vendalise {

FolderLock::FolderLock() = default;

FolderLock::~FolderLock() {
    release();
}

FolderLock::Outcome FolderLock::take(const QString& path) {
    release();
    auto lock = std::make_unique<QLockFile>(path);
    // Held for the whole run: only a dead holder makes a lock stale, never
    // its age.
    lock->setStaleLockTime(0);
    Outcome outcome;
    if (lock->tryLock(0)) {
        outcome.state = State::Held;
        lock_ = std::move(lock);
        return outcome;
    }
    switch (lock->error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString application;
        outcome.state = State::HeldElsewhere;
        lock->getLockInfo(&pid, &outcome.host, &application);
        break;
    }
    case QLockFile::PermissionError:
        outcome.description = QStringLiteral("Le fichier de verrou ne peut pas être créé dans ce "
                                             "répertoire (accès refusé)");
        break;
    default:
        outcome.description = QStringLiteral("Le fichier de verrou n'a pas pu être créé");
        break;
    }
    return outcome;
}

QString FolderLock::thisComputer() {
#ifdef Q_OS_WIN
    // The NetBIOS name, as Qt's lock file writes it on Windows.
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &size))
        return QString::fromWCharArray(name, int(size));
#endif
    return QSysInfo::machineHostName();
}

void FolderLock::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

} // namespace vendalise
