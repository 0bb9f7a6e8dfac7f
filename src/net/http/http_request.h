#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace statvane {

// What one HEAD request says. Empty texts leave their header line out.
struct HeadRequest {
    std::string path;
    std::string host;
    std::string sender;
    std::string accept;
    std::string reference;
    std::string agent;
    bool noCache = false;
    std::optional<std::chrono::sys_seconds> modifiedSince;
    std::string user; // Authorization is sent when a user is set
    std::string password;
    std::string proxyUser; // Proxy-Authorization is sent when a proxy user is set
    std::string proxyPassword;
    std::string cookie;
};

// The request as sent: one line each, ending in CR LF, then an empty line.
std::string requestText(const HeadRequest& request);

// "Basic " and the Base64 of user ":" password, for the authorisation headers.
std::string basicAuthorization(const std::string& user, const std::string& password);

} // namespace statvane
