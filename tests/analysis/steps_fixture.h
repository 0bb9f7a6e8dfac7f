#pragma once

#include "analysis/check_points.h"
#include "analysis/log_lines.h"
#include "support/recording_run.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

namespace statvane::test {

// Lines held as a run holds them, made from text.
inline LogLines makeLines(std::initializer_list<std::string_view> texts) {
    std::string bytes;
    for (const auto text : texts) {
        bytes += text;
        bytes += '\n';
    }
    FileBuffer buffer(bytes.size());
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    LogLines lines;
    lines.appendFile(std::move(buffer), bytes.size());
    return lines;
}

// A combined-layout line with the given pieces.
inline std::string combined(std::string_view host, std::string_view request,
                            std::string_view referrer, std::string_view agent) {
    return std::string(host) + " - - [06/Dec/1999:10:15:32 -0500] \"" + std::string(request) +
           "\" 200 5120 \"" + std::string(referrer) + "\" \"" + std::string(agent) + "\"";
}

struct StepsFixture {
    RecordingObserver observer;
    CheckPoints checkPoints{observer};
};

} // namespace statvane::test
