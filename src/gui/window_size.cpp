#include "gui/window_size.h"

#include "settings/settings_store.h"

#include <QWidget>

namespace statvane {

// The size is the window's own area without the frame that the window
// manager adds, so that it is the same measure whether the frame is known
// yet or not and a window never grows from one start to the next.
void restoreWindowSize(QWidget& window, SettingsStore& store, std::string_view form) {
    const WindowSize stored = store.readWindowSize(form);
    const QSize size(stored.width != 0 ? stored.width : window.width(),
                     stored.height != 0 ? stored.height : window.height());
    if (window.minimumSize() == window.maximumSize())
        window.setFixedSize(size);
    else
        window.resize(size);
}

void storeWindowSize(const QWidget& window, SettingsStore& store, std::string_view form) {
    store.writeWindowSize(form, {window.width(), window.height()});
}

} // namespace statvane
