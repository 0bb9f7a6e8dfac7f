#pragma once

#include <optional>
#include <string_view>

namespace statvane {

// How report mails reach the mail server: in clear, upgraded by STARTTLS, or
// over TLS from the first byte.
enum class MailSecurityMode { None, StartTls, Tls };

// The stored texts of the modes, in the order of MailSecurityMode.
inline constexpr const char* kMailSecurityNames[] = {"None", "STARTTLS", "TLS"};

// The mode a stored text names, letter case ignored; empty text is None.
// None of them for any other text.
std::optional<MailSecurityMode> mailSecurityMode(std::string_view text);

} // namespace statvane
