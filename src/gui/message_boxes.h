#pragma once

#include "platform/prompt.h"

#include <QString>

class QWidget;

namespace statvane {

inline constexpr const char* kApplicationTitle = "Statvane";

// A message box with an OK button, through the dialog seam.
void showMessageBox(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon);

// A question with Yes and No buttons and the question icon; true for Yes.
bool askQuestion(QWidget* parent, const QString& caption, const QString& text);

// The windows' Prompt: message boxes captioned "Statvane".
class MessageBoxPrompt : public Prompt {
  public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}

    void showMessage(const std::string& text, MessageIcon icon) override;
    // The details stand below the text, one a line, after an empty line.
    void showMessageWithDetails(const std::string& text, MessageIcon icon,
                                const std::vector<std::string>& details) override;
    bool ask(const std::string& text) override;

  private:
    QWidget* parent_;
};

} // namespace statvane
