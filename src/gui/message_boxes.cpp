#include "gui/message_boxes.h"

#include "gui/display_text.h"

namespace statvane {

void MessageBoxPrompt::showMessage(const std::string& text, MessageIcon icon) {
    dialogs_.showMessage(parent_, kApplicationTitle, displayText(text), icon);
}

void MessageBoxPrompt::showMessageWithDetails(const std::string& text, MessageIcon icon,
                                              const std::vector<std::string>& details) {
    std::string shown = text;
    if (!details.empty())
        shown += "\n";
    for (const auto& line : details)
        shown += "\n" + line;
    showMessage(shown, icon);
}

bool MessageBoxPrompt::ask(const std::string& text) {
    return dialogs_.ask(parent_, kApplicationTitle, displayText(text));
}

} // namespace statvane
