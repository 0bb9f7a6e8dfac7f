#pragma once

#include "platform/ascii.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace statvane {

// A value of the registry: strings and 32-bit integers are typed; values of
// any other kind keep their text as it stood after the "=".
struct RegistryValue {
    enum class Kind { String, Integer, Other };
    std::string name;
    Kind kind = Kind::String;
    std::string text; // the string, or the raw data of another kind
    std::int32_t integer = 0;
};

// How an export file is written: REGEDIT4 holds 8-bit text; "Windows
// Registry Editor Version 5.00" holds Unicode, as UTF-16 little-endian with a
// byte-order mark or as UTF-8.
struct RegistryFormat {
    enum class Encoding { Bytes, Utf8WithMark, Utf16Le };
    Encoding encoding = Encoding::Bytes;
    bool version5 = false;
    std::string lineEnd = "\r\n";
};

// One line of a key's block as it stands in the file: a value, or anything
// else (blank lines, comments, lines that cannot be read), kept as it is.
// A value's line is written again only when the value has changed.
struct RegistryLine {
    std::string raw; // the text as read, line ends included; empty once changed
    bool isValue = false;
    RegistryValue value;
    // Hex data that goes on with "\\" on the file's last line: a line written
    // after it must not be read as its continuation.
    bool goesOn = false;
};

struct RegistryKey {
    std::string path;   // full path, hive included
    std::string header; // the key's line as read; empty for a new key
    std::vector<RegistryLine> lines;
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        valueAt;
};

// A registry export file held in memory with every line of it, so that
// writing it back changes only what was changed: comments, lines it cannot
// read and values it never touched stay as they stood, in their place.
// Look-ups of keys and values ignore letter case and cost no search.
class RegistryDocument {
  public:
    // Text that is no registry export at all: its line and what is wrong.
    struct Unreadable {
        std::size_t line;
        std::string reason;
    };

    RegistryDocument();

    // The file's bytes; an empty file is an empty document. Raises
    // Unreadable when the bytes are no registry export.
    static RegistryDocument parse(std::string_view bytes);
    // The file's bytes in the format it was read in.
    std::string serialize() const;

    const RegistryFormat& format() const { return format_; }
    // Lines, counted from 1, that hold neither a key, a value, a comment nor
    // nothing: each stays in the file as it stood.
    const std::vector<std::size_t>& unreadableLines() const { return unreadableLines_; }

    bool hasKeyOrSubkey(std::string_view path) const;
    bool hasKey(std::string_view path) const;
    const RegistryValue* findValue(std::string_view path, std::string_view name) const;
    // The key's value names in stored order; empty for a missing key.
    std::vector<std::string> valueNames(std::string_view path) const;

    void createKey(std::string_view path);
    // Removes the key and every key below it with their values; other lines
    // of theirs stay. False when none existed.
    bool deleteKey(std::string_view path);
    // Creates the key when needed. An existing value keeps its place and the
    // spelling of its name; a new one follows the key's last value.
    void setValue(std::string_view path, RegistryValue value);

  private:
    RegistryKey& keyFor(std::string_view path);
    void indexKeys();

    RegistryFormat format_;
    // keys_[0] holds the lines before the first key; it has no path, and
    // neither has a block that asks to delete a key ("[-path]").
    std::vector<RegistryKey> keys_;
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        keyAt_;
    std::vector<std::size_t> unreadableLines_;

    friend class RegistryParser;
};

} // namespace statvane
