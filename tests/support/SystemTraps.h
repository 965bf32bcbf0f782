#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// What tests ask of the operating system beyond the program's own needs:
// a file that is not a regular file, a disk that fills up, a process killed
// at once. Each system has its own implementation; where a system offers no
// such thing, the function says why, so that the test is skipped with that
// reason.
namespace vendalise::testing {

// Makes a named pipe at `path`. Returns why not, when it could not.
std::optional<QString> makeNamedPipe(const QString& path);

// While the object lives, writes past `bytes` bytes of any file fail, as on
// a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::int64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    // Why the limit is not in force, or nullopt when it is.
    const std::optional<QString>& unavailable() const { return unavailable_; }

private:
    std::optional<QString> unavailable_;
    struct Saved;
    Saved* saved_ = nullptr;
};

// Ends this process at once, as a kill or a power cut would: no destructor
// runs and nothing is flushed.
[[noreturn]] void killThisProcess();

} // namespace vendalise::testing
