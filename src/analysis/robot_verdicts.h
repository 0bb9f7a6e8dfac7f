#pragma once

#include "analysis/robot_matcher.h"

#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The robot matcher's verdicts on the agents one thread met last: a log
// repeats a few agents over most of its lines, and looking one up costs a
// fraction of matching it. One a thread; the matcher is shared.
class RobotVerdicts {
  public:
    explicit RobotVerdicts(const RobotMatcher& matcher);

    bool isRobot(std::string_view agent);

  private:
    struct Verdict {
        std::string agent;
        bool known = false;
        bool robot = false;
    };

    const RobotMatcher& matcher_;
    // One place for each agent, by its hash; a new agent takes it over.
    std::vector<Verdict> verdicts_;
};

} // namespace statvane
