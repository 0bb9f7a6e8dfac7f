#include "gui/window_size.h"

#include "settings/settings_store.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace statvane {
namespace {

int storedSide(std::int32_t stored, int current, int available) {
    return stored != 0 ? std::min(stored, available) : current;
}

} // namespace

QSize firstShowSize(const QWidget& window, QSize design) {
    QSize size = design.expandedTo(window.sizeHint());
    if (const QLayout* layout = window.layout(); layout && layout->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout->totalHeightForWidth(size.width())));
    return size;
}

// The size is the window's own area without the frame that the window
// manager adds, so that it is the same measure whether the frame is known
// yet or not and a window never grows from one start to the next.
void restoreWindowSize(QWidget& window, SettingsStore& store, std::string_view form) {
    const WindowSize stored = store.readWindowSize(form);
    const QSize available = window.screen()->availableGeometry().size();
    const QSize size(storedSide(stored.width, window.width(), available.width()),
                     storedSide(stored.height, window.height(), available.height()));
    if (window.minimumSize() == window.maximumSize())
        window.setFixedSize(size);
    else
        window.resize(size);
}

void storeWindowSize(const QWidget& window, SettingsStore& store, std::string_view form) {
    store.writeWindowSize(form, {window.width(), window.height()});
}

void centreOnScreen(QWidget& window) {
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
}

} // namespace statvane
