#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// A private-profile (INI) text file read and written with the results of the
// Windows functions: section and key names match ignoring letter case, keys are
// appended at the end of their section and sections at the end of the file,
// CR LF is written and CR LF or LF read. Values are bytes, never converted.
// Every call opens the file, does its work and lets go of it; every write
// replaces the file atomically.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path file);

    const std::filesystem::path& path() const { return file_; }

    // The value with blanks around it and one pair of enclosing quotes
    // dropped; nothing when the file, section or key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}) const;

    // Every section name once, in file order.
    std::vector<std::string> sectionNames() const;

    // Raise Error("Unable to write to <full path>") when the file cannot be
    // replaced; it then keeps its old contents.
    void write(std::string_view section, std::string_view key, std::string_view value);
    void eraseSection(std::string_view section);

  private:
    std::vector<std::string> readLines() const;
    void writeLines(const std::vector<std::string>& lines) const;

    std::filesystem::path file_;
};

} // namespace statvane
