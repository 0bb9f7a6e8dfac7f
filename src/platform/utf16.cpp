#include "platform/utf16.h"

#include <cstdint>

namespace statvane {
namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

void appendUnit(std::string& out, std::uint32_t unit) {
    out += static_cast<char>(unit & 0xff);
    out += static_cast<char>(unit >> 8);
}

void appendUtf16(std::string& out, std::uint32_t code) {
    if (code < 0x10000) {
        appendUnit(out, code);
        return;
    }
    code -= 0x10000;
    appendUnit(out, 0xd800 | (code >> 10));
    appendUnit(out, 0xdc00 | (code & 0x3ff));
}

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xd800 && unit < 0xdc00;
}

bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xdc00 && unit < 0xe000;
}

// The code of the UTF-8 sequence at text[i], and its length; 0 when the bytes
// there are not one (overlong forms and codes past U+10FFFF are not).
std::size_t decodeUtf8(std::string_view text, std::size_t i, std::uint32_t& code) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned lead = byte(i);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xc2 && lead < 0xe0) {
        length = 2, code = lead & 0x1f, minimum = 0x80;
    } else if (lead >= 0xe0 && lead < 0xf0) {
        length = 3, code = lead & 0x0f, minimum = 0x800;
    } else if (lead >= 0xf0 && lead < 0xf5) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    return code >= minimum && code <= 0x10ffff ? length : 0;
}

} // namespace

std::string utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const auto unitAt = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 3 < bytes.size() && isLowSurrogate(unitAt(i + 2))) {
            appendUtf8(out, 0x10000 + ((unit - 0xd800) << 10) + (unitAt(i + 2) - 0xdc00));
            i += 2;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::string utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = decodeUtf8(text, i, code);
        if (length == 0) {
            appendUnit(out, static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            appendUtf16(out, code);
            i += length;
        }
    }
    return out;
}

} // namespace statvane
