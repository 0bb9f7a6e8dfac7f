#pragma once

#include <QIcon>

namespace statvane {

// The one icon of every report in the main window's list: a page with a bar
// chart, drawn for any screen density.
QIcon reportIcon();

} // namespace statvane
