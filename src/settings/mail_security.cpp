#include "settings/mail_security.h"

#include "platform/ascii.h"

#include <iterator>

namespace statvane {

std::optional<MailSecurityMode> mailSecurityMode(std::string_view text) {
    if (text.empty())
        return MailSecurityMode::None;
    for (std::size_t mode = 0; mode < std::size(kMailSecurityNames); ++mode)
        if (ascii::equalsIgnoringCase(text, kMailSecurityNames[mode]))
            return static_cast<MailSecurityMode>(mode);
    return std::nullopt;
}

} // namespace statvane
