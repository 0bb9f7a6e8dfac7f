#include "platform/error.h"
#include "platform/integer_text.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(IntegerText, SettingsConversion) {
    const std::pair<std::string_view, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"250000", 250000},
        {" 500", 500},
        {"$100", 256},
        {"x1F", 31},
        {"0XfF", 255},
        {"-$10", -16},
        {"+12", 12},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"$80000000", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$100000000", std::nullopt},
        {"500 ", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"12a", std::nullopt},
        {"\t5", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseInteger(text), expected) << '"' << text << '"';
}

TEST(IntegerText, ToIntegerNamesTheText) {
    EXPECT_EQ(toInteger("42"), 42);
    try {
        toInteger("ten");
        FAIL() << "expected an error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'ten' is not a valid integer value");
    }
}

TEST(IntegerText, ProfileNumbers) {
    const std::pair<std::string_view, std::optional<std::int32_t>> cases[] = {
        {"1", 1},    {"0", 0}, {"2", 2},    {"-3", -3},  {"0x1", 1}, {"0X1f", 31},
        {"yes", {}}, {"", {}}, {"$10", {}}, {"x10", {}}, {"1 ", {}}, {"99999999999", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseProfileInteger(text), expected) << '"' << text << '"';
}

} // namespace
} // namespace statvane
