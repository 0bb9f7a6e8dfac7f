#include "profiles/report_profile.h"

#include "platform/ascii.h"

#include <array>

namespace statvane {
namespace {

constexpr std::array<std::string_view, 3> kRobotChoices = {"Include", "Exclude", "Only"};

} // namespace

std::string_view robotChoiceText(RobotChoice choice) {
    return kRobotChoices[static_cast<std::size_t>(choice)];
}

RobotChoice robotChoiceOf(std::string_view text) {
    for (std::size_t choice = 0; choice < kRobotChoices.size(); ++choice)
        if (ascii::equalsIgnoringCase(text, kRobotChoices[choice]))
            return static_cast<RobotChoice>(choice);
    return RobotChoice::Include;
}

} // namespace statvane
