#include "platform/error.h"

#include "platform/prompt.h"

#include <cstring>

namespace statvane {

std::string formatMessage(const std::string& pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

std::string systemErrorText(int systemError) {
    return std::strerror(systemError);
}

std::string fileDetail(const std::filesystem::path& file, const std::string& reason) {
    return file.string() + ": " + reason;
}

std::string notARegularFileText(const std::filesystem::path& file) {
    return std::filesystem::absolute(file).string() + " is " + kNotARegularFile;
}

std::string errorMessageText(const std::string& errorText) {
    if (!errorText.empty() && errorText.back() == '.')
        return errorText;
    return errorText + ".";
}

void showError(Prompt& prompt, const Error& error) {
    prompt.showMessage(errorMessageText(error.what()), MessageIcon::Error);
    if (!error.detail().empty())
        prompt.showDetail(error.detail());
}

} // namespace statvane
