#pragma once

class QAbstractButton;
class QWidget;

namespace statvane {

// The help key (F1) anywhere in the window presses its Help button.
void bindHelpKey(QWidget& window, QAbstractButton& helpButton);

} // namespace statvane
