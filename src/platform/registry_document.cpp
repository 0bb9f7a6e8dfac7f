#include "platform/registry_document.h"

#include "platform/ascii.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace statvane {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

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

// "hex(1):" and "hex(2):" hold strings as bytes with a terminating zero.
std::optional<std::string> parseHexString(std::string_view data) {
    for (std::string_view prefix : {"hex(1):", "hex(2):"}) {
        if (data.substr(0, prefix.size()) != prefix)
            continue;
        std::string bytes;
        std::string_view rest = data.substr(prefix.size());
        while (!rest.empty()) {
            const auto comma = rest.find(',');
            std::string_view item = rest.substr(0, comma);
            std::string cleaned;
            for (char c : item) {
                if (c != ' ' && c != '\\' && c != '\r' && c != '\n' && c != '\t')
                    cleaned += c;
            }
            unsigned value = 0;
            const auto [end, error] =
                std::from_chars(cleaned.data(), cleaned.data() + cleaned.size(), value, 16);
            if (cleaned.empty() || error != std::errc() || end != cleaned.data() + cleaned.size() ||
                value > 255)
                return std::nullopt;
            bytes += static_cast<char>(value);
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
        while (!bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
        return bytes;
    }
    return std::nullopt;
}

std::string hexString(std::string_view text) {
    std::string out = "hex(1):";
    constexpr char digits[] = "0123456789abcdef";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += digits[byte >> 4];
        out += digits[byte & 15];
        out += ',';
    }
    out += "00";
    return out;
}

RegistryValue parseData(std::string name, std::string_view data) {
    RegistryValue value;
    value.name = std::move(name);
    std::string_view rest = data;
    if (auto text = takeQuoted(rest)) {
        value.kind = RegistryValue::Kind::String;
        value.text = std::move(*text);
    } else if (data.substr(0, 6) == "dword:" && parseDword(data.substr(6))) {
        value.kind = RegistryValue::Kind::Integer;
        value.integer = *parseDword(data.substr(6));
    } else if (auto bytes = parseHexString(data)) {
        value.kind = RegistryValue::Kind::String;
        value.text = std::move(*bytes);
    } else {
        value.kind = RegistryValue::Kind::Other;
        value.text = std::string(data);
    }
    return value;
}

void storeValue(RegistryKey& key, RegistryValue value) {
    if (RegistryValue* existing = key.findValue(value.name))
        *existing = std::move(value);
    else
        key.values.push_back(std::move(value));
}

std::string dataText(const RegistryValue& value) {
    switch (value.kind) {
    case RegistryValue::Kind::Integer: {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<std::uint32_t>(value.integer));
        return "dword:" + std::string(digits);
    }
    case RegistryValue::Kind::String:
        if (value.text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return hexString(value.text);
        return quoted(value.text);
    case RegistryValue::Kind::Other:
        break;
    }
    return value.text;
}

bool isBelow(std::string_view path, std::string_view ancestor) {
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           ascii::equalsIgnoringCase(path.substr(0, ancestor.size()), ancestor);
}

} // namespace

RegistryValue* RegistryKey::findValue(std::string_view name) {
    for (auto& value : values) {
        if (ascii::equalsIgnoringCase(value.name, name))
            return &value;
    }
    return nullptr;
}

RegistryKey* RegistryDocument::findKey(std::string_view path) {
    for (auto& key : keys) {
        if (ascii::equalsIgnoringCase(key.path, path))
            return &key;
    }
    return nullptr;
}

RegistryKey& RegistryDocument::createKey(std::string_view path) {
    if (RegistryKey* key = findKey(path))
        return *key;
    keys.push_back(RegistryKey{std::string(path), {}});
    return keys.back();
}

bool RegistryDocument::deleteKey(std::string_view path) {
    const auto before = keys.size();
    std::erase_if(keys, [&](const RegistryKey& key) {
        return ascii::equalsIgnoringCase(key.path, path) || isBelow(key.path, path);
    });
    return keys.size() != before;
}

bool RegistryDocument::hasKeyOrSubkey(std::string_view path) const {
    return std::any_of(keys.begin(), keys.end(), [&](const RegistryKey& key) {
        return ascii::equalsIgnoringCase(key.path, path) || isBelow(key.path, path);
    });
}

RegistryDocument RegistryDocument::parse(std::string_view text) {
    RegistryDocument document;
    RegistryKey* current = nullptr;
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = ascii::trimBlanks(lines[i]);
        if (line.empty() || line == kHeader || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.rfind(']');
            std::string_view path =
                line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
            while (!path.empty() && path.back() == '\\')
                path.remove_suffix(1);
            // "[-key]" asks an import to delete the key; its values are skipped.
            current = (path.empty() || path.front() == '-') ? nullptr : &document.createKey(path);
            continue;
        }
        if (!current)
            continue;
        std::string name;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else if (auto quotedName = takeQuoted(rest)) {
            name = std::move(*quotedName);
        } else {
            continue;
        }
        rest = ascii::trimBlanks(rest);
        if (rest.empty() || rest.front() != '=')
            continue;
        rest.remove_prefix(1);
        std::string data(ascii::trimBlanks(rest));
        while (!data.empty() && data.back() == '\\' && data.front() != '"' && i + 1 < lines.size())
            data += "\r\n" + std::string(lines[++i]);
        if (data == "-")
            continue;
        storeValue(*current, parseData(std::move(name), data));
    }
    return document;
}

std::string RegistryDocument::serialize() const {
    std::string text = std::string(kHeader) + "\r\n\r\n";
    for (const auto& key : keys) {
        text += "[" + key.path + "]\r\n";
        for (const auto& value : key.values) {
            text += value.name.empty() ? "@" : quoted(value.name);
            text += "=" + dataText(value) + "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

} // namespace statvane
