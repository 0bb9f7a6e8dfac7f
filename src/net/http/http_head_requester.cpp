#include "net/http/http_head_requester.h"

namespace statvane {

HttpHeadRequester::HttpHeadRequester(std::function<bool()> cancelRequested,
                                     HeadRequestLimits limits)
    : cancelRequested_(std::move(cancelRequested)), limits_(limits) {}

void HttpHeadRequester::setUntrustedServerHandler(THttpCli::UntrustedServerHandler handler) {
    untrustedServer_ = std::move(handler);
}

void HttpHeadRequester::setProxy(const ProxySettings& proxy) {
    proxy_ = proxy;
}

void HttpHeadRequester::requestHeads(const std::vector<std::string>& urls,
                                     const Answered& answered) {
    HeadRequestBatch(urls, proxy_, limits_, cancelRequested_, untrustedServer_).run(answered);
}

} // namespace statvane
