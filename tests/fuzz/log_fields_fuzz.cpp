// The pieces of a log line. The input, taken as one line, must give pieces
// that are views into it and stand where their marker characters say. Then a
// combined-layout line is assembled from the input's first five lines (client,
// date, path, referrer, user agent, each freed of the markers that would end
// it early) and every field must come back out as it went in.
#include "analysis/log_fields.h"
#include "analysis/log_time.h"
#include "fuzz_support.h"
#include "platform/ascii.h"

#include <algorithm>
#include <string>

namespace statvane::fuzz {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t offsetIn(std::string_view part, std::string_view line) {
    return static_cast<std::size_t>(part.data() - line.data());
}

void checkVisitor(std::string_view line) {
    const auto visitor = visitorOf(line);
    if (!visitor) {
        require(line.empty() || line.front() == ' ' || line.find(' ') == npos,
                "a line with text before its first blank has a visitor");
        return;
    }
    require(visitor->data() == line.data() && !visitor->empty(),
            "the visitor is a non-empty start of the line");
    require(visitor->find(' ') == npos && line.size() > visitor->size() &&
                line[visitor->size()] == ' ',
            "the visitor ends at the first blank");
}

void checkDate(std::string_view line) {
    const auto date = dateOf(line);
    const auto open = line.find('[');
    if (!date) {
        require(open == npos || line.find(':', open) == npos,
                "a line with a colon after its first [ has a date");
        return;
    }
    require(isViewInto(*date, line), "the date is a view into the line");
    const std::size_t start = offsetIn(*date, line);
    require(start == open + 1, "the date starts after the first [");
    require(date->find(':') == npos && start + date->size() < line.size() &&
                line[start + date->size()] == ':',
            "the date ends at the first colon after the [");
}

void checkReferrerAndBrowser(std::string_view line) {
    const auto browser = browserOf(line);
    const std::size_t quotes = static_cast<std::size_t>(std::count(line.begin(), line.end(), '"'));
    require(browser.has_value() == (quotes >= 4), "the browser text needs four quotes");
    if (browser) {
        require(isViewInto(*browser, line) &&
                    offsetIn(*browser, line) + browser->size() == line.size(),
                "the browser text is the end of the line");
        const std::string_view before = line.substr(0, offsetIn(*browser, line));
        require(std::count(before.begin(), before.end(), '"') == 4 && before.back() == '"',
                "the browser text follows the fourth quote");
    }
    const auto referrer = referrerOf(line);
    if (!referrer)
        return;
    require(isViewInto(*referrer, line), "the referrer is a view into the line");
    const std::size_t start = offsetIn(*referrer, line);
    const std::size_t end = start + referrer->size();
    require(start >= 3 && line[start - 1] == '"' && end < line.size() && line[end] == '"' &&
                referrer->find('"') == npos,
            "the referrer is quoted and holds no quote");
    require(std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(start), '"') >= 3,
            "the referrer follows at least three quotes");
    require(browser && offsetIn(*browser, line) <= end + 1,
            "the browser text starts at the latest after the referrer's closing quote");
}

void checkRequestPath(std::string_view line) {
    const auto path = requestPathOf(line);
    if (!path)
        return;
    require(isViewInto(*path, line), "the path is a view into the line");
    const std::size_t get = line.find("GET");
    const std::size_t start = offsetIn(*path, line);
    const std::size_t end = start + path->size();
    require(get != npos && start >= get + 4, "the path follows the first GET and its blank");
    require(path->find("HTTP") == npos, "the path holds no HTTP");
    const std::size_t http = line.find("HTTP", end);
    require(http == end + 1 || http == end + 2,
            "the path ends before the blank, or the slash and the blank, before HTTP");
}

// A status code is three digits from 100 to 599 that stand in the line after
// a quote and a blank.
void checkStatusCode(std::string_view line) {
    const auto code = statusCodeOf(line);
    if (!code)
        return;
    require(*code >= kLowestStatus && *code <= kHighestStatus, "a status code is 100 to 599");
    require(line.find("\" " + std::to_string(*code)) != npos,
            "a status code follows a quote and a blank");
}

// A time stamp read from the line writes its day back as the line wrote it,
// ignoring letter case, right after the first "[".
void checkTime(std::string_view line) {
    const auto time = logTimeOf(line, 2027);
    if (!time)
        return;
    require(time->hour >= 0 && time->hour <= 23, "an hour is 0 to 23");
    const std::size_t open = line.find('[');
    require(open != npos &&
                ascii::equalsIgnoringCase(line.substr(open + 1, 11), dayTextOf(time->day)),
            "the day is written back as the line wrote it");
}

// The agent is a view into the browser text.
void checkAgent(std::string_view line) {
    const auto agent = agentOf(line);
    require(agent.has_value() == browserOf(line).has_value(), "an agent needs a browser text");
    if (agent)
        require(isViewInto(*agent, line) && agent->size() <= browserOf(line)->size(),
                "the agent is a view into the browser text");
}

// The text with each of the given characters replaced by an underscore.
std::string without(std::string_view text, std::string_view markers) {
    std::string cleaned(text);
    std::replace_if(
        cleaned.begin(), cleaned.end(), [markers](char c) { return markers.find(c) != npos; }, '_');
    return cleaned;
}

// The first line of `text`, which is then dropped from it.
std::string_view takeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == npos ? text.size() : end + 1);
    return line;
}

void checkCombinedLineRoundTrip(std::string_view input) {
    // Lower case keeps GET and HTTP out of the client, date and path.
    std::string client = "c"; // appended to: "c" + text warns falsely on GCC 12 at -O3
    client += ascii::toLower(without(takeLine(input), " [\""));
    const std::string date = ascii::toLower(without(takeLine(input), ":\""));
    std::string page = ascii::toLower(without(takeLine(input), "\""));
    page.erase(0, page.find_first_not_of('/'));
    page.erase(page.find_last_not_of('/') + 1);
    const std::string referrer = without(takeLine(input), "\"");
    const std::string agent(takeLine(input));
    const std::string line = client + " - - [" + date + ":10:15:32 -0500] \"GET /" + page +
                             " HTTP/1.0\" 200 5120 \"" + referrer + "\" \"" + agent + "\"";
    require(visitorOf(line) == client, "the client comes back out of a combined line");
    require(dateOf(line) == date, "the date comes back out of a combined line");
    require(requestPathOf(line) == (page.empty() ? "/" : page),
            "the path comes back out of a combined line");
    require(referrerOf(line) == referrer, "the referrer comes back out of a combined line");
    require(browserOf(line) == " \"" + agent + "\"",
            "the user agent comes back out of a combined line");
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane::fuzz;
    const std::string_view line = textOf(data, size);
    checkVisitor(line);
    checkDate(line);
    checkReferrerAndBrowser(line);
    checkRequestPath(line);
    checkStatusCode(line);
    checkTime(line);
    checkAgent(line);
    checkCombinedLineRoundTrip(line);
    return 0;
}
