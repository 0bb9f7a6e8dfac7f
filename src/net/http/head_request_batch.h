#pragma once

#include "analysis/bytes_step.h"
#include "net/http/http_cli.h"

#include <QEventLoop>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace statvane {

// How the bytes step asks a site for its pages' sizes.
struct HeadRequestLimits {
    // Enough requests at once to hide the round trips, few enough not to
    // flood the site.
    static constexpr int defaultPagesAtOnce = 16;
    static constexpr int maxPagesAtOnce = 64;

    int pagesAtOnce = defaultPagesAtOnce;
    // Each request's own time-out.
    int requestTimeoutMs = THttpCli::defaultTimeoutMs;
    // How long the site may go without answering before the step gives up
    // on its remaining pages (see HeadRequestBatch).
    int silenceLimitMs = THttpCli::defaultTimeoutMs;

    // The defaults, with pagesAtOnce from $STATVANE_PAGES_AT_ONCE when that
    // holds a number from 1 to maxPagesAtOnce.
    static HeadRequestLimits standard();
};

// The page requests of one bytes step: up to pagesAtOnce HTTP clients at
// work, each taking the next page as soon as its request has ended. Answers
// are handed on from run()'s own loop, never from inside a network
// notification, so the receiver may let events run.
//
// Giving up on a silent site: a site that accepts connections but never
// answers would hold every page for the request time-out. run() ends when the
// site has sent no response at all (of any status) for silenceLimitMs since
// the step began or since its last response; the pages then in flight or not
// yet sent are left without an answer, which the step counts as failed. A
// slow site that answers now and then keeps the step going as long as it
// needs; a silent one ends it after one silence limit, however many pages
// it has.
//
// Running out of memory while a request or its answer is handled never goes
// through the event loop: the batch stops, and run() raises std::bad_alloc.
class HeadRequestBatch {
  public:
    HeadRequestBatch(const std::vector<std::string>& urls, const ProxySettings& proxy,
                     const HeadRequestLimits& limits, std::function<bool()> cancelRequested,
                     const THttpCli::UntrustedServerHandler& untrustedServer = {});

    // Returns when every page is answered, when `answered` returns false, on
    // Cancel (looked at a few times a second) or on giving up. Raises
    // std::bad_alloc when memory ran out.
    void run(const HeadRequester::Answered& answered);

  private:
    void sendNext(THttpCli& client);
    void requestEnded(THttpCli& client, std::size_t page);
    void stop();
    // The work of a notification; running out of memory ends the wait.
    template <typename Work> void guarded(Work&& work);

    const std::vector<std::string>& urls_;
    std::function<bool()> cancelRequested_;
    int silenceLimitMs_;
    std::vector<std::unique_ptr<THttpCli>> clients_;
    std::size_t nextPage_ = 0;
    std::deque<std::pair<std::size_t, HeadAnswer>> arrived_;
    bool stopped_ = false;
    bool outOfMemory_ = false;
    QTimer silence_;
    QTimer cancelPoll_;
    QEventLoop wait_;
};

} // namespace statvane
