#pragma once

#include <string_view>

class QWidget;

namespace statvane {

class SettingsStore;

// A window's size under the Positions key ("<form> Width", "<form> Height").
// Restoring applies each stored side that is not 0; a window of fixed size
// stays fixed at the restored size. A value that is missing or cannot be
// read leaves the design size without a message.
void restoreWindowSize(QWidget& window, SettingsStore& store, std::string_view form);
void storeWindowSize(const QWidget& window, SettingsStore& store, std::string_view form);

} // namespace statvane
