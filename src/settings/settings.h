#pragma once

#include <string>
#include <vector>

namespace statvane {

// The live per-user settings. Text is 8-bit bytes, kept as typed.
struct Settings {
    bool DefaultBrowser = true;
    std::string BrowserPath;
    std::string WebSite;
    std::string MaxCache = "10000";
    std::string ProxyServerAddress;
    std::string ProxyPort;
    std::string ProxyUserName;
    std::string ProxyPassword;
    std::string MailServer;
    std::string MailSubject = "Statvane Report";
    std::string MailSender;
    std::string MailReplyTo;
    // "None", "STARTTLS" or "TLS" (see mail_security.h); empty is "None".
    std::string MailSecurity;
    std::string MailUserName;
    std::string MailPassword;
    std::vector<std::string> VisitorFilterList;
    std::vector<std::string> ReferrerFilterList;
    std::vector<std::string> TopPagesFilterList;
};

} // namespace statvane
