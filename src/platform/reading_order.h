#pragma once

#include <string>
#include <vector>

namespace statvane {

// Puts the names of a folder's files in the order they are read: name order
// ignoring case (names equal but for case in byte order), except for rotated
// sets. A rotated set is a base name and the names made of it plus "." and a
// decimal number, optionally followed by ".gz", ".bz2", ".xz" or ".zst"
// ("access.log", "access.log.1", "access.log.2.gz"). A set is read oldest
// first: highest number first, numbers compared by value ("10" before "9",
// "01" as 1), the base name last. The set stands where its base name stands by
// name, whether or not the base name itself is among the names.
std::vector<std::string> inReadingOrder(std::vector<std::string> names);

} // namespace statvane
