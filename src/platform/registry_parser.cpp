#include "platform/registry_document.h"
#include "platform/registry_value_text.h"
#include "platform/utf16.h"

#include <algorithm>

namespace statvane {

constexpr std::string_view kRegedit4Header = "REGEDIT4";
constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

// Reads an export file line by line into a document; see RegistryDocument.
class RegistryParser {
  public:
    explicit RegistryParser(RegistryDocument& document) : document_(document) {}

    void parse(std::string_view bytes) {
        const std::string text = decode(bytes);
        if (text.find_first_not_of(" \t\r\n") == std::string::npos)
            return; // an empty file: a new document
        splitLines(text);
        readHeader();
        for (next_ = 1; next_ < lines_.size();)
            readLine();
        document_.indexKeys();
    }

  private:
    std::string decode(std::string_view bytes) {
        auto& encoding = document_.format_.encoding;
        if (bytes.starts_with("\xff\xfe")) {
            bytes.remove_prefix(2);
            std::string text = utf16LeToUtf8(bytes);
            if (bytes.size() % 2 != 0)
                throw RegistryDocument::Unreadable{
                    static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1,
                    "the UTF-16 text ends in half a character"};
            encoding = RegistryFormat::Encoding::Utf16Le;
            return text;
        }
        if (bytes.starts_with("\xef\xbb\xbf")) {
            bytes.remove_prefix(3);
            encoding = RegistryFormat::Encoding::Utf8WithMark;
        }
        return std::string(bytes);
    }

    // Physical lines with their line ends.
    void splitLines(std::string_view text) {
        while (!text.empty()) {
            const auto end = text.find('\n');
            const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
            lines_.push_back(text.substr(0, length));
            text.remove_prefix(length);
        }
    }

    static std::string_view content(std::string_view line) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        return ascii::trimBlanks(line);
    }

    void readHeader() {
        auto& format = document_.format_;
        const std::string_view first = content(lines_[0]);
        if (first != kRegedit4Header && first != kVersion5Header)
            throw RegistryDocument::Unreadable{
                1, "it does not begin with \"REGEDIT4\" or \"Windows Registry Editor Version "
                   "5.00\""};
        format.version5 = first == kVersion5Header;
        format.lineEnd = lines_[0].ends_with("\r\n") ? "\r\n" : "\n";
        auto& preamble = document_.keys_[0].lines;
        preamble.clear();
        preamble.push_back({std::string(lines_[0]), false, {}});
    }

    void keep(std::string raw) { current().lines.push_back({std::move(raw), false, {}}); }

    void keepUnreadable(std::string raw, std::size_t lineNumber) {
        document_.unreadableLines_.push_back(lineNumber);
        keep(std::move(raw));
    }

    RegistryKey& current() { return document_.keys_[current_]; }

    void readLine() {
        const std::size_t lineNumber = next_ + 1;
        const std::string_view line = lines_[next_++];
        const std::string_view text = content(line);
        if (text.empty() || text.front() == ';')
            keep(std::string(line));
        else if (text.front() == '[')
            readKeyHeader(line, text, lineNumber);
        else
            readValue(line, lineNumber);
    }

    void readKeyHeader(std::string_view line, std::string_view text, std::size_t lineNumber) {
        const auto close = text.rfind(']');
        std::string_view path =
            text.substr(1, close == std::string_view::npos ? text.npos : close - 1);
        while (!path.empty() && path.back() == '\\')
            path.remove_suffix(1);
        // "[-key]" asks an import to delete a key: it and the lines that
        // follow it are kept as they stand, in a block of their own with no
        // path, and so is a header without a path.
        inDeletion_ = path.empty() || path.front() == '-';
        if (inDeletion_) {
            if (path.empty())
                document_.unreadableLines_.push_back(lineNumber);
            document_.keys_.push_back(RegistryKey{{}, std::string(line), {}, {}});
            current_ = document_.keys_.size() - 1;
            return;
        }
        if (const auto known = document_.keyAt_.find(path); known != document_.keyAt_.end()) {
            current_ = known->second; // the same key again: its values join the first block
            return;
        }
        document_.keys_.push_back(RegistryKey{std::string(path), std::string(line), {}, {}});
        current_ = document_.keys_.size() - 1;
        document_.keyAt_.emplace(document_.keys_.back().path, current_);
    }

    void readValue(std::string_view first, std::size_t lineNumber) {
        std::string raw(first);
        bool goesOn = continuesOnNextLine(content(first));
        while (goesOn && next_ < lines_.size()) {
            const std::string_view more = lines_[next_++];
            raw += more;
            goesOn = content(more).ends_with('\\');
        }
        std::string_view logical = raw;
        while (!logical.empty() && (logical.back() == '\n' || logical.back() == '\r'))
            logical.remove_suffix(1);
        ValueLine parsed = parseValueLine(logical, document_.format_.version5);
        if (inDeletion_ || parsed.kind == ValueLine::Kind::Deletion)
            keep(std::move(raw));
        else if (current_ == 0 || parsed.kind == ValueLine::Kind::Unreadable)
            keepUnreadable(std::move(raw), lineNumber);
        else
            addValue(std::move(raw), std::move(parsed.value));
        current().lines.back().goesOn = goesOn;
    }

    // A name given twice in one key: the later value counts, as in an import;
    // the earlier line stays as it stood.
    void addValue(std::string raw, RegistryValue value) {
        RegistryKey& key = current();
        if (const auto known = key.valueAt.find(value.name); known != key.valueAt.end()) {
            key.lines[known->second].isValue = false;
            key.valueAt.erase(known);
        }
        key.lines.push_back({std::move(raw), true, std::move(value)});
        key.valueAt.emplace(key.lines.back().value.name, key.lines.size() - 1);
    }

    RegistryDocument& document_;
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    std::size_t current_ = 0;
    bool inDeletion_ = false;
};

RegistryDocument RegistryDocument::parse(std::string_view bytes) {
    RegistryDocument document;
    RegistryParser(document).parse(bytes);
    return document;
}

} // namespace statvane
