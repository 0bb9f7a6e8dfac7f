#pragma once

#include <filesystem>

namespace statvane {

// The robot patterns shipped with the program: robots.list beside the running
// executable (a build tree), else the installed share/statvane/robots.list.
std::filesystem::path shippedRobotList();

// The user's own robot patterns, read after the shipped ones: robots.list in
// the program directory.
std::filesystem::path userRobotList(const std::filesystem::path& programDirectory);

} // namespace statvane
