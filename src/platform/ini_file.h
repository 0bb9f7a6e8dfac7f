#pragma once

#include "platform/ini_document.h"
#include "platform/parsed_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// A private-profile (INI) text file read and written with the results of the
// Windows functions (see IniDocument): CR LF is written and CR LF or LF read,
// values are bytes, never converted. The file is read again only when it has
// changed, and every write replaces it atomically. A file that cannot be read
// reads as missing, and is never written over. A file that is not a regular
// file (a device, a FIFO) is neither read nor written: every call raises
// Error("<full path> is not a regular file").
class IniFile {
  public:
    explicit IniFile(std::filesystem::path file);

    const std::filesystem::path& path() const { return file_.path(); }

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
    // Several keys of one section in one replacement of the file.
    void writeValues(std::string_view section, const IniDocument::KeyValues& values);
    void eraseSection(std::string_view section);
    // The section erased and written again with just these keys, in order.
    void replaceSection(std::string_view section, const IniDocument::KeyValues& values);

    // Makes the writes to the file while it lives one replacement of it:
    // they change it in memory only, and commit() stores what they changed,
    // raising the write error above. A batch that ends without commit()
    // forgets the changes.
    class Batch {
      public:
        explicit Batch(IniFile& file) : file_(file), held_(file.file_) {}
        void commit();

      private:
        IniFile& file_;
        HeldStores<IniDocument> held_;
    };

  private:
    const IniDocument& loadForReading() const;
    IniDocument& loadForWriting();
    void store();

    // Holds the parsed file between calls; reading it again changes nothing.
    mutable ParsedFile<IniDocument> file_;
};

} // namespace statvane
