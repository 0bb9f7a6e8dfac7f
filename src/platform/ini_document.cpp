#include "platform/ini_document.h"

namespace statvane {
namespace {

std::optional<std::string_view> sectionNameOf(std::string_view line) {
    line = ascii::trimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return ascii::trimBlanks(line.substr(0, line.rfind(']')));
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

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument document;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        document.lines_.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    document.index();
    return document;
}

std::string IniDocument::serialize() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void IniDocument::index() {
    sections_.clear();
    sectionAt_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionNameOf(lines_[i])) {
            if (!sections_.empty())
                sections_.back().end = i;
            sections_.push_back(Section{std::string(*name), i, lines_.size(), {}});
            sectionAt_.emplace(sections_.back().name, sections_.size() - 1);
        } else if (const auto key = keyNameOf(lines_[i]); key && !sections_.empty()) {
            sections_.back().keyAt.emplace(std::string(*key), i);
        }
    }
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
    const auto at = sectionAt_.find(ascii::trimBlanks(name));
    return at == sectionAt_.end() ? nullptr : &sections_[at->second];
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto at = found->keyAt.find(ascii::trimBlanks(key));
    if (at == found->keyAt.end())
        return std::nullopt;
    return std::string(valueOf(lines_[at->second]));
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const auto& name = sections_[i].name;
        if (!name.empty() && sectionAt_.at(name) == i)
            names.push_back(name);
    }
    return names;
}

void IniDocument::appendSection(std::string_view name) {
    if (!lines_.empty() && !isBlankLine(lines_.back()))
        lines_.emplace_back();
    // Appended piece by piece: "[" + name + "]" makes GCC 12 at -O3 warn
    // falsely of overlapping copies (-Wrestrict).
    std::string header = "[";
    header += name;
    header += ']';
    lines_.push_back(std::move(header));
    sections_.push_back(Section{std::string(name), lines_.size() - 1, lines_.size(), {}});
    sectionAt_.emplace(sections_.back().name, sections_.size() - 1);
}

void IniDocument::setValues(std::string_view section, const KeyValues& values) {
    section = ascii::trimBlanks(section);
    if (!findSection(section))
        appendSection(section);
    const Section& found = *findSection(section);
    std::vector<std::string> added;
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        addedAt;
    for (const auto& [rawKey, value] : values) {
        const std::string_view key = ascii::trimBlanks(rawKey);
        if (const auto at = found.keyAt.find(key); at != found.keyAt.end()) {
            lines_[at->second] = keyLine(*keyNameOf(lines_[at->second]), value);
        } else if (const auto pending = addedAt.find(key); pending != addedAt.end()) {
            added[pending->second] = keyLine(key, value);
        } else {
            addedAt.emplace(std::string(key), added.size());
            added.push_back(keyLine(key, value));
        }
    }
    std::size_t insertAt = found.end;
    while (insertAt > found.header + 1 && isBlankLine(lines_[insertAt - 1]))
        --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    index();
}

bool IniDocument::eraseSection(std::string_view section) {
    section = ascii::trimBlanks(section);
    std::vector<std::string> kept;
    kept.reserve(lines_.size());
    std::size_t next = 0;
    for (const auto& found : sections_) {
        if (!ascii::equalsIgnoringCase(found.name, section))
            continue;
        for (; next < found.header; ++next)
            kept.push_back(std::move(lines_[next]));
        next = found.end;
    }
    if (next == 0)
        return false;
    for (; next < lines_.size(); ++next)
        kept.push_back(std::move(lines_[next]));
    lines_ = std::move(kept);
    index();
    return true;
}

} // namespace statvane
