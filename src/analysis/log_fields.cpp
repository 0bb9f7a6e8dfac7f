#include "analysis/log_fields.h"

#include "analysis/combined_layout.h"

#include <algorithm>
#include <charconv>

namespace statvane {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t findFrom(std::string_view line, char c, std::size_t from) {
    return from >= line.size() ? npos : line.find(c, from);
}

} // namespace

std::optional<std::string_view> visitorOf(std::string_view line) {
    const auto blank = line.find(' ');
    if (blank == npos || blank == 0)
        return std::nullopt;
    return line.substr(0, blank);
}

std::optional<std::string_view> dateOf(std::string_view line) {
    const auto open = line.find('[');
    if (open == npos)
        return std::nullopt;
    const auto colon = line.find(':', open + 1);
    if (colon == npos)
        return std::nullopt;
    return line.substr(open + 1, colon - open - 1);
}

std::optional<std::string_view> referrerOf(std::string_view line) {
    const auto q1 = line.find('"');
    if (q1 == npos)
        return std::nullopt;
    const auto q2 = findFrom(line, '"', q1 + 2);
    if (q2 == npos)
        return std::nullopt;
    const auto q3 = findFrom(line, '"', q2 + 2);
    if (q3 == npos)
        return std::nullopt;
    const auto q4 = findFrom(line, '"', q3 + 1);
    if (q4 == npos)
        return std::nullopt;
    return line.substr(q3 + 1, q4 - q3 - 1);
}

std::optional<std::string_view> requestPathOf(std::string_view line) {
    const auto get = line.find("GET");
    if (get == npos || get + 4 > line.size())
        return std::nullopt;
    const std::string_view rest = line.substr(get + 4);
    const auto http = rest.find("HTTP");
    if (http == npos || http == 0)
        return std::nullopt;
    std::string_view path = rest.substr(0, http - 1);
    if (path.size() > 1 && path.front() == '/')
        path.remove_prefix(1);
    if (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

std::optional<std::string_view> browserOf(std::string_view line) {
    std::size_t from = 0;
    for (int quote = 0; quote < 4; ++quote) {
        const auto at = findFrom(line, '"', from);
        if (at == npos)
            return std::nullopt;
        from = at + 1;
    }
    return line.substr(from);
}

std::optional<std::string_view> agentOf(std::string_view line) {
    auto agent = browserOf(line);
    if (!agent)
        return std::nullopt;
    agent->remove_prefix(std::min(agent->find_first_not_of(' '), agent->size()));
    if (agent->size() >= 2 && agent->front() == '"' && agent->back() == '"')
        *agent = agent->substr(1, agent->size() - 2);
    return agent;
}

std::optional<int> statusCodeOf(std::string_view line) {
    const auto open = line.find('"');
    if (open == npos)
        return std::nullopt;
    const std::string_view request = line.substr(open + 1);
    const auto close = closingQuote(request);
    if (close == npos || close + 2 > request.size())
        return std::nullopt;
    const std::string_view rest = request.substr(close + 2);
    const std::string_view field = rest.substr(0, rest.find(' '));
    const char* const end = field.data() + field.size();
    int code = 0;
    const auto read = std::from_chars(field.data(), end, code);
    if (field.size() != 3 || read.ec != std::errc{} || read.ptr != end || code < kLowestStatus ||
        code > kHighestStatus)
        return std::nullopt;
    return code;
}

} // namespace statvane
