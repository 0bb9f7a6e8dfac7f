#pragma once

#include "analysis/check_points.h"
#include "analysis/dns_cache.h"
#include "platform/resolver_library.h"

#include <cstddef>
#include <string>
#include <vector>

namespace statvane {

// The answers that the reverse look-up step gives the visitors. When the
// resolver library has ResolveMany, the visitors that are dotted IPv4
// addresses and not in the cache of failures are asked in one batch up
// front; every other visitor is asked with ResolveIP when the step reaches
// it, as is every visitor when the library has no ResolveMany.
class VisitorNames {
  public:
    // Runs the batch, if any. Its check points show the number of visitors
    // settled so far less one (see settled) and stop the batch on Cancel.
    VisitorNames(const ResolverLibrary& resolver, const std::vector<std::string>& visitors,
                 const DnsCache& cache, CheckPoints& checkPoints);

    // The answer for `visitor`, the entry at position p: not known when the
    // batch was stopped before its look-up ended.
    ResolverLibrary::Answer answerFor(std::size_t p, const std::string& visitor) const;

    // Whether the batch found that the entry at position p does not resolve.
    bool failedInBatch(std::size_t p) const;

    // How many visitors the batch settled: those it did not ask (cached, or
    // no dotted IPv4 address) and those it has an answer for. 0 without a
    // batch.
    std::size_t settled() const { return settled_; }

  private:
    const ResolverLibrary& resolver_;
    // Indexed by position; empty without a batch.
    std::vector<bool> batched_;
    std::vector<ResolverLibrary::Answer> answers_;
    std::size_t settled_ = 0;
};

} // namespace statvane
