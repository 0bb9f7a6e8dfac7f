#include "analysis/figure_text.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(FigureText, GeneralFloatingFormat) {
    const std::pair<long double, std::string_view> cases[] = {
        {0, "0"},
        {1536, "1536"},
        {1536.0 / 1024, "1.5"},
        {1536.0 / 1048576, "0.00146484375"},
        {10.0 / 1048576, "9.5367431640625E-6"},
        {100.0L / 3, "33.3333333333333"},
        {100, "100"},
        {5000.0 / 1048576, "0.00476837158203125"},
        {4.8828125, "4.8828125"},
        {0.00001, "0.00001"},
        {0.0000099, "9.9E-6"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {-2.5, "-2.5"},
        {-1e-7, "-1E-7"},
        {2.0 / 3, "0.666666666666667"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatGeneral(value), text) << static_cast<double>(value);
}

TEST(FigureText, AbsentFiguresAreNotSelected) {
    EXPECT_EQ(figureText(std::optional<std::int32_t>()), "Not Selected");
    EXPECT_EQ(figureText(std::optional<double>()), "Not Selected");
    EXPECT_EQ(figureText(std::optional<std::int32_t>(-12)), "-12");
    EXPECT_EQ(figureText(std::optional<double>(0.0)), "0");
    EXPECT_EQ(figureText(std::int32_t{1234567}), "1234567");
}

} // namespace
} // namespace statvane
