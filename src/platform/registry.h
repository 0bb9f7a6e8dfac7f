#pragma once

#include "platform/error.h"
#include "platform/parsed_file.h"
#include "platform/registry_document.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace statvane {

// The settings file exists but is no registry export, or cannot be read.
class UnreadableRegistryFile : public Error {
  public:
    using Error::Error;
};

// The current user's registry, kept as a registry export file (REGEDIT4, or
// "Windows Registry Editor Version 5.00" in UTF-16 or UTF-8). Key paths are
// given relative to HKEY_CURRENT_USER, with "\" between their parts. The file
// is read again only when it has changed, and every change replaces it
// atomically with all its other lines as they stood, so no key stays open
// between operations and nothing the program cannot read is lost. A new file
// is created with mode 0600 since it holds the proxy password.
//
// A file that exists but is no registry export, or cannot be read, is never
// written: every call raises UnreadableRegistryFile naming the file (and the
// line). A device or a FIFO is not read either: "<full path> is not a regular
// file".
class Registry {
  public:
    explicit Registry(std::filesystem::path file);

    // $STATVANE_SETTINGS, else $XDG_CONFIG_HOME/statvane/registry.reg
    // (default ~/.config/statvane/registry.reg).
    static std::filesystem::path defaultFile();

    const std::filesystem::path& file() const { return file_.path(); }

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
    // As writeString, for a password: a value that is not empty makes the
    // file readable and writable by its owner only (mode 0600).
    void writeSecretString(std::string_view key, std::string_view name, std::string_view value);
    // Several strings in one replacement of the file, in the given order; the
    // error names the first of them.
    void writeStrings(std::string_view key,
                      const std::vector<std::pair<std::string, std::string>>& values);

    // The lines of the file, counted from 1, that it could not read; they
    // stay in the file as they stand.
    std::vector<std::size_t> unreadableLines() const;

    // Makes the calls on the registry while it lives one replacement of the
    // file: they change it in memory only (and raise no write error), and
    // commit() stores what they changed. A batch that ends without commit()
    // forgets the changes. One batch at a time.
    class Batch {
      public:
        explicit Batch(Registry& registry);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Raises Error("Failed to set data for '<name>'"), naming the first
        // value written in the batch, when the file cannot be written; it
        // then keeps what it held. Without a value written, a failure passes
        // in silence, as for openKey and deleteKey.
        void commit();

      private:
        Registry& registry_;
        HeldStores<RegistryDocument> held_;
    };

  private:
    std::string fullPath(std::string_view key) const;
    // The file's document, read again only when it has changed; the calls
    // that change it store it afterwards.
    RegistryDocument& load() const;
    ReplaceResult store(FileReaders readers = FileReaders::AsBefore);
    // The value when it exists; Error when it is of another kind.
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name,
                                           RegistryValue::Kind kind) const;
    void writeValues(std::string_view key, const std::vector<RegistryValue>& values,
                     FileReaders readers = FileReaders::AsBefore);

    // Holds the parsed file between calls; reading it again changes nothing.
    mutable ParsedFile<RegistryDocument> file_;
    // While a batch is open: the first value written in it, empty before.
    std::optional<std::string> firstValueInBatch_;
};

} // namespace statvane
