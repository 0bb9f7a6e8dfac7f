#pragma once

#include "profiles/report_period.h"

#include <cstdint>
#include <string>
#include <vector>

namespace statvane {

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

    bool operator==(const ReportProfile&) const = default;
};

} // namespace statvane
