#include "gui/action_button.h"

#include <QAction>
#include <QPushButton>

namespace statvane {

void bindButton(QPushButton& button, QAction& action) {
    const auto follow = [&button, &action] {
        button.setText(action.iconText());
        button.setEnabled(action.isEnabled());
    };
    follow();
    QObject::connect(&action, &QAction::changed, &button, follow);
    QObject::connect(&button, &QPushButton::clicked, &action, &QAction::trigger);
}

} // namespace statvane
