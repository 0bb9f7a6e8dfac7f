#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// What one response header has told so far.
struct HttpResponse {
    int status = 0;
    std::string reason;
    std::int64_t length = -1;
    std::string type;
    std::vector<std::string> header;
    std::optional<std::string> location;
};

enum class HeaderLine {
    Field,    // a status or header line, or one that names nothing known
    End,      // the empty line after the header
    NoHeader, // the server sent a document without any header
};

// Takes one received header line (without its line end) into the response.
HeaderLine takeHeaderLine(std::string_view line, HttpResponse& response);

} // namespace statvane
