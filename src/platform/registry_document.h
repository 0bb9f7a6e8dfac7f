#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The registry's own export format (REGEDIT4) held in memory: keys with their
// values in stored order. Strings and 32-bit integers are typed; values of any
// other kind keep their text as it stood after the "=".
struct RegistryValue {
    enum class Kind { String, Integer, Other };
    std::string name;
    Kind kind = Kind::String;
    std::string text; // the string, or the raw data of another kind
    std::int32_t integer = 0;
};

struct RegistryKey {
    std::string path; // full path, hive included
    std::vector<RegistryValue> values;

    RegistryValue* findValue(std::string_view name);
};

struct RegistryDocument {
    std::vector<RegistryKey> keys;

    RegistryKey* findKey(std::string_view path);
    RegistryKey& createKey(std::string_view path);
    // Removes the key and every key below it; false when none existed.
    bool deleteKey(std::string_view path);
    bool hasKeyOrSubkey(std::string_view path) const;

    static RegistryDocument parse(std::string_view text);
    std::string serialize() const;
};

} // namespace statvane
