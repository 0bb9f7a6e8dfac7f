#include "platform/integer_text.h"

#include "platform/error.h"

#include <string>

namespace statvane {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool takePrefix(std::string_view& text, std::string_view prefix, bool ignoreCase) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = ignoreCase && text[i] >= 'A' && text[i] <= 'Z' ? text[i] + 32 : text[i];
        if (c != prefix[i])
            return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

std::optional<std::int32_t> hexadecimal(std::string_view digits, bool negative) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = digitValue(c);
        if (digit > 15)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> decimal(std::string_view digits, bool negative) {
    if (digits.empty())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (char c : digits) {
        const int digit = digitValue(c);
        if (digit > 9)
            return std::nullopt;
        value = value * 10 + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool takeSign(std::string_view& text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        const bool negative = text.front() == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const bool negative = takeSign(text);
    if (takePrefix(text, "$", false) || takePrefix(text, "0x", true) || takePrefix(text, "x", true))
        return hexadecimal(text, negative);
    return decimal(text, negative);
}

std::int32_t toInteger(std::string_view text) {
    if (const auto value = parseInteger(text))
        return *value;
    throw Error(formatMessage("'%s' is not a valid integer value", std::string(text)));
}

std::optional<std::int32_t> parseProfileInteger(std::string_view text) {
    if (takePrefix(text, "0x", true))
        return hexadecimal(text, false);
    const bool negative = takeSign(text);
    return decimal(text, negative);
}

} // namespace statvane
