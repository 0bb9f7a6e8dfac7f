// SMTP replies as the mail client receives them. The input's first byte
// chooses how the rest is cut into socket reads, each no larger than the
// receive buffer takes. The lines handed out must be the received lines ended
// by CR LF, each cut to 4095 bytes, plus the first 4095 bytes of a last
// unended line that fills the buffer; the buffer never holds more than its
// capacity. Each line's reply code stays within its bounds, and a reply line
// made from the input gives back its code and continuation mark.
#include "fuzz_support.h"
#include "net/smtp/reply_code.h"
#include "net/smtp/reply_line_buffer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace statvane::fuzz {
namespace {

constexpr std::size_t kLongest = ReplyLineBuffer::maxLineLength;
// The code of a number too long to hold.
constexpr int kLargestCode = 1'000'000;

std::vector<std::string> receive(std::string_view stream, std::uint8_t chooser) {
    ReplyLineBuffer buffer;
    std::vector<std::string> lines;
    for (std::string_view bytes : socketReads(stream, chooser)) {
        while (!bytes.empty()) {
            const std::size_t taken = std::min(buffer.room(), bytes.size());
            buffer.append(bytes.substr(0, taken));
            bytes.remove_prefix(taken);
            while (auto line = buffer.takeLine())
                lines.push_back(std::move(*line));
            require(buffer.room() <= ReplyLineBuffer::capacity && buffer.room() > 0,
                    "the buffer holds at most its capacity and makes room again");
        }
    }
    return lines;
}

std::vector<std::string> expectedLines(std::string_view stream) {
    std::vector<std::string> lines;
    for (auto end = stream.find("\r\n"); end != std::string_view::npos; end = stream.find("\r\n")) {
        lines.emplace_back(stream.substr(0, std::min(end, kLongest)));
        stream.remove_prefix(end + 2);
    }
    if (stream.size() > kLongest)
        lines.emplace_back(stream.substr(0, kLongest));
    return lines;
}

void checkCodes(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const ReplyCode reply = readReplyCode(line);
        require(reply.code >= 0 && reply.code <= kLargestCode, "a reply code is 0 to 1,000,000");
    }
}

void checkRoundTrip(std::string_view stream) {
    if (stream.size() < 3)
        return;
    const int code =
        (static_cast<unsigned char>(stream[0]) << 8 | static_cast<unsigned char>(stream[1])) % 1000;
    const char mark = stream[2] == '-' ? '-' : ' ';
    const std::string line = std::string(stream[2] == '+' ? " +" : "") + std::to_string(code) +
                             mark + std::string(stream.substr(3));
    const ReplyCode reply = readReplyCode(line);
    require(reply.code == code && reply.continued == (mark == '-'),
            "a reply line gives back its code and continuation mark");
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane::fuzz;
    if (size == 0)
        return 0;
    const std::string_view stream = textOf(data + 1, size - 1);
    const auto lines = receive(stream, data[0]);
    require(lines == expectedLines(stream),
            "the lines are those ended by CR LF, cut to 4095 bytes");
    checkCodes(lines);
    checkRoundTrip(stream);
    return 0;
}
