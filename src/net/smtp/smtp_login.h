#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The ways of sending a user name and password that the client knows.
enum class LoginMechanism { Plain, Login };

// PLAIN when the server offers it, else LOGIN; none when it offers neither.
std::optional<LoginMechanism> chooseLoginMechanism(const std::vector<std::string>& offered);

// The argument of "AUTH PLAIN": the user name and password in base64, each
// after a NUL.
std::string plainLoginResponse(std::string_view userName, std::string_view password);

} // namespace statvane
