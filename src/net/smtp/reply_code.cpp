#include "net/smtp/reply_code.h"

#include <algorithm>

namespace statvane {

ReplyCode readReplyCode(std::string_view line) {
    constexpr int saturation = 1'000'000;
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        ++i;
    ReplyCode reply;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        reply.code = std::min(reply.code * 10 + (line[i] - '0'), saturation);
    reply.continued = i < line.size() && line[i] == '-';
    return reply;
}

} // namespace statvane
