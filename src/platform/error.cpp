#include "platform/error.h"

#include "platform/prompt.h"

namespace statvane {

std::string formatMessage(const std::string& pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

std::string errorMessageText(const std::string& errorText) {
    if (!errorText.empty() && errorText.back() == '.')
        return errorText;
    return errorText + ".";
}

} // namespace statvane
