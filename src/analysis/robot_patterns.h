#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// Adds the patterns of a robot list's text: one a line (LF or CR LF), "#"
// starting a comment to the end of its line, blanks around a pattern dropped,
// blank lines skipped. Bytes are kept as they are.
void addRobotPatterns(std::string_view text, std::vector<std::string>& patterns);

// Adds the patterns of one robot list file. A file that cannot be read adds
// none and gives the notice "<path>: <reason>"; a missing one gives it only
// when it is `required`.
std::optional<std::string> readRobotList(const std::filesystem::path& file, bool required,
                                         std::vector<std::string>& patterns);

// The patterns of the shipped list, then of the user's own, and the notices
// about those that could not be read. The user's list is optional: only one
// that exists and cannot be read gives a notice.
struct RobotPatterns {
    std::vector<std::string> patterns;
    std::vector<std::string> notices;
};
RobotPatterns readRobotLists(const std::filesystem::path& shipped,
                             const std::filesystem::path& user);

} // namespace statvane
