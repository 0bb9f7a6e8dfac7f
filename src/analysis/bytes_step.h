#pragma once

#include "analysis/analysis_result.h"
#include "analysis/check_points.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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

// The header lines of a page's HEAD response, or nothing when the request
// failed.
using HeadAnswer = std::optional<std::vector<std::string>>;

// Sends the bytes step's HEAD requests; the HTTP client fills it.
class HeadRequester {
  public:
    // Takes one page's answer (the page's index in the list of addresses);
    // false stops the requests.
    using Answered = std::function<bool(std::size_t page, const HeadAnswer& answer)>;

    virtual ~HeadRequester() = default;
    virtual void setProxy(const ProxySettings& proxy) = 0;
    // Requests every address and calls `answered` once for each page that
    // got an answer, in any order, never from inside another call of it (it
    // may let events run). Returns when every page is answered, when
    // `answered` returns false, on Cancel, or when the requester gives up on
    // a site that stopped answering: pages without an answer then count as
    // failed requests. A requester that asks one page at a time answers them
    // in order.
    virtual void requestHeads(const std::vector<std::string>& urls, const Answered& answered) = 0;
};

// The size in the first header line that contains "Content-Length", taken
// from its 17th character; 0 when there is none, it is not an integer or it
// is negative.
std::int32_t contentLengthOf(const std::vector<std::string>& headerLines);

// Asks the site for the size of every counted page and adds count times size
// to the six byte figures (set even when the total is 0), in table order
// whatever the order of the answers, passing a page's check point once it
// and every page before it are answered. False when cancelled.
bool measureBytes(AnalysisResult& result, HeadRequester& requester, const ProxySettings& proxy,
                  CheckPoints& checkPoints, int progressStep);

} // namespace statvane
