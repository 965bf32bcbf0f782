#include "SystemTraps.h"

#include <QFile>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace vendalise::testing {

std::optional<QString> makeNamedPipe(const QString& path) {
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return std::nullopt;
}

struct FileSizeLimit::Saved {
    rlimit limit{};
    void (*handler)(int) = nullptr;
};

FileSizeLimit::FileSizeLimit(std::int64_t bytes) : saved_(new Saved) {
    // A write past the limit then fails with EFBIG instead of killing.
    saved_->handler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &saved_->limit);
    rlimit limit = saved_->limit;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        unavailable_ = QString::fromLocal8Bit(std::strerror(errno));
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_->limit);
    std::signal(SIGXFSZ, saved_->handler);
    delete saved_;
}

void killThisProcess() {
    ::raise(SIGKILL);
    std::_Exit(137);
}

} // namespace vendalise::testing
