#include "batch_lookup.h"

#include "ares_channel.h"

#include <algorithm>
#include <deque>
#include <netdb.h>
#include <vector>

namespace statvane::resolver {
namespace {

using std::chrono::milliseconds;

// Enough outstanding queries that servers which never answer, each holding a
// query for the whole budget, do not hold up the others; few enough for
// c-ares' 16-bit query ids.
constexpr int kMostInFlight = 4096;
// Of those, only so many sent within the last kFreshFor: a burst of answers
// then never overflows the receive buffers of the server or of our socket,
// and a query left unanswered that long makes room for the next.
constexpr std::size_t kMostFresh = 128;
constexpr milliseconds kFreshFor{100};
constexpr milliseconds kKeepGoingInterval{50};

// One run of a batch over an open channel.
class Batch {
  public:
    Batch(ares_channel channel, const char* const* addresses, int count,
          const BatchLookup::Answer& answer, const BatchLookup::KeepGoing& keepGoing)
        : channel_(channel), addresses_(addresses), count_(count), answer_(answer),
          keepGoing_(keepGoing), queries_(count), answered_(count, false) {}

    bool run() {
        while (answeredCount_ < count_) {
            if (!keepGoingWhenDue()) {
                ::ares_cancel(channel_);
                return false;
            }
            sendRound();
            if (inFlight_ > 0)
                processOnce(channel_, waitUntil());
            if (pastLastDeadline())
                failOutstanding();
        }
        return true;
    }

  private:
    struct Query {
        Batch* batch;
        int index;
    };
    struct Fresh {
        Clock::time_point sent;
        int index;
    };

    static void onHostFound(void* argument, int status, int /*timeouts*/, hostent* host) {
        const Query& query = *static_cast<Query*>(argument);
        // Cancelled queries (Cancel, the batch's deadline, the channel's end)
        // are answered, when at all, by the batch itself.
        if (status == ARES_ECANCELLED || status == ARES_EDESTRUCTION)
            return;
        const bool named = status == ARES_SUCCESS && host && host->h_name;
        query.batch->settle(query.index, named ? host->h_name : nullptr);
    }

    void settle(int index, const char* name) {
        if (answered_[index])
            return;
        answered_[index] = true;
        ++answeredCount_;
        if (queries_[index].batch)
            --inFlight_;
        answer_(index, name);
    }

    // Sends the next queries the limits allow; an entry that is no dotted IPv4
    // address is answered at once, without a query.
    void sendRound() {
        dropStaleFresh();
        for (; canSend() && next_ < count_; ++next_) {
            const auto address = dottedIPv4(addresses_[next_] ? addresses_[next_] : "");
            if (!address) {
                settle(next_, nullptr);
                continue;
            }
            queries_[next_] = {this, next_};
            ++inFlight_;
            lastSent_ = Clock::now();
            fresh_.push_back({lastSent_, next_});
            ::ares_gethostbyaddr(channel_, &*address, sizeof *address, AF_INET, onHostFound,
                                 &queries_[next_]);
        }
    }

    bool canSend() const { return inFlight_ < kMostInFlight && fresh_.size() < kMostFresh; }

    void dropStaleFresh() {
        const auto now = Clock::now();
        std::erase_if(fresh_, [&](const Fresh& query) {
            return answered_[query.index] || now - query.sent >= kFreshFor;
        });
    }

    // At once after an answer, when a fresh query goes stale, at the next
    // call of keepGoing or at the last query's deadline.
    Clock::time_point waitUntil() const {
        auto until = std::min(lastKeepGoing_ + kKeepGoingInterval, lastSent_ + kLookupBudget);
        if (next_ < count_ && inFlight_ < kMostInFlight && !fresh_.empty())
            until = std::min(until, fresh_.front().sent + kFreshFor);
        return until;
    }

    bool pastLastDeadline() const {
        return next_ == count_ && inFlight_ > 0 && Clock::now() >= lastSent_ + kLookupBudget;
    }

    // Every query has had its budget: those still without an answer fail.
    void failOutstanding() {
        ::ares_cancel(channel_);
        for (int index = 0; index < count_; ++index)
            if (queries_[index].batch)
                settle(index, nullptr);
    }

    bool keepGoingWhenDue() {
        const auto now = Clock::now();
        if (now < lastKeepGoing_ + kKeepGoingInterval)
            return true;
        lastKeepGoing_ = now;
        return !keepGoing_ || keepGoing_(answeredCount_);
    }

    ares_channel channel_;
    const char* const* addresses_;
    int count_;
    const BatchLookup::Answer& answer_;
    const BatchLookup::KeepGoing& keepGoing_;
    std::vector<Query> queries_;
    std::vector<bool> answered_;
    std::deque<Fresh> fresh_;
    int next_ = 0;
    int inFlight_ = 0;
    int answeredCount_ = 0;
    Clock::time_point lastSent_{};
    Clock::time_point lastKeepGoing_{};
};

} // namespace

bool BatchLookup::run(const char* const* addresses, int count) {
    const Channel channel = openChannel();
    if (!channel) {
        for (int index = 0; index < count; ++index)
            answer_(index, nullptr);
        return true;
    }
    return Batch(channel.get(), addresses, count, answer_, keepGoing_).run();
}

} // namespace statvane::resolver
