#include "gui/message_boxes.h"

#include "gui/dialog_script.h"
#include "gui/display_text.h"

#include <QApplication>
#include <QMessageBox>

namespace statvane {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A message box shows the normal cursor even while a command is busy.
class NormalCursor {
  public:
    NormalCursor() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor() {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

  private:
    bool busy_;
};

const QWidget* ownerWindow(const QWidget* parent) {
    return parent ? parent->window() : nullptr;
}

} // namespace

void showMessageBox(QWidget* parent, const QString& caption, const QString& text,
                    MessageIcon icon) {
    if (auto* script = DialogScript::active()) {
        script->record({ShownDialog::Kind::Message, caption, text, icon, ownerWindow(parent)});
        return;
    }
    NormalCursor normal;
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool askQuestion(QWidget* parent, const QString& caption, const QString& text) {
    if (auto* script = DialogScript::active())
        return script->record({ShownDialog::Kind::Question, caption, text, MessageIcon::Question,
                               ownerWindow(parent)});
    NormalCursor normal;
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompt::showMessage(const std::string& text, MessageIcon icon) {
    showMessageBox(parent_, kApplicationTitle, displayText(text), icon);
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
    return askQuestion(parent_, kApplicationTitle, displayText(text));
}

} // namespace statvane
