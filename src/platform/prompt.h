#pragma once

#include <string>

namespace statvane {

enum class MessageIcon { Information, Warning, Error, Question };

// Message boxes captioned "Statvane". Windows show them; the batch run
// prints them; tests record them.
class Prompt {
  public:
    virtual ~Prompt() = default;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool ask(const std::string& text) = 0;
};

// The text the general error handler shows for an error: the error's text
// followed by a full stop.
std::string errorMessageText(const std::string& errorText);

} // namespace statvane
