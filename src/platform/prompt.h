#pragma once

#include <string>
#include <vector>

namespace statvane {

class Error;

enum class MessageIcon { Information, Warning, Error, Question };

// Message boxes captioned "Statvane". Windows show them; the batch run
// prints them; tests record them.
class Prompt {
  public:
    virtual ~Prompt() = default;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    // A line that goes with the message just shown and says more than its
    // fixed text can: which file, and the system's reason. The batch run
    // prints it below the message; a message box has no room for it and
    // leaves it out.
    virtual void showDetail(const std::string& /*line*/) {}
    // A message with the lines that name what it speaks of, known before it
    // is shown. The batch run prints them as detail lines; a message box
    // shows them below its fixed text.
    virtual void showMessageWithDetails(const std::string& text, MessageIcon icon,
                                        const std::vector<std::string>& details) {
        showMessage(text, icon);
        for (const auto& line : details)
            showDetail(line);
    }
};

// The text the general error handler shows for an error: the error's text
// followed by a full stop.
std::string errorMessageText(const std::string& errorText);

// Shows an error as the general error handler does (its text, error icon),
// followed by its detail line when it has one.
void showError(Prompt& prompt, const Error& error);

} // namespace statvane
