#pragma once

#include <fstream>
#include <optional>
#include <string>

namespace statvane {

// Reads a file as base64 lines of 60 characters (45 bytes each), the last one
// shorter; an empty file gives one empty line. Only one line's bytes are held
// at a time.
class Base64FileReader {
  public:
    static constexpr std::size_t bytesPerLine = 45;

    // False when the file cannot be opened.
    bool open(const std::string& path);
    // The next line; none after the last one. failed() tells a read error from
    // the end of the file.
    std::optional<std::string> nextLine();
    bool failed() const { return failed_; }
    void close();

  private:
    std::ifstream file_;
    bool anyLine_ = false;
    bool failed_ = false;
};

} // namespace statvane
