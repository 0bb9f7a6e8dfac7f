#include "support/replacement_log.h"

#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern "C" int __real_rename(const char* from, const char* to);

namespace statvane::test {
namespace {

struct Recording {
    bool on = false;
    std::vector<std::string> files;
    std::size_t killAfter = 0; // 0: never
};

Recording recording;

} // namespace

ReplacementLog::ReplacementLog() {
    if (recording.on)
        throw std::logic_error("one replacement log at a time");
    recording = Recording{true, {}, 0};
}

ReplacementLog::~ReplacementLog() {
    recording.on = false;
}

const std::vector<std::string>& ReplacementLog::files() const {
    return recording.files;
}

bool runKilledAfterRenames(std::size_t renames, const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        ReplacementLog log;
        recording.killAfter = renames;
        try {
            work();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace statvane::test

extern "C" int __wrap_rename(const char* from, const char* to) {
    using statvane::test::recording;
    const int result = __real_rename(from, to);
    if (result == 0 && recording.on) {
        recording.files.push_back(std::filesystem::path(to).filename().string());
        if (recording.files.size() == recording.killAfter)
            ::kill(::getpid(), SIGKILL);
    }
    return result;
}
