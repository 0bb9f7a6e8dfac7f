#pragma once

#include <QString>
#include <string_view>

namespace statvane {

// Text from files and logs is bytes: windows show it decoded as UTF-8 where
// it is valid and as Latin-1 otherwise.
QString displayText(std::string_view bytes);

} // namespace statvane
