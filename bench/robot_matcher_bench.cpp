// Times telling robots' agents in a log: the agent of each line (the text
// between its last two double quotes) is matched against the shipped robot
// list, then against PATTERNS (100,000) generated patterns, a tenth of them
// wildcards. Prints the build time, the nanoseconds per line, the lines
// matched (each agent matched, then verdicts remembered by RobotVerdicts)
// and the process's peak resident memory.
#include "analysis/robot_matcher.h"
#include "analysis/robot_patterns.h"
#include "analysis/robot_verdicts.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> agentsOf(const char* log) {
    std::vector<std::string> agents;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        const auto close = line.rfind('"');
        const auto open = close == std::string::npos || close == 0 ? std::string::npos
                                                                   : line.rfind('"', close - 1);
        agents.push_back(open == std::string::npos ? std::string()
                                                   : line.substr(open + 1, close - open - 1));
    }
    return agents;
}

// Robot-like names: a random word of letters and digits, and its version.
std::vector<std::string> generatedPatterns(std::size_t count) {
    std::mt19937 random(1);
    std::vector<std::string> patterns;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        for (std::size_t length = 5 + random() % 10; name.size() < length;)
            name +=
                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_"[random() % 64];
        patterns.push_back(i % 10 == 0 ? "*" + name + "/?.*" : name + "bot");
    }
    return patterns;
}

void time(const char* what, const std::vector<std::string>& patterns,
          const std::vector<std::string>& agents) {
    auto start = Clock::now();
    const statvane::RobotMatcher matcher(patterns);
    const double build = secondsSince(start);
    start = Clock::now();
    std::size_t matched = 0;
    for (const auto& agent : agents)
        matched += matcher.matches(agent);
    const double match = secondsSince(start);
    start = Clock::now();
    statvane::RobotVerdicts verdicts(matcher);
    std::size_t remembered = 0;
    for (const auto& agent : agents)
        remembered += verdicts.isRobot(agent);
    const double recall = secondsSince(start);
    std::printf("%s: %zu patterns, built in %.3f s; %zu lines, %.1f ns a line, %zu robots; "
                "with verdicts remembered %.1f ns a line, %zu robots\n",
                what, patterns.size(), build, agents.size(), match * 1e9 / double(agents.size()),
                matched, recall * 1e9 / double(agents.size()), remembered);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LOG ROBOTS.LIST [PATTERNS]\n", argv[0]);
        return 2;
    }
    const auto agents = agentsOf(argv[1]);
    std::vector<std::string> shipped;
    if (const auto notice = statvane::readRobotList(argv[2], true, shipped)) {
        std::fprintf(stderr, "%s\n", notice->c_str());
        return 1;
    }
    time("shipped list", shipped, agents);
    time("generated", generatedPatterns(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 100000),
         agents);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
