#include "http_test_support.h"
#include "net/http/http_head_requester.h"
#include "peers/peer_process.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

// The client against real servers on loopback: Python's web server serving
// files of known sizes, and tinyproxy with Basic authorisation in front of it.

namespace statvane::test {
namespace {

class HttpCliPeers : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_PEER("python3");
        writeFile(site / "small.html", std::string(1000, 's'));
        writeFile(site / "large.bin", std::string(2000, 'l'));
        webPort = freeLoopbackPort();
        ASSERT_TRUE(web.start(
            "python3", {"-m", "http.server", "--bind", "127.0.0.1", QString::number(webPort)},
            webPort, QString::fromStdString(site.path().string())))
            << web.errorText().toStdString();
        client.setHostLookup(names.lookup());
        client.setTimeoutMs(10000);
    }

    void startProxy() {
        REQUIRE_PEER("tinyproxy");
        proxyPort = freeLoopbackPort();
        const auto conf = proxyFolder / "tinyproxy.conf";
        writeFile(conf, "Port " + std::to_string(proxyPort) +
                            "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth user password\n"
                            "Timeout 30\nMaxClients 10\nLogLevel Critical\n");
        ASSERT_TRUE(proxy.start("tinyproxy", {"-d", "-c", QString::fromStdString(conf.string())},
                                proxyPort))
            << proxy.errorText().toStdString();
    }

    static int openDescriptors() {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return static_cast<int>(std::distance(begin(fds), end(fds)));
    }

    TempDir site;
    TempDir proxyFolder;
    quint16 webPort = 0;
    quint16 proxyPort = 0;
    PeerProcess web;
    PeerProcess proxy;
    LoopbackNames names;
    THttpCli client;
};

TEST_F(HttpCliPeers, ReadsContentLengthOfFiles) {
    const std::pair<std::string, std::int64_t> files[] = {{"/small.html", 1000},
                                                          {"/large.bin", 2000}};
    for (const auto& [path, size] : files) {
        client.setURL(localUrl(webPort, path));
        const auto error = requestHead(client);
        ASSERT_FALSE(error) << path << ": " << error->what();
        EXPECT_EQ(client.ResponseStatus(), 200) << path;
        EXPECT_EQ(client.ResponseLength(), size) << path;
        EXPECT_TRUE(client.ResponseHeader().front().starts_with("HTTP/1.0 200")) << path;
    }
    EXPECT_EQ(client.ResponseType(), "application/octet-stream");
}

TEST_F(HttpCliPeers, AddressWithoutPathAsksForRoot) {
    client.setURL("http://127.0.0.1:" + std::to_string(webPort));
    const auto error = requestHead(client);
    ASSERT_FALSE(error) << error->what();
    EXPECT_EQ(client.ResponseStatus(), 200);
    EXPECT_EQ(client.ResponseType(), "text/html; charset=utf-8");
}

TEST_F(HttpCliPeers, MissingFileRaisesServersReason) {
    client.setURL(localUrl(webPort, "/missing.html"));
    const auto error = requestHead(client);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->ResponseStatus(), 404);
    EXPECT_EQ(error->ResponseReason(), "File not found");
}

TEST_F(HttpCliPeers, ManyRequestsInARowLeaveNoConnectionOpen) {
    client.setURL(localUrl(webPort, "/small.html"));
    ASSERT_FALSE(requestHead(client));
    const int before = openDescriptors();
    for (int i = 0; i < 40; ++i) {
        client.setURL(localUrl(webPort, i % 2 ? "/small.html" : "/missing.html"));
        const auto error = requestHead(client);
        EXPECT_EQ(error.has_value(), i % 2 == 0) << i;
    }
    EXPECT_EQ(openDescriptors(), before);
}

struct ProxyCase {
    const char* name;
    bool portInProxySetting;
    std::string user;
    std::string password;
    int status;
};

TEST_F(HttpCliPeers, ProxyWithBasicAuthorisation) {
    startProxy();
    if (IsSkipped() || HasFatalFailure())
        return;
    const ProxyCase cases[] = {
        {"port in setting", true, "user", "password", 200},
        {"port from ProxyPort", false, "user", "password", 200},
        {"no user", true, "", "", 407},
        // tinyproxy answers wrong credentials with 401 rather than 407.
        {"wrong password", true, "user", "wrong", 401},
    };
    for (const ProxyCase& c : cases) {
        const std::string port = std::to_string(proxyPort);
        client.setProxy(c.portInProxySetting ? "127.0.0.1:" + port : "127.0.0.1");
        client.setProxyPort(c.portInProxySetting ? "1" : port);
        client.setProxyUsername(c.user);
        client.setProxyPassword(c.password);
        client.setURL(localUrl(webPort, "/small.html"));
        const auto error = requestHead(client);
        EXPECT_EQ(client.ResponseStatus(), c.status) << c.name << ": " << client.ResponseReason();
        EXPECT_EQ(error.has_value(), c.status >= 400) << c.name;
        EXPECT_EQ(client.ResponseLength(), error ? -1 : 1000) << c.name;
    }
}

// The bytes step's requests, several at a time, each authorised at the proxy.
TEST_F(HttpCliPeers, BytesStepThroughProxy) {
    startProxy();
    if (IsSkipped() || HasFatalFailure())
        return;
    AnalysisResult result;
    result.logFileCount = 1;
    for (int page = 0; page < 20; ++page) {
        const char* file = page % 2 ? "/small.html?" : "/large.bin?";
        result.topPages.tally(localUrl(webPort, file + std::to_string(page)));
    }
    RecordingObserver observer;
    CheckPoints checkPoints(observer, 1);
    HttpHeadRequester requester({}, {HeadRequestLimits::defaultPagesAtOnce, 10000, 10000});
    const ProxySettings proxySettings{"127.0.0.1", std::to_string(proxyPort), "user", "password"};
    ASSERT_TRUE(measureBytes(result, requester, proxySettings, checkPoints, 0));
    EXPECT_EQ(result.bytesTotal, 10 * 1000 + 10 * 2000);
}

} // namespace
} // namespace statvane::test
