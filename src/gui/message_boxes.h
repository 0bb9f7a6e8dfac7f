#pragma once

#include "gui/dialogs.h"

namespace statvane {

inline constexpr const char* kApplicationTitle = "Statvane";

// The windows' Prompt: message boxes captioned "Statvane".
class MessageBoxPrompt : public Prompt {
  public:
    explicit MessageBoxPrompt(Dialogs& dialogs, QWidget* parent = nullptr)
        : dialogs_(dialogs), parent_(parent) {}

    void showMessage(const std::string& text, MessageIcon icon) override;
    // The details stand below the text, one a line, after an empty line.
    void showMessageWithDetails(const std::string& text, MessageIcon icon,
                                const std::vector<std::string>& details) override;
    bool ask(const std::string& text) override;

  private:
    Dialogs& dialogs_;
    QWidget* parent_;
};

} // namespace statvane
