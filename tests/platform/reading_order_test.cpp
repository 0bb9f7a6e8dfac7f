#include "platform/reading_order.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace statvane {
namespace {

using Names = std::vector<std::string>;

// Each case is the reading order; the test hands the names over reversed and
// in byte order, as a folder listing might give them.
const std::pair<std::string_view, Names> kCases[] = {
    {"plain names by name ignoring case", {"a.log", "B.log", "C.log", "c.LOG", "c.log"}},
    {"a logrotate folder oldest first",
     {"access.log.10.gz", "access.log.9.gz", "access.log.5.zst", "access.log.4.xz",
      "access.log.3.bz2", "access.log.2.gz", "access.log.1", "access.log"}},
    {"the set stands where its base name stands",
     {"a.log", "access.log.2.gz", "access.log.1", "access.log", "access.log-old",
      "access.log.1.gz.bak", "error.log"}},
    {"two sets in one folder",
     {"access.log.3.gz", "access.log.2.gz", "access.log.1", "access.log", "error.log.2.gz",
      "error.log.1", "error.log"}},
    {"a set without its base name stands where the base name would",
     {"access.log.2.gz", "access.log.1", "access.log-old", "access.log.txt"}},
    {"numbers by value, leading zeros too",
     {"app.log.100", "app.log.020", "app.log.9", "app.log.01", "app.log.0", "app.log"}},
    {"an uncompressed and a compressed member of one number by name",
     {"access.log.2", "access.log.2.gz", "access.log.1", "access.log"}},
    {"other endings and numbers with more are not members",
     {"access.log", "access.log.1.gz.bak", "access.log.1a", "access.log.2.GZ", "access.log.gz",
      "access.log.x"}},
    {"date-stamped names by name", {"access.log-20261208.gz", "access.log-20261209.gz"}},
};

TEST(ReadingOrder, RotatedSetsOldestFirstAmongNamesInNameOrder) {
    for (const auto& [title, expected] : kCases) {
        Names reversed(expected.rbegin(), expected.rend());
        Names byBytes = expected;
        std::sort(byBytes.begin(), byBytes.end());
        EXPECT_EQ(inReadingOrder(reversed), expected) << title;
        EXPECT_EQ(inReadingOrder(byBytes), expected) << title;
    }
}

} // namespace
} // namespace statvane
