#pragma once

#include <QSize>
#include <string_view>

class QWidget;

namespace statvane {

class SettingsStore;

// The size a window first shows at: its design size, grown where its layout
// needs more room (larger fonts, longer texts), the height taken for the
// width when the layout's height depends on it.
QSize firstShowSize(const QWidget& window, QSize design);

// A window's size under the Positions key ("<form> Width", "<form> Height").
// Restoring applies each stored side that is not 0, smaller than the design
// size or not, bounded only by the room the screen has; a window of fixed
// size stays fixed at the restored size. A value that is missing or cannot
// be read leaves the design size without a message.
void restoreWindowSize(QWidget& window, SettingsStore& store, std::string_view form);
void storeWindowSize(const QWidget& window, SettingsStore& store, std::string_view form);

// Places the window in the middle of its screen's available area.
void centreOnScreen(QWidget& window);

} // namespace statvane
