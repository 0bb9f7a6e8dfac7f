#include "net/smtp/ehlo_reply.h"
#include "net/smtp/smtp_login.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

using Strings = std::vector<std::string>;

TEST(EhloReply, ReadsStartTlsAndTheAuthMechanisms) {
    const struct {
        const char* name;
        Strings lines;
        bool startTls;
        Strings mechanisms;
    } cases[] = {
        {"greeting only", {"250 mail.example"}, false, {}},
        {"both",
         {"250-mail.example Hello", "250-SIZE 1000", "250-STARTTLS", "250 AUTH PLAIN LOGIN"},
         true,
         {"PLAIN", "LOGIN"}},
        {"lower case", {"250-mail.example", "250-starttls", "250 auth login"}, true, {"login"}},
        {"old AUTH= form and doubled spaces",
         {"250-mail.example", "250-AUTH=LOGIN  CRAM-MD5", "250 HELP"},
         false,
         {"LOGIN", "CRAM-MD5"}},
        // The first line names the server, whatever it says.
        {"name that looks like a keyword", {"250-STARTTLS", "250 8BITMIME"}, false, {}},
        {"keyword as a prefix only", {"250-x", "250-STARTTLSX", "250 AUTHX PLAIN"}, false, {}},
        {"AUTH without mechanisms", {"250-x", "250 AUTH"}, false, {}},
        {"short lines", {"250-x", "250-", "250"}, false, {}},
    };
    for (const auto& c : cases) {
        const EhloExtensions offered = readEhloReply(c.lines);
        EXPECT_EQ(offered.startTls, c.startTls) << c.name;
        EXPECT_EQ(offered.authMechanisms, c.mechanisms) << c.name;
    }
}

TEST(SmtpLogin, PrefersPlainThenLogin) {
    const std::pair<Strings, std::optional<LoginMechanism>> cases[] = {
        {{"LOGIN", "PLAIN"}, LoginMechanism::Plain},
        {{"CRAM-MD5", "login"}, LoginMechanism::Login},
        {{"plain"}, LoginMechanism::Plain},
        {{"CRAM-MD5", "XOAUTH2"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [offered, chosen] : cases)
        EXPECT_EQ(chooseLoginMechanism(offered), chosen) << testing::PrintToString(offered);
}

TEST(SmtpLogin, PlainResponseIsNulSeparatedBase64) {
    EXPECT_EQ(plainLoginResponse("user", "pass"), "AHVzZXIAcGFzcw==");
    EXPECT_EQ(plainLoginResponse("", ""), "AAA=");
}

} // namespace
} // namespace statvane
