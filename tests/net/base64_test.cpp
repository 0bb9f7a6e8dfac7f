#include "net/base64.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(Base64, EncodesWithFill) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"user:pass", "dXNlcjpwYXNz"},
        {std::string_view("\xff\x00\x80", 3), "/wCA"},
    };
    for (const auto& [bytes, encoded] : cases)
        EXPECT_EQ(base64Encode(bytes), encoded) << bytes;
}

} // namespace
} // namespace statvane
