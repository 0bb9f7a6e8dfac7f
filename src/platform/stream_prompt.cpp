#include "platform/stream_prompt.h"

namespace statvane {

void StreamPrompt::showMessage(const std::string& text, MessageIcon) {
    printLine(text);
}

void StreamPrompt::showDetail(const std::string& line) {
    printLine(line);
}

void StreamPrompt::printLine(const std::string& text) {
    std::fprintf(stream_, "Statvane: %s\n", text.c_str());
    std::fflush(stream_);
}

bool StreamPrompt::ask(const std::string& text) {
    showMessage(text, MessageIcon::Question);
    return false;
}

} // namespace statvane
