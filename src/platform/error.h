#pragma once

#include <stdexcept>
#include <string>

namespace statvane {

// An error raised by the file, registry, stream or network layers. Its text is
// exactly what the user is shown; it ends the current command.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// Replaces the first "%s" of a message template with the given text.
std::string formatMessage(const std::string& pattern, const std::string& argument);

} // namespace statvane
