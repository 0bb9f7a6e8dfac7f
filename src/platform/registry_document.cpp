#include "platform/registry_document.h"

#include "platform/registry_value_text.h"
#include "platform/utf16.h"

namespace statvane {
namespace {

constexpr std::string_view kRegedit4 = "REGEDIT4";

bool isBelow(std::string_view path, std::string_view ancestor) {
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           ascii::equalsIgnoringCase(path.substr(0, ancestor.size()), ancestor);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Puts the document's lines together. A line written after another keeps the
// two apart: it first ends the line before when that had no line end (the
// file's last line as read), and after a value whose hex data went on with
// "\\" to the end of the file it leaves a blank line, which ends that data,
// so that what follows is never read as part of it.
class LineWriter {
  public:
    explicit LineWriter(std::string_view lineEnd) : lineEnd_(lineEnd) {}

    void write(std::string_view text, bool goesOn = false) {
        if (!out_.empty() && out_.back() != '\n')
            out_ += lineEnd_;
        if (open_)
            out_ += lineEnd_;
        out_ += text;
        open_ = goesOn;
    }

    bool endsWithBlankLine() const {
        std::string_view out = out_;
        if (out.empty() || out.back() != '\n')
            return out.empty();
        out.remove_suffix(1);
        const auto previous = out.rfind('\n');
        return isBlank(out.substr(previous == std::string_view::npos ? 0 : previous + 1));
    }

    const std::string& text() const { return out_; }

  private:
    std::string_view lineEnd_;
    std::string out_;
    bool open_ = false;
};

std::string encode(const std::string& text, RegistryFormat::Encoding encoding) {
    switch (encoding) {
    case RegistryFormat::Encoding::Utf16Le:
        return "\xff\xfe" + utf8ToUtf16Le(text);
    case RegistryFormat::Encoding::Utf8WithMark:
        return "\xef\xbb\xbf" + text;
    case RegistryFormat::Encoding::Bytes:
        break;
    }
    return text;
}

} // namespace

RegistryDocument::RegistryDocument() {
    keys_.emplace_back();
    keys_[0].lines.push_back({std::string(kRegedit4) + format_.lineEnd, false, {}});
    keys_[0].lines.push_back({format_.lineEnd, false, {}});
}

void RegistryDocument::indexKeys() {
    keyAt_.clear();
    for (std::size_t i = 1; i < keys_.size(); ++i) {
        if (!keys_[i].path.empty())
            keyAt_.emplace(keys_[i].path, i);
    }
}

bool RegistryDocument::hasKey(std::string_view path) const {
    return keyAt_.find(path) != keyAt_.end();
}

bool RegistryDocument::hasKeyOrSubkey(std::string_view path) const {
    if (hasKey(path))
        return true;
    for (std::size_t i = 1; i < keys_.size(); ++i) {
        if (isBelow(keys_[i].path, path))
            return true;
    }
    return false;
}

const RegistryValue* RegistryDocument::findValue(std::string_view path,
                                                 std::string_view name) const {
    const auto key = keyAt_.find(path);
    if (key == keyAt_.end())
        return nullptr;
    const RegistryKey& found = keys_[key->second];
    const auto value = found.valueAt.find(name);
    return value == found.valueAt.end() ? nullptr : &found.lines[value->second].value;
}

std::vector<std::string> RegistryDocument::valueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const auto key = keyAt_.find(path); key != keyAt_.end()) {
        for (const auto& line : keys_[key->second].lines) {
            if (line.isValue)
                names.push_back(line.value.name);
        }
    }
    return names;
}

RegistryKey& RegistryDocument::keyFor(std::string_view path) {
    if (const auto key = keyAt_.find(path); key != keyAt_.end())
        return keys_[key->second];
    keys_.push_back(RegistryKey{std::string(path), {}, {}, {}});
    keyAt_.emplace(keys_.back().path, keys_.size() - 1);
    return keys_.back();
}

void RegistryDocument::createKey(std::string_view path) {
    keyFor(path);
}

bool RegistryDocument::deleteKey(std::string_view path) {
    std::vector<RegistryKey> kept;
    kept.reserve(keys_.size());
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        RegistryKey& key = keys_[i];
        if (i == 0 || !(ascii::equalsIgnoringCase(key.path, path) || isBelow(key.path, path))) {
            kept.push_back(std::move(key));
            continue;
        }
        // Comments and unreadable lines stay where they stood.
        for (auto& line : key.lines) {
            if (!line.isValue && !isBlank(line.raw))
                kept.back().lines.push_back(std::move(line));
        }
    }
    const bool deleted = kept.size() != keys_.size();
    keys_ = std::move(kept);
    indexKeys();
    return deleted;
}

void RegistryDocument::setValue(std::string_view path, RegistryValue value) {
    RegistryKey& key = keyFor(path);
    if (const auto at = key.valueAt.find(value.name); at != key.valueAt.end()) {
        RegistryLine& line = key.lines[at->second];
        value.name = line.value.name;
        line.value = std::move(value);
        line.raw.clear();
        return;
    }
    // After the last line that holds something, before the blank lines that
    // end the key's block; only blank lines move, so no value's place changes.
    std::size_t at = key.lines.size();
    while (at > 0 && !key.lines[at - 1].isValue && isBlank(key.lines[at - 1].raw))
        --at;
    key.lines.insert(key.lines.begin() + static_cast<std::ptrdiff_t>(at),
                     RegistryLine{{}, true, std::move(value)});
    key.valueAt.emplace(key.lines[at].value.name, at);
}

std::string RegistryDocument::serialize() const {
    const std::string& lineEnd = format_.lineEnd;
    LineWriter out(lineEnd);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const RegistryKey& key = keys_[i];
        const bool newKey = i > 0 && key.header.empty();
        if (newKey) {
            if (!out.endsWithBlankLine())
                out.write(lineEnd);
            out.write("[" + key.path + "]" + lineEnd);
        } else if (!key.header.empty()) {
            out.write(key.header);
        }
        for (const auto& line : key.lines) {
            if (!line.raw.empty())
                out.write(line.raw, line.goesOn);
            else
                out.write(valueLineText(line.value, format_.version5) + lineEnd);
        }
        if (newKey)
            out.write(lineEnd);
    }
    return encode(out.text(), format_.encoding);
}

} // namespace statvane
