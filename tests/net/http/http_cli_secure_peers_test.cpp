#include "http_test_support.h"
#include "net/tls_trust.h"
#include "peers/peer_process.h"
#include "peers/test_certificates.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <memory>

// The client's https requests against real servers on loopback: Python's web
// server behind its ssl module with the certificates the test makes (good,
// wrong name, expired, self-signed), the same server without TLS, and
// tinyproxy tunnelling to it with Basic authorisation.

namespace statvane::test {
namespace {

class HttpCliSecurePeers : public ::testing::Test {
  protected:
    // The certificates take a second to make: once for all the tests.
    static void SetUpTestSuite() { certificates = std::make_unique<TestCertificates>(); }
    static void TearDownTestSuite() { certificates.reset(); }

    void SetUp() override {
        REQUIRE_PEER("python3");
        ASSERT_TRUE(certificates->made()) << certificates->errorText().toStdString();
        writeFile(site / "small.html", std::string(1000, 's'));
        writeFile(site / "large.bin", std::string(2000, 'l'));
        client.setHostLookup(names.lookup());
        client.setTimeoutMs(10000);
        client.setUntrustedServerHandler(
            [this](const std::string& server, const std::string& reason) {
                untrusted.emplace_back(server, reason);
            });
    }

    // A server for the site over TLS with the named certificate, or without
    // TLS for an empty name; its port.
    quint16 startServer(const std::string& certificate) {
        QStringList arguments{WEB_FILE_SERVER, QString::number(freeLoopbackPort())};
        if (!certificate.empty())
            arguments << file(certificate + ".pem") << file(certificate + ".key");
        auto& server = servers.emplace_back(std::make_unique<PeerProcess>());
        const quint16 port = arguments[1].toUShort();
        EXPECT_TRUE(
            server->start("python3", arguments, port, QString::fromStdString(site.path().string())))
            << server->errorText().toStdString();
        return port;
    }

    // tinyproxy with Basic authorisation, tunnelling to the allowed ports only.
    quint16 startProxy(std::initializer_list<quint16> allowedPorts) {
        const quint16 port = freeLoopbackPort();
        std::string text = "Port " + std::to_string(port) +
                           "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth user password\n"
                           "Timeout 30\nMaxClients 10\nLogLevel Critical\n";
        for (const quint16 allowed : allowedPorts)
            text += "ConnectPort " + std::to_string(allowed) + "\n";
        const auto conf = site / ("tinyproxy" + std::to_string(port) + ".conf");
        writeFile(conf, text);
        auto& proxy = servers.emplace_back(std::make_unique<PeerProcess>());
        EXPECT_TRUE(
            proxy->start("tinyproxy", {"-d", "-c", QString::fromStdString(conf.string())}, port))
            << proxy->errorText().toStdString();
        return port;
    }

    static QString file(const std::string& name) {
        return certificates->file(QString::fromStdString(name));
    }

    static std::string secureUrl(const std::string& host, quint16 port, const std::string& path) {
        return "https://" + host + ":" + std::to_string(port) + path;
    }

