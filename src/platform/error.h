#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace statvane {

// An error raised by the file, registry, stream or network layers. Its text is
// exactly what the user is shown; it ends the current command.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& text, std::string detail = {})
        : std::runtime_error(text), detail_(std::move(detail)) {}

    // What the system said about the failure, naming the file concerned
    // ("/var/www/report.txt: No space left on device"); empty when there is
    // nothing to add to the text. Shown below the message where there is room
    // for it (the batch run), left out by message boxes.
    const std::string& detail() const { return detail_; }

  private:
    std::string detail_;
};

// Replaces the first "%s" of a message template with the given text.
std::string formatMessage(const std::string& pattern, const std::string& argument);

// The reason given for a file that exists but is not an ordinary file (a
// device, a FIFO, a socket).
inline constexpr const char* kNotARegularFile = "not a regular file";

// The error text for a file of the program's own (settings, profiles) that is
// not a regular file: "<full path> is not a regular file".
std::string notARegularFileText(const std::filesystem::path& file);

// The system's own words for an error number ("Permission denied").
std::string systemErrorText(int systemError);

// A detail line about one file: its path, a colon and the reason.
std::string fileDetail(const std::filesystem::path& file, const std::string& reason);

} // namespace statvane
