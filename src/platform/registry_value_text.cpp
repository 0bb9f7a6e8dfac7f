#include "platform/registry_value_text.h"

#include "platform/ascii.h"
#include "platform/utf16.h"

#include <charconv>
#include <cstdio>

namespace statvane {
namespace {

// Reads a quoted text with backslash escapes from the start of `text`,
// leaving `text` just after the closing quote.
std::optional<std::string> takeQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            value += text[++i];
        } else if (text[i] == '"') {
            text.remove_prefix(i + 1);
            return value;
        } else {
            value += text[i];
        }
    }
    return std::nullopt;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::optional<std::int32_t> parseDword(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool isLayout(char c) {
    return c == ' ' || c == '\t' || c == '\\' || c == '\r' || c == '\n';
}

// Comma-separated hex bytes, spread over lines ending in "\".
std::optional<std::string> parseHexBytes(std::string_view data) {
    std::string bytes;
    while (!data.empty()) {
        const auto comma = data.find(',');
        std::string digits;
        for (char c : data.substr(0, comma)) {
            if (!isLayout(c))
                digits += c;
        }
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (comma == std::string_view::npos && digits.empty())
            break; // nothing after the last comma
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            value > 255)
            return std::nullopt;
        bytes += static_cast<char>(value);
        if (comma == std::string_view::npos)
            break;
        data.remove_prefix(comma + 1);
    }
    return bytes;
}

// The string that hex(1) or hex(2) bytes hold, without its terminating zero.
std::string stringOfBytes(std::string bytes, bool version5) {
    std::string text = version5 ? utf16LeToUtf8(bytes) : std::move(bytes);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

std::string hexString(std::string_view text, bool version5) {
    std::string bytes = version5 ? utf8ToUtf16Le(text) : std::string(text);
    bytes.append(version5 ? 2 : 1, '\0');
    std::string out = "hex(1):";
    constexpr char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            out += ',';
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The value that the data after "=" stores; Unreadable when it stores none.
ValueLine parseData(std::string name, std::string_view data, bool version5) {
    ValueLine line{ValueLine::Kind::Value, {std::move(name), RegistryValue::Kind::Other, {}, 0}};
    RegistryValue& value = line.value;
    std::string_view rest = data;
    if (data == "-") {
        line.kind = ValueLine::Kind::Deletion;
    } else if (auto text = takeQuoted(rest); text && ascii::trimBlanks(rest).empty()) {
        value.kind = RegistryValue::Kind::String;
        value.text = std::move(*text);
    } else if (startsWith(data, "dword:")) {
        const auto number = parseDword(data.substr(6));
        line.kind = number ? ValueLine::Kind::Value : ValueLine::Kind::Unreadable;
        value.kind = RegistryValue::Kind::Integer;
        value.integer = number.value_or(0);
    } else if (startsWith(data, "hex(1):") || startsWith(data, "hex(2):")) {
        auto bytes = parseHexBytes(data.substr(7));
        line.kind = bytes ? ValueLine::Kind::Value : ValueLine::Kind::Unreadable;
        value.kind = RegistryValue::Kind::String;
        value.text = bytes ? stringOfBytes(std::move(*bytes), version5) : std::string();
    } else if (startsWith(data, "hex") && data.find(':') != std::string_view::npos) {
        value.text = std::string(data);
    } else {
        line.kind = ValueLine::Kind::Unreadable;
    }
    return line;
}

struct NameAndData {
    std::string name;
    std::string_view data; // blanks around it dropped
};

// `"name"=data` or `@=data`; nothing for any other line.
std::optional<NameAndData> splitValueLine(std::string_view line) {
    line = ascii::trimBlanks(line);
    NameAndData parts;
    if (!line.empty() && line.front() == '@') {
        line.remove_prefix(1);
    } else if (auto quotedName = takeQuoted(line)) {
        parts.name = std::move(*quotedName);
    } else {
        return std::nullopt;
    }
    line = ascii::trimBlanks(line);
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    line.remove_prefix(1);
    parts.data = ascii::trimBlanks(line);
    if (parts.data.empty())
        return std::nullopt;
    return parts;
}

} // namespace

ValueLine parseValueLine(std::string_view line, bool version5) {
    auto parts = splitValueLine(line);
    if (!parts)
        return {};
    return parseData(std::move(parts->name), parts->data, version5);
}

bool continuesOnNextLine(std::string_view line) {
    const auto parts = splitValueLine(line);
    return parts && startsWith(parts->data, "hex") && parts->data.back() == '\\';
}

std::string valueLineText(const RegistryValue& value, bool version5) {
    std::string line = value.name.empty() ? "@" : quoted(value.name);
    line += '=';
    switch (value.kind) {
    case RegistryValue::Kind::Integer: {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<std::uint32_t>(value.integer));
        line += "dword:";
        line += digits;
        break;
    }
    case RegistryValue::Kind::String:
        if (value.text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            line += hexString(value.text, version5);
        else
            line += quoted(value.text);
        break;
    case RegistryValue::Kind::Other:
        line += value.text;
        break;
    }
    return line;
}

} // namespace statvane
