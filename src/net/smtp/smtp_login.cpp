#include "net/smtp/smtp_login.h"

#include "net/base64.h"
#include "platform/ascii.h"

#include <algorithm>

namespace statvane {

std::optional<LoginMechanism> chooseLoginMechanism(const std::vector<std::string>& offered) {
    const auto offers = [&offered](std::string_view name) {
        return std::any_of(offered.begin(), offered.end(), [name](const std::string& mechanism) {
            return ascii::equalsIgnoringCase(mechanism, name);
        });
    };
    if (offers("PLAIN"))
        return LoginMechanism::Plain;
    if (offers("LOGIN"))
        return LoginMechanism::Login;
    return std::nullopt;
}

std::string plainLoginResponse(std::string_view userName, std::string_view password) {
    std::string credentials(1, '\0');
    credentials.append(userName);
    credentials.push_back('\0');
    credentials.append(password);
    return base64Encode(credentials);
}

} // namespace statvane
