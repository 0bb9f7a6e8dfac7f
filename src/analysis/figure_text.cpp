#include "analysis/figure_text.h"

#include "platform/false_restrict_warning.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace statvane {
namespace {

constexpr int kSignificantDigits = 15;

std::string exponentForm(const std::string& digits, int exponent) {
    std::string text(1, digits[0]);
    if (digits.size() > 1) {
        STATVANE_FALSE_RESTRICT_BEGIN
        text += "." + digits.substr(1);
        STATVANE_FALSE_RESTRICT_END
    }
    text += 'E';
    if (exponent < 0)
        text += '-';
    return text + std::to_string(std::abs(exponent));
}

std::string fixedForm(const std::string& digits, int exponent) {
    if (exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return digits + std::string(integerDigits - digits.size(), '0');
    return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

} // namespace

std::string percentText(std::int64_t count, std::int64_t total) {
    if (total == 0)
        return {};
    return formatGeneral(static_cast<long double>(count) / total * 100);
}

std::string formatGeneral(long double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // Rounded to 15 significant digits: "d.dddddddddddddde[+-]x".
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            digits += *p;
    }
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const bool useExponent = exponent >= kSignificantDigits || exponent < -5;
    const std::string text =
        useExponent ? exponentForm(digits, exponent) : fixedForm(digits, exponent);
    return value < 0 ? "-" + text : text;
}

std::string figureText(std::int32_t value) {
    return std::to_string(value);
}

std::string figureText(std::optional<std::int32_t> value) {
    return value ? figureText(*value) : kNotSelected;
}

std::string figureText(std::optional<double> value) {
    return value ? formatGeneral(*value) : kNotSelected;
}

} // namespace statvane
