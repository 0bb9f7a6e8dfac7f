#pragma once

#include <functional>
#include <string>

namespace statvane::resolver {

// Reverse look-ups of many addresses at once: the same queries as
// reverseLookup, to the same server with the same time-outs, but up to
// kMostInFlight of them outstanding together.
class BatchLookup {
  public:
    // Called once for each address whose look-up ended: its index in the
    // list and its host name, or a null pointer when it did not resolve. The
    // name is valid during the call only.
    using Answer = std::function<void(int index, const char* name)>;
    // Called at least every 50 ms while look-ups are outstanding, with the
    // number of addresses answered so far; false stops the batch.
    using KeepGoing = std::function<bool(int answered)>;

    BatchLookup(Answer answer, KeepGoing keepGoing)
        : answer_(std::move(answer)), keepGoing_(std::move(keepGoing)) {}

    // True when every address was answered, false when keepGoing stopped the
    // batch: the look-ups still outstanding then give no answer at all.
    bool run(const char* const* addresses, int count);

  private:
    Answer answer_;
    KeepGoing keepGoing_;
};

} // namespace statvane::resolver
