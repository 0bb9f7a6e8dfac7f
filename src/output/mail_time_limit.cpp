#include "output/mail_time_limit.h"

#include <cstdlib>

namespace statvane {
namespace {

constexpr int kDefaultMailTimeoutSeconds = 180;

} // namespace

int mailTimeLimitMs() {
    const char* text = std::getenv("STATVANE_MAIL_TIMEOUT");
    const int seconds = text ? std::atoi(text) : 0;
    return (seconds > 0 ? seconds : kDefaultMailTimeoutSeconds) * 1000;
}

} // namespace statvane
