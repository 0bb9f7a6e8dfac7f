#include "net/http/http_head_requester.h"

namespace statvane {

HttpHeadRequester::HttpHeadRequester(std::function<bool()> cancelRequested) {
    client_.setCancelCheck(std::move(cancelRequested));
}

void HttpHeadRequester::setUntrustedServerHandler(THttpCli::UntrustedServerHandler handler) {
    client_.setUntrustedServerHandler(std::move(handler));
}

void HttpHeadRequester::setProxy(const ProxySettings& proxy) {
    client_.setProxy(proxy.server);
    client_.setProxyPort(proxy.port);
    client_.setProxyUsername(proxy.userName);
    client_.setProxyPassword(proxy.password);
}

std::optional<std::vector<std::string>> HttpHeadRequester::requestHead(const std::string& url) {
    client_.setURL(url);
    try {
        client_.RequestHead();
    } catch (const EHttpException&) {
        return std::nullopt;
    }
    return client_.ResponseHeader();
}

} // namespace statvane
