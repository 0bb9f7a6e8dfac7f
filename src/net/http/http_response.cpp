#include "net/http/http_response.h"

#include "platform/ascii.h"

#include <algorithm>
#include <charconv>

namespace statvane {
namespace {

template <typename Number> std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The text from a position on, empty when the line is shorter.
std::string_view from(std::string_view line, std::size_t position) {
    return line.size() > position ? line.substr(position) : std::string_view();
}

// "HTTP/1.x ddd reason": the code is characters 10 to 12, the reason starts
// at character 14. Anything but digits there (a sign too) gives status 0.
void takeStatusLine(std::string_view line, HttpResponse& response) {
    const std::string_view code = from(line, 9).substr(0, 3);
    const bool digits =
        std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
    response.status = digits ? parseNumber<int>(code).value_or(0) : 0;
    response.reason = from(line, 13);
}

std::int64_t contentLength(std::string_view value, std::int64_t previous) {
    const auto length = parseNumber<std::int64_t>(value);
    return length && *length >= 0 ? *length : previous;
}

void takeField(std::string_view line, HttpResponse& response) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string name = ascii::toLower(line.substr(0, colon));
    const std::string_view value = ascii::trimBlanks(line.substr(colon + 1));
    if (name == "content-length")
        response.length = contentLength(value, response.length);
    else if (name == "content-type")
        response.type = ascii::toLower(value);
    else if (name == "location")
        response.location = value;
}

} // namespace

HeaderLine takeHeaderLine(std::string_view line, HttpResponse& response) {
    if (line.empty())
        return HeaderLine::End;
    if (ascii::equalsIgnoringCase(line.substr(0, 6), "<HTML>"))
        return HeaderLine::NoHeader;
    response.header.emplace_back(line);
    if (line.starts_with("HTTP/1.0") || line.starts_with("HTTP/1.1"))
        takeStatusLine(line, response);
    else
        takeField(line, response);
    return HeaderLine::Field;
}

} // namespace statvane
