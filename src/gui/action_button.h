#pragma once

class QAction;
class QPushButton;

namespace statvane {

// Makes the button one more face of the action: a click triggers the action,
// and the button shows the action's icon text and follows its enabled state.
void bindButton(QPushButton& button, QAction& action);

} // namespace statvane
