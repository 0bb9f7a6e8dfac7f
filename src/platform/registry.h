#pragma once

#include "platform/registry_document.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The current user's registry, kept as a REGEDIT4 text file. Key paths are
// given relative to HKEY_CURRENT_USER, with "\" between their parts. Every
// call reads the file and, when it changes something, replaces the file
// atomically, so no key stays open between operations. A new file is created
// with mode 0600 since it holds the proxy password.
class Registry {
  public:
    explicit Registry(std::filesystem::path file);

    // $STATVANE_SETTINGS, else $XDG_CONFIG_HOME/statvane/registry.reg
    // (default ~/.config/statvane/registry.reg).
    static std::filesystem::path defaultFile();

    const std::filesystem::path& file() const { return file_; }

    // True when the key exists afterwards; with canCreate a missing key is
    // created. False, without an error, when it is missing or cannot be stored.
    bool openKey(std::string_view key, bool canCreate);
    bool keyExists(std::string_view key) const;
    // Removes the key with all its subkeys; false when there was none or the
    // file could not be written.
    bool deleteKey(std::string_view key);

    // The key's value names in stored order; empty for a missing key.
    std::vector<std::string> valueNames(std::string_view key) const;

    // Nothing when the key or value is missing. A value of another kind raises
    // Error("Invalid data type for '<name>'").
    std::optional<std::string> readString(std::string_view key, std::string_view name) const;
    std::optional<std::int32_t> readInteger(std::string_view key, std::string_view name) const;

    // Create the key when needed. Raise Error("Failed to set data for '<name>'")
    // when the file cannot be written; what it held stays.
    void writeString(std::string_view key, std::string_view name, std::string_view value);
    void writeInteger(std::string_view key, std::string_view name, std::int32_t value);

  private:
    std::string fullPath(std::string_view key) const;
    RegistryDocument load() const;
    // The value when it exists; Error when it is of another kind.
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name,
                                           RegistryValue::Kind kind) const;
    bool store(const RegistryDocument& document) const;
    void writeValue(std::string_view key, const RegistryValue& value);

    std::filesystem::path file_;
};

} // namespace statvane