    static inline std::unique_ptr<TestCertificates> certificates;
    ScopedEnv trustTestAuthority{kExtraCaFileVariable, file("ca.pem").toStdString()};
    TempDir site;
    std::vector<std::unique_ptr<PeerProcess>> servers;
    LoopbackNames names;
    THttpCli client;
    std::vector<std::pair<std::string, std::string>> untrusted;
};

TEST_F(HttpCliSecurePeers, ReadsContentLengthOverTls) {
    const quint16 port = startServer("server");
    ASSERT_FALSE(HasFailure());
    const std::pair<std::string, std::int64_t> cases[] = {
        {secureUrl("localhost", port, "/small.html"), 1000},
        {secureUrl("127.0.0.1", port, "/large.bin"), 2000},
    };
    for (const auto& [url, size] : cases) {
        client.setURL(url);
        const auto error = requestHead(client);
        ASSERT_FALSE(error) << url << ": " << error->what();
        EXPECT_EQ(client.ResponseStatus(), 200) << url;
        EXPECT_EQ(client.ResponseLength(), size) << url;
        EXPECT_TRUE(client.ResponseHeader().front().starts_with("HTTP/1.0 200")) << url;
    }
    EXPECT_TRUE(untrusted.empty());
}

struct UntrustedCase {
    const char* name;
    std::string certificate;
    std::string host;
    bool trustTestAuthority;
    std::string reason; // a part of the reason
};

TEST_F(HttpCliSecurePeers, UntrustedCertificateFailsAndIsTold) {
    const UntrustedCase cases[] = {
        {"certificate for another name", "wrongname", "localhost", true, "host name"},
        {"name not in the certificate", "server", "pages.test", true, "host name"},
        {"expired", "expired", "localhost", true, "expired"},
        {"self-signed", "selfsigned", "localhost", true, "self-signed"},
        {"authority not trusted", "server", "localhost", false, ""},
    };
    for (const UntrustedCase& c : cases) {
        const quint16 port = startServer(c.certificate);
        ASSERT_FALSE(HasFailure()) << c.name;
        std::optional<ScopedEnv> systemStoreOnly;
        if (!c.trustTestAuthority)
            systemStoreOnly.emplace(kExtraCaFileVariable, "");
        untrusted.clear();
        client.setURL(secureUrl(c.host, port, "/small.html"));
        const auto error = requestHead(client);
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->ResponseStatus(), 404) << c.name;
        ASSERT_EQ(untrusted.size(), 1u) << c.name;
        const auto& [server, reason] = untrusted.front();
        EXPECT_EQ(server, c.host + ":" + std::to_string(port)) << c.name;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
        EXPECT_EQ(error->ResponseReason(), "can't verify the server's certificate: " + reason)
            << c.name;
        EXPECT_EQ(client.ResponseLength(), -1) << c.name;
    }
}

TEST_F(HttpCliSecurePeers, FollowsRedirectionsBetweenHttpAndHttps) {
    const quint16 secure = startServer("server");
    const quint16 plain = startServer("");
    ASSERT_FALSE(HasFailure());
    const std::string plainSite = "http://127.0.0.1:" + std::to_string(plain);
    const std::string secureSite = "https://localhost:" + std::to_string(secure);
    // (first address, final address, size)
    const std::tuple<std::string, std::string, std::int64_t> cases[] = {
        {plainSite + "/to/" + secureSite + "/small.html", secureSite + "/small.html", 1000},
        {secureSite + "/to/" + plainSite + "/large.bin", plainSite + "/large.bin", 2000},
        {secureSite + "/to//large.bin", secureSite + "/large.bin", 2000},
    };
    for (const auto& [first, last, size] : cases) {
        client.setURL(first);
        const auto error = requestHead(client);
        ASSERT_FALSE(error) << first << ": " << error->what();
        EXPECT_EQ(client.CurrentAddress(), last) << first;
        EXPECT_EQ(client.ResponseLength(), size) << first;
    }
}

struct TunnelCase {
    const char* name;
    std::string user;
    std::string password;
    bool portAllowed;
    std::string certificate;
    int status;
};

TEST_F(HttpCliSecurePeers, TunnelsThroughTinyproxy) {
    REQUIRE_PEER("tinyproxy");
    const quint16 good = startServer("server");
    const quint16 wrongName = startServer("wrongname");
    const quint16 allowing = startProxy({good, wrongName});
    const quint16 refusing = startProxy({1});
    ASSERT_FALSE(HasFailure());
    const TunnelCase cases[] = {
        {"authorised", "user", "password", true, "server", 200},
        {"no user", "", "", true, "server", 407},
        // tinyproxy answers wrong credentials with 401 rather than 407.
        {"wrong password", "user", "wrong", true, "server", 401},
        {"port not allowed", "user", "password", false, "server", 403},
        {"certificate for another name", "user", "password", true, "wrongname", 404},
    };
    for (const TunnelCase& c : cases) {
        const quint16 server = c.certificate == "server" ? good : wrongName;
        client.setProxy("127.0.0.1:" + std::to_string(c.portAllowed ? allowing : refusing));
        client.setProxyUsername(c.user);
        client.setProxyPassword(c.password);
        client.setURL(secureUrl("localhost", server, "/small.html"));
        untrusted.clear();
        const auto error = requestHead(client);
        EXPECT_EQ(client.ResponseStatus(), c.status) << c.name << ": " << client.ResponseReason();
        EXPECT_EQ(error.has_value(), c.status >= 400) << c.name;
        EXPECT_EQ(client.ResponseLength(), error ? -1 : 1000) << c.name;
        EXPECT_EQ(untrusted.size(), c.certificate == "wrongname" ? 1u : 0u) << c.name;
    }
    EXPECT_TRUE(names.asked().isEmpty()) << names.asked().join(",").toStdString();
}

} // namespace
} // namespace statvane::test
