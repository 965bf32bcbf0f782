#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace vendalise {

// A lock file in a folder, held by one running program at a time, on this
// computer or on another one through a shared folder. A lock left by a
// program that died on this computer is taken over.
class FolderLock {
public:
    enum class State { Held, HeldElsewhere, Unavailable };
    struct Outcome {
        State state = State::Unavailable;
        QString host;        // HeldElsewhere: the computer of the holder, if known
        QString description; // Unavailable: why the lock file could not be made
    };

    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock file `path`, giving up any lock held before.
    Outcome take(const QString& path);
    // Gives the lock up, removing its file.
    void release();
    // This computer's name as a lock file records it.
    static QString thisComputer();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace vendalise
