#include "net/http/head_request_batch.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string_view>

namespace statvane {
namespace {

// Cancel stops the requests within this time.
constexpr int cancelPollMs = 100;

// Whether the site itself responded: a status line (of any status), or a
// body without a header.
bool siteResponded(const THttpCli& client) {
    return !client.ResponseHeader().empty() || client.ResponseStatus() != THttpCli::failedStatus;
}

HeadAnswer answerOf(const THttpCli& client) {
    if (client.ResponseStatus() >= 400)
        return std::nullopt;
    return client.ResponseHeader();
}

} // namespace

HeadRequestLimits HeadRequestLimits::standard() {
    HeadRequestLimits limits;
    const char* text = std::getenv("STATVANE_PAGES_AT_ONCE");
    const int pages = text ? std::atoi(text) : 0;
    if (pages >= 1 && pages <= maxPagesAtOnce)
        limits.pagesAtOnce = pages;
    return limits;
}

// Only flags are set and the wait is ended, which needs no memory; run()
// stops the requests outside the notification.
template <typename Work> void HeadRequestBatch::guarded(Work&& work) {
    try {
        work();
    } catch (const std::bad_alloc&) {
        outOfMemory_ = stopped_ = true;
        wait_.quit();
    }
}

HeadRequestBatch::HeadRequestBatch(const std::vector<std::string>& urls, const ProxySettings& proxy,
                                   const HeadRequestLimits& limits,
                                   std::function<bool()> cancelRequested,
                                   const THttpCli::UntrustedServerHandler& untrustedServer)
    : urls_(urls), cancelRequested_(std::move(cancelRequested)),
      silenceLimitMs_(limits.silenceLimitMs) {
    const auto clients = std::min<std::size_t>(urls.size(), std::max(1, limits.pagesAtOnce));
    for (std::size_t i = 0; i < clients; ++i) {
        auto& client = *clients_.emplace_back(std::make_unique<THttpCli>());
        client.setProxy(proxy.server);
        client.setProxyPort(proxy.port);
        client.setProxyUsername(proxy.userName);
        client.setProxyPassword(proxy.password);
        client.setTimeoutMs(limits.requestTimeoutMs);
        client.setUntrustedServerHandler(untrustedServer);
    }
    silence_.setSingleShot(true);
    QObject::connect(&silence_, &QTimer::timeout, [this] { guarded([this] { stop(); }); });
    cancelPoll_.setInterval(cancelPollMs);
    QObject::connect(&cancelPoll_, &QTimer::timeout, [this] {
        guarded([this] {
            if (cancelRequested_ && cancelRequested_())
                stop();
        });
    });
}

void HeadRequestBatch::run(const HeadRequester::Answered& answered) {
    silence_.start(std::max(0, silenceLimitMs_));
    cancelPoll_.start();
    for (const auto& client : clients_)
        sendNext(*client);
    for (std::size_t handedOn = 0; handedOn < urls_.size(); ++handedOn) {
        if (arrived_.empty() && !stopped_)
            wait_.exec();
        // Nothing came: given up, cancelled, or the application is quitting.
        if (arrived_.empty() || outOfMemory_)
            break;
        auto [page, answer] = std::move(arrived_.front());
        arrived_.pop_front();
        if (!answered(page, answer))
            break;
    }
    stop();
    if (outOfMemory_)
        throw std::bad_alloc();
}

void HeadRequestBatch::sendNext(THttpCli& client) {
    if (nextPage_ == urls_.size())
        return;
    const std::size_t page = nextPage_++;
    client.setURL(urls_[page]);
    client.StartHead([this, &client, page] { requestEnded(client, page); });
}

void HeadRequestBatch::requestEnded(THttpCli& client, std::size_t page) {
    guarded([&] {
        if (stopped_)
            return;
        if (client.OutOfMemory())
            throw std::bad_alloc();
        if (siteResponded(client))
            silence_.start();
        arrived_.emplace_back(page, answerOf(client));
        sendNext(client);
        wait_.quit();
    });
}

// The clients' requests end at once; their pending `finished` calls are
// dropped when the clients go.
void HeadRequestBatch::stop() {
    stopped_ = true;
    silence_.stop();
    cancelPoll_.stop();
    for (const auto& client : clients_)
        client->Abort();
    wait_.quit();
}

} // namespace statvane
