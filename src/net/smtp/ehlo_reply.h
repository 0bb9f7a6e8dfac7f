#pragma once

#include <string>
#include <vector>

namespace statvane {

// What a server's reply to EHLO offers that the client can use.
struct EhloExtensions {
    bool startTls = false;
    // The AUTH mechanisms, in the server's order and spelling.
    std::vector<std::string> authMechanisms;
};

// Reads the lines of a 250 reply to EHLO: the first names the server, each
// further one an extension keyword and its parameters ("250-STARTTLS",
// "250 AUTH PLAIN LOGIN"; the older "AUTH=LOGIN" form as well). Keywords are
// matched ignoring letter case.
EhloExtensions readEhloReply(const std::vector<std::string>& lines);

} // namespace statvane
