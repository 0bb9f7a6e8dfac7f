#include "gui/help_key.h"

#include <QAbstractButton>
#include <QShortcut>

namespace statvane {

void bindHelpKey(QWidget& window, QAbstractButton& helpButton) {
    auto* key = new QShortcut(QKeySequence::HelpContents, &window);
    QObject::connect(key, &QShortcut::activated, &helpButton, &QAbstractButton::click);
}

} // namespace statvane
