#include "support/file_size_limit.h"

#include <stdexcept>

namespace statvane::test {

ScopedFileSizeLimit::ScopedFileSizeLimit(rlim_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &oldAction_);
    ::getrlimit(RLIMIT_FSIZE, &oldLimit_);
    struct rlimit limit = oldLimit_;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot limit the file size");
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
    ::sigaction(SIGXFSZ, &oldAction_, nullptr);
}

} // namespace statvane::test
