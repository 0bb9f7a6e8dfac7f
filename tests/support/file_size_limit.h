#pragma once

#include <csignal>
#include <sys/resource.h>

namespace statvane::test {

// For one scope, writing a file beyond the given size fails as on a full disk
// (with EFBIG where a full disk gives ENOSPC): the process's soft file size
// limit, with SIGXFSZ ignored so that the write fails instead of ending the
// process.
class ScopedFileSizeLimit {
  public:
    explicit ScopedFileSizeLimit(rlim_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

  private:
    struct rlimit oldLimit_ {};
    struct sigaction oldAction_ {};
};

} // namespace statvane::test
