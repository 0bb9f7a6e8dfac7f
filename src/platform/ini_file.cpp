#include "platform/ini_file.h"

#include "platform/ascii.h"
#include "platform/atomic_file.h"
#include "platform/error.h"

namespace statvane {
namespace {

// A section header is a line whose first non-blank character is "["; the name
// runs to the "]" or, when there is none, to the end of the line.
std::optional<std::string_view> sectionNameOf(std::string_view line) {
    line = ascii::trimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return ascii::trimBlanks(line.substr(0, close));
}

std::optional<std::string_view> keyNameOf(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return ascii::trimBlanks(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    std::string_view value = ascii::trimBlanks(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

struct SectionSpan {
    std::size_t header;
    std::size_t end; // one past the section's last line
};

std::optional<SectionSpan> findSection(const std::vector<std::string>& lines,
                                       std::string_view section, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        const auto name = sectionNameOf(lines[i]);
        if (!name || !ascii::equalsIgnoringCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionNameOf(lines[end]))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<std::string>& lines, SectionSpan span,
                                   std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = keyNameOf(lines[i]);
        if (name && ascii::equalsIgnoringCase(*name, key))
            return i;
    }
    return std::nullopt;
}

bool isBlankLine(std::string_view line) {
    return ascii::trimBlanks(line).empty();
}

std::string keyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

} // namespace

IniFile::IniFile(std::filesystem::path file) : file_(std::move(file)) {}

std::vector<std::string> IniFile::readLines() const {
    std::string contents;
    std::vector<std::string> lines;
    if (!readFileContents(file_, contents))
        return lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        auto end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        std::size_t stop = end;
        if (stop > start && contents[stop - 1] == '\r')
            --stop;
        lines.emplace_back(contents, start, stop - start);
        start = end + 1;
    }
    return lines;
}

void IniFile::writeLines(const std::vector<std::string>& lines) const {
    std::string contents;
    for (const auto& line : lines) {
        contents += line;
        contents += "\r\n";
    }
    if (!replaceFileContents(file_, contents))
        throw Error(
            formatMessage("Unable to write to %s", std::filesystem::absolute(file_).string()));
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
    const auto lines = readLines();
    const auto span = findSection(lines, section);
    if (!span)
        return std::nullopt;
    const auto at = findKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    return std::string(valueOf(lines[*at]));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = read(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : readLines()) {
        const auto name = sectionNameOf(line);
        if (!name || name->empty())
            continue;
        bool seen = false;
        for (const auto& known : names)
            seen = seen || ascii::equalsIgnoringCase(known, *name);
        if (!seen)
            names.emplace_back(*name);
    }
    return names;
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    auto lines = readLines();
    const auto span = findSection(lines, section);
    if (!span) {
        if (!lines.empty() && !isBlankLine(lines.back()))
            lines.emplace_back();
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(keyLine(key, value));
    } else if (const auto at = findKey(lines, *span, key)) {
        lines[*at] = keyLine(*keyNameOf(lines[*at]), value);
    } else {
        std::size_t insertAt = span->end;
        while (insertAt > span->header + 1 && isBlankLine(lines[insertAt - 1]))
            --insertAt;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine(key, value));
    }
    writeLines(lines);
}

void IniFile::eraseSection(std::string_view section) {
    auto lines = readLines();
    bool erased = false;
    while (const auto span = findSection(lines, section)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span->header),
                    lines.begin() + static_cast<std::ptrdiff_t>(span->end));
        erased = true;
    }
    if (erased)
        writeLines(lines);
}

} // namespace statvane
