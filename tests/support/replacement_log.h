#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace statvane::test {

// Sees every rename of a test program linked with the statvane_replacement_log
// library, which routes rename here: the files put in place, named by their
// last part, in order. One at a time.
class ReplacementLog {
  public:
    ReplacementLog();
    ~ReplacementLog();
    ReplacementLog(const ReplacementLog&) = delete;
    ReplacementLog& operator=(const ReplacementLog&) = delete;

    const std::vector<std::string>& files() const;
};

// Runs `work` in a child process that is killed right after its
// `renames`-th rename; true when it was killed there, false when it ended
// before.
bool runKilledAfterRenames(std::size_t renames, const std::function<void()>& work);

} // namespace statvane::test
