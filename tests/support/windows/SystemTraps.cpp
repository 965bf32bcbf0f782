#include "SystemTraps.h"

#include <windows.h>

#include <cstdlib>

namespace vendalise::testing {

std::optional<QString> makeNamedPipe(const QString&) {
    return QStringLiteral("Windows has no named pipe inside a folder");
}

struct FileSizeLimit::Saved {};

FileSizeLimit::FileSizeLimit(std::int64_t) {
    unavailable_ = QStringLiteral("Windows has no file size limit per process");
}

FileSizeLimit::~FileSizeLimit() = default;

void killThisProcess() {
    // The exit code a killed process has on Linux, for the scripts that read it.
    TerminateProcess(GetCurrentProcess(), 137);
    std::_Exit(137);
}

} // namespace vendalise::testing
