#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// Whether a file name matches a wildcard pattern the way a Windows folder
// search does: "*" any run of characters, "?" one character, letters ignoring
// case, and "*.*" every name, with or without a dot.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Whether the whole text matches a wildcard pattern: "*" any run of bytes,
// "?" one byte, ASCII letters ignoring case; no name has a special meaning.
bool wildcardMatchText(std::string_view pattern, std::string_view text);

// The names of the ordinary files in a folder that match the pattern: no
// folders, no hidden files (names starting with "."), in the order they are
// read (inReadingOrder: name order, a rotated set oldest first). Empty when
// the folder cannot be read.
std::vector<std::string> findMatchingFiles(const std::filesystem::path& folder,
                                           std::string_view pattern);

} // namespace statvane
