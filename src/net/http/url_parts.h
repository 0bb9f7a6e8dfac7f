#pragma once

#include <string>
#include <string_view>

namespace statvane {

// The pieces of a web address: scheme "://" [user [":" password] "@"] host
// [":" port] [path]. Pieces the address does not give are empty, except the
// scheme, which is "http" unless given.
struct UrlParts {
    std::string scheme = "http";
    std::string user;
    std::string password;
    std::string host;
    std::string port;
    std::string path;
};

// Splits an address. Without "://", an address beginning with "/" is a bare
// path, one beginning with "http:" (any case) is read after those five
// characters, and anything else is read as host and path.
UrlParts splitUrl(std::string_view url);

// scheme "://" host [":" port] path, the form a proxy is asked for.
std::string absoluteAddress(const UrlParts& parts);

} // namespace statvane
