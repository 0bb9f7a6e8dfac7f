#include "analysis/robot_verdicts.h"

#include "analysis/tally_table.h"

namespace statvane {

namespace {
constexpr std::size_t kVerdicts = 4096;
}

RobotVerdicts::RobotVerdicts(const RobotMatcher& matcher)
    : matcher_(matcher), verdicts_(kVerdicts) {}

bool RobotVerdicts::isRobot(std::string_view agent) {
    Verdict& verdict = verdicts_[TallyTable::hashOf(agent) % kVerdicts];
    if (!verdict.known || verdict.agent != agent) {
        verdict.agent.assign(agent);
        verdict.known = true;
        verdict.robot = matcher_.matches(agent);
    }
    return verdict.robot;
}

} // namespace statvane
