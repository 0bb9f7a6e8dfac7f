#pragma once

#include <chrono>
#include <string>

namespace statvane {

// A moment in the form HTTP headers use, always in English and in UTC:
// "Sun, 06 Nov 1994 08:49:37 GMT".
std::string httpDate(std::chrono::sys_seconds moment);

} // namespace statvane
