#include "shell/stream_prompt.h"

namespace statvane {

void StreamPrompt::showMessage(const std::string& text, MessageIcon) {
    std::fprintf(stream_, "Statvane: %s\n", text.c_str());
    std::fflush(stream_);
    shown_ = true;
}

bool StreamPrompt::ask(const std::string& text) {
    showMessage(text, MessageIcon::Question);
    return false;
}

} // namespace statvane
