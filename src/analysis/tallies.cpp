#include "analysis/tallies.h"

#include "analysis/log_fields.h"
#include "platform/ascii.h"

#include <algorithm>

namespace statvane {
namespace {

constexpr std::size_t kShortestReferrer = 3;
constexpr std::size_t kShortestBrowser = 6;

// Runs one pass over the lines with a check point after each; the running
// count is the table's number of rows.
template <typename CountLine>
bool passOverLines(const LogLines& lines, const TallyTable& table, CheckPoints& checkPoints,
                   CountLine&& countLine) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        countLine(lines[i]);
        const bool last = i + 1 == lines.size();
        if (!checkPoints.pass([&] { return std::to_string(table.size()); }, last))
            return false;
    }
    return true;
}

bool containsAny(std::string_view text, const std::vector<std::string>& filters) {
    return std::any_of(filters.begin(), filters.end(), [text](const std::string& filter) {
        return text.find(filter) != std::string_view::npos;
    });
}

void lowerInto(std::string_view text, std::string& lowered) {
    lowered.assign(text);
    for (char& c : lowered)
        c = ascii::toLower(c);
}

} // namespace

bool tallyReferrers(const LogLines& lines, AnalysisResult& result,
                    const std::vector<std::string>& filters, CheckPoints& checkPoints,
                    int progressStep) {
    result.referrers.clear();
    checkPoints.startStep("Tallying Referrer Sites...", progressStep);
    std::string key;
    return passOverLines(lines, result.referrers, checkPoints, [&](std::string_view line) {
        const auto referrer = referrerOf(line);
        if (!referrer)
            return;
        lowerInto(*referrer, key);
        if (key.size() >= kShortestReferrer && !containsAny(key, filters))
            result.referrers.tally(key);
    });
}

bool tallyPages(const LogLines& lines, AnalysisResult& result, const std::string& webSite,
                CheckPoints& checkPoints, int progressStep) {
    result.topPages.clear();
    checkPoints.startStep("Calculating Top Pages...", progressStep);
    std::string key;
    return passOverLines(lines, result.topPages, checkPoints, [&](std::string_view line) {
        const auto path = requestPathOf(line);
        if (!path)
            return;
        key = webSite;
        if (*path != "/" && !path->empty())
            key += '/';
        key += *path;
        if (!key.empty())
            result.topPages.tally(key);
    });
}

void filterPages(AnalysisResult& result, const std::vector<std::string>& filters) {
    for (const auto& filter : filters) {
        result.topPages.removeIf(
            [&filter](const TallyRow& row) { return row.key.find(filter) != std::string::npos; });
    }
}

bool tallyBrowsers(const LogLines& lines, AnalysisResult& result, CheckPoints& checkPoints,
                   int progressStep) {
    result.browsers.clear();
    checkPoints.startStep("Gathering Browser Types...", progressStep);
    auto& table = result.browsers;
    return passOverLines(lines, table, checkPoints, [&](std::string_view line) {
        const auto browser = browserOf(line);
        if (!browser)
            return;
        if (const auto row = table.find(*browser))
            table.increment(*row);
        else if (browser->size() >= kShortestBrowser)
            table.append(*browser);
    });
}

} // namespace statvane
