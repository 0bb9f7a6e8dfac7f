#include "net/smtp/smtp_text.h"

namespace statvane {
namespace {

bool isControlOrSpace(char c) {
    return static_cast<unsigned char>(c) < 33;
}

} // namespace

std::string_view trimControls(std::string_view text) {
    while (!text.empty() && isControlOrSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isControlOrSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace statvane
