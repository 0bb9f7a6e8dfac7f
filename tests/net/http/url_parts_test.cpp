#include "net/http/http_route.h"
#include "net/http/url_parts.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

struct SplitCase {
    std::string_view url;
    UrlParts expected;
};

TEST(SplitUrl, TakesEveryFormApart) {
    const SplitCase cases[] = {
        {"http://www.example.com/docs/a.html",
         {"http", "", "", "www.example.com", "", "/docs/a.html"}},
        {"http://www.example.com", {"http", "", "", "www.example.com", "", ""}},
        {"https://host:8080/x", {"https", "", "", "host", "8080", "/x"}},
        {"http://joe:se:cret@host:81/p", {"http", "joe", "se:cret", "host", "81", "/p"}},
        {"http://joe@host/p", {"http", "joe", "", "host", "", "/p"}},
        {"http://a@b@host/p", {"http", "a@b", "", "host", "", "/p"}},
        {"http://host/mail/joe@example.com", {"http", "", "", "host", "", "/mail/joe@example.com"}},
        {"/index.html", {"http", "", "", "", "", "/index.html"}},
        {"HTTP:host:82/q", {"http", "", "", "host", "82", "/q"}},
        {"www.example.com/a/b", {"http", "", "", "www.example.com", "", "/a/b"}},
        {"proxy.example.com:3128", {"http", "", "", "proxy.example.com", "3128", ""}},
        {"http://[::1]:8080/x", {"http", "", "", "[::1]", "8080", "/x"}},
        {"http://[::1]/x", {"http", "", "", "[::1]", "", "/x"}},
        {"", {"http", "", "", "", "", ""}},
    };
    for (const auto& [url, expected] : cases) {
        const UrlParts parts = splitUrl(url);
        EXPECT_EQ(parts.scheme, expected.scheme) << url;
        EXPECT_EQ(parts.user, expected.user) << url;
        EXPECT_EQ(parts.password, expected.password) << url;
        EXPECT_EQ(parts.host, expected.host) << url;
        EXPECT_EQ(parts.port, expected.port) << url;
        EXPECT_EQ(parts.path, expected.path) << url;
    }
}

struct RouteCase {
    std::string_view url;
    std::string_view proxy;
    std::string_view proxyPort;
    std::string_view host;
    std::string_view port;
    std::string_view path;
    bool secure = false;
    std::string_view tunnel = "";
};

TEST(RouteFor, ConnectsToServerOrProxy) {
    const RouteCase cases[] = {
        {"http://site.test/a", "", "3128", "site.test", "80", "/a"},
        {"http://site.test", "", "", "site.test", "80", "/"},
        {"http://u:p@site.test:8080/a", "", "", "site.test", "8080", "/a"},
        {"http://site.test/a", "proxy.test:8888", "3128", "proxy.test", "8888",
         "http://site.test/a"},
        {"http://site.test:81", "proxy.test", "3128", "proxy.test", "3128", "http://site.test:81/"},
        {"site.test/a", "proxy.test", "", "proxy.test", "", "http://site.test/a"},
        {"ftp://site.test/a", "http://proxy.test:1/", "", "proxy.test", "1", "ftp://site.test/a"},
        {"https://site.test", "", "3128", "site.test", "443", "/", true},
        {"HTTPS://site.test:8443/a?b", "", "", "site.test", "8443", "/a?b", true},
        {"https://u:p@site.test/a", "proxy.test:8888", "", "proxy.test", "8888", "/a", true,
         "site.test:443"},
        {"https://[::1]:8443/a", "proxy.test", "3128", "proxy.test", "3128", "/a", true,
         "[::1]:8443"},
    };
    for (const auto& c : cases) {
        const HttpRoute route = routeFor(requestedUrl(c.url), c.proxy, c.proxyPort);
        EXPECT_EQ(route.host, c.host) << c.url << " via " << c.proxy;
        EXPECT_EQ(route.port, c.port) << c.url << " via " << c.proxy;
        EXPECT_EQ(route.path, c.path) << c.url << " via " << c.proxy;
        EXPECT_EQ(route.secure, c.secure) << c.url << " via " << c.proxy;
        EXPECT_EQ(route.tunnel, c.tunnel) << c.url << " via " << c.proxy;
    }
}

TEST(HostHeader, NamesThePortOnlyForHttpsOffItsDefault) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"http://site.test:8080/a", "site.test"}, {"https://site.test/a", "site.test"},
        {"https://site.test:443/a", "site.test"}, {"https://site.test:8443/a", "site.test:8443"},
        {"https://[::1]:8443/", "[::1]:8443"},
    };
    for (const auto& [url, host] : cases)
        EXPECT_EQ(hostHeader(requestedUrl(url)), host) << url;
}

TEST(RedirectedUrl, PathStaysOnServerAndAddressIsSplit) {
    const UrlParts current = requestedUrl("http://u:p@site.test:8080/old");
    const UrlParts onServer = redirectedUrl(current, "/new?x=1");
    EXPECT_EQ(absoluteAddress(onServer), "http://site.test:8080/new?x=1");
    EXPECT_EQ(onServer.user, "u");

    const UrlParts elsewhere = redirectedUrl(current, "http://other.test");
    EXPECT_EQ(absoluteAddress(elsewhere), "http://other.test/");
    EXPECT_EQ(elsewhere.user, "");

    const UrlParts secure = requestedUrl("https://site.test:8443/old");
    EXPECT_EQ(absoluteAddress(redirectedUrl(secure, "/new")), "https://site.test:8443/new");
    EXPECT_EQ(absoluteAddress(redirectedUrl(secure, "http://site.test/")), "http://site.test/");
}

TEST(PortNumber, AcceptsOnlyTcpPorts) {
    EXPECT_EQ(portNumber("80"), 80);
    EXPECT_EQ(portNumber("65535"), 65535);
    for (const std::string_view bad : {"", "0", "65536", "99999999999", "8o", " 80", "-1", "+80"})
        EXPECT_FALSE(portNumber(bad)) << bad;
}

} // namespace
} // namespace statvane
