#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"

#include <optional>
#include <string>
#include <vector>

namespace statvane {

struct ProxySettings {
    std::string server;
    std::string port;
    std::string userName;
    std::string password;
};

// Sends HEAD requests for the bytes step; the HTTP client fills it.
class HeadRequester {
  public:
    virtual ~HeadRequester() = default;
    virtual void setProxy(const ProxySettings& proxy) = 0;
    // The response's header lines, or nothing when the request failed.
    virtual std::optional<std::vector<std::string>> requestHead(const std::string& url) = 0;
};

// The size in the first header line that contains "Content-Length", taken
// from its 17th character; 0 when there is none or it is not an integer.
std::int32_t contentLengthOf(const std::vector<std::string>& headerLines);

// Asks the site for the size of every counted page and adds count times size
// to the six byte figures (set even when the total is 0). False when
// cancelled.
bool measureBytes(AnalysisResult& result, HeadRequester& requester, const ProxySettings& proxy,
                  CheckPoints& checkPoints, int progressStep);

} // namespace statvane
