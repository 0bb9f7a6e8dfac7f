#include "analysis/visitors.h"

#include "analysis/dns_cache.h"
#include "analysis/log_fields.h"
#include "analysis/visitor_names.h"
#include "platform/ascii.h"
#include "platform/integer_text.h"
#include "platform/resolver_library.h"

#include <algorithm>

namespace statvane {

bool compileVisitors(const TallyTable& addresses, AnalysisResult& result, CheckPoints& checkPoints,
                     int progressStep) {
    checkPoints.startStep("Compiling Unique Visitors List...", progressStep);
    result.visitors.clear();
    result.visitors.reserve(addresses.size());
    for (const TallyRow& row : addresses.rows())
        result.visitors.emplace_back(row.key());
    std::sort(
        result.visitors.begin(), result.visitors.end(),
        [](const std::string& a, const std::string& b) { return ascii::lessIgnoringCase(a, b); });
    return checkPoints.pass([&result] { return std::to_string(result.visitors.size()); }, true);
}

namespace {

// On Cancel: the failures that the batch found after position p join the
// cache in list order, as the walk would have added them had it gone on, and
// the cache is written untrimmed. Addresses still waiting for an answer stay
// out.
void writeOnCancel(DnsCache& cache, const VisitorNames& names,
                   const std::vector<std::string>& visitors, std::size_t p,
                   const std::filesystem::path& dnsLog) {
    for (std::size_t q = p + 1; q < visitors.size(); ++q)
        if (names.failedInBatch(q) && !cache.contains(visitors[q]))
            cache.add(visitors[q]);
    cache.write(dnsLog);
}

} // namespace

bool reverseLookup(AnalysisResult& result, const std::filesystem::path& dnsLog,
                   const std::string& maxCache, const ResolverLibrary& resolver,
                   CheckPoints& checkPoints, int progressStep) {
    auto& visitors = result.visitors;
    checkPoints.startStep("Performing Reverse DNS Lookup (" + std::to_string(visitors.size()) +
                              " total)...",
                          progressStep);
    const std::int32_t maximum = toInteger(maxCache);
    DnsCache cache = DnsCache::load(dnsLog);
    const VisitorNames names(resolver, visitors, cache, checkPoints);
    for (std::size_t p = 0; p < visitors.size(); ++p) {
        if (!cache.contains(visitors[p])) {
            auto answer = names.answerFor(p, visitors[p]);
            if (!answer.known) {
                // Cancel stopped the batch before this look-up ended.
                writeOnCancel(cache, names, visitors, p, dnsLog);
                return false;
            }
            if (answer.name)
                visitors[p] = std::move(*answer.name);
            else
                cache.add(visitors[p]);
        }
        // After a batch the count stays at the visitors it settled.
        const std::size_t count = std::max(p + 1, names.settled()) - 1;
        const bool last = p + 1 == visitors.size();
        if (!checkPoints.passCancelFirst([count] { return std::to_string(count); }, last)) {
            writeOnCancel(cache, names, visitors, p, dnsLog);
            return false;
        }
    }
    cache.trimTo(maximum);
    cache.write(dnsLog);
    return true;
}

void filterVisitors(AnalysisResult& result, const std::vector<std::string>& filters) {
    for (std::string_view filter : filters) {
        if (!filter.empty() && filter.front() == '*')
            filter.remove_prefix(1);
        filter = filter.substr(0, filter.find('*'));
        std::erase_if(result.visitors, [filter](const std::string& visitor) {
            return visitor.find(filter) != std::string::npos;
        });
    }
}

} // namespace statvane
