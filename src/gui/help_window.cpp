#include "gui/help_window.h"
namespace statvane {
HelpWindow::HelpWindow(Prompt&, QWidget* parent) : QWidget(parent) {}
void HelpWindow::showContents() {}
void HelpWindow::showTopic(int) {}
} // namespace statvane
