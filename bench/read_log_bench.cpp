// Times readLogFile on one log: the best of several runs with a warm cache,
// and the memory the lines take against the file's size.
#include "analysis/log_lines.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Reading as a run does, check points included, with nobody to press Cancel.
class UnwatchedRun : public statvane::RunObserver {
  public:
    void showProgress() override {}
    void setBusy(bool) override {}
    void closeProgress() override {}
    void setStepText(const std::string&) override {}
    void advanceProgress(int) override {}
    void setCount(const std::string&) override {}
    bool cancelRequested() override { return false; }
    void processEvents() override {}
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LOG [RUNS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    double best = 1e9;
    std::size_t lineCount = 0;
    std::size_t memory = 0;
    UnwatchedRun observer;
    for (int run = 0; run < runs; ++run) {
        statvane::LogLines lines;
        statvane::CheckPoints checks(observer, 1);
        const auto start = std::chrono::steady_clock::now();
        const auto read = statvane::readLogFile(file, lines, checks);
        if (read.status != statvane::LogFileRead::Status::Read) {
            std::fprintf(stderr, "cannot read %s: %s\n", file.c_str(), read.reason.c_str());
            return 1;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        lineCount = lines.size();
        memory = lines.memoryUsed();
    }
    const auto size = std::filesystem::file_size(file);
    std::printf("lines %zu  file %.1f MB  best %.4f s  memory %.1f MB (file + %.1f bytes/line)\n",
                lineCount, size / 1e6, best, memory / 1e6,
                lineCount ? double(memory - size) / double(lineCount) : 0.0);
    return 0;
}
