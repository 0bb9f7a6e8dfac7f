#pragma once

#include "profiles/report_period.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// How robots' lines count: as any other line, not at all, or alone.
enum class RobotChoice { Include, Exclude, Only };

// As the "Robots" key writes it: "Include", "Exclude", "Only".
std::string_view robotChoiceText(RobotChoice choice);
// Any letter case; anything else reads as Include.
RobotChoice robotChoiceOf(std::string_view text);

// One report's settings as the two profile files hold them.
struct ReportProfile {
    std::string name;
    std::string description;
    bool visitorsList = false;
    bool referrerList = false;
    bool dnsLookup = false;
    bool topPagesList = false;
    bool totalBytes = false;
    bool popularBrowser = false;
    bool saveToFile = false;
    std::string outputFile;
    std::int32_t totalOptions = 0;
    std::string emailAddresses;
    bool emailReport = false;
    std::vector<std::string> inputs;
    // Hits and visitors per day and hour; hits per status code.
    bool trafficOverTime = false;
    bool statusCodes = false;
    // The days of the logs that count; All when the profile names none.
    ReportPeriod period;
    RobotChoice robots = RobotChoice::Include;

    bool operator==(const ReportProfile&) const = default;
};

} // namespace statvane
