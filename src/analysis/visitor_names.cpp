#include "analysis/visitor_names.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace statvane {
namespace {

// Only these ever reach a DNS server: a host name stays as it is, and the
// library sends no query for other texts either.
bool isDottedIPv4(const std::string& text) {
    in_addr address{};
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

} // namespace

VisitorNames::VisitorNames(const ResolverLibrary& resolver,
                           const std::vector<std::string>& visitors, const DnsCache& cache,
                           CheckPoints& checkPoints)
    : resolver_(resolver) {
    std::vector<std::string> asked;
    std::vector<std::size_t> positions;
    for (std::size_t p = 0; p < visitors.size(); ++p)
        if (isDottedIPv4(visitors[p]) && !cache.contains(visitors[p])) {
            asked.push_back(visitors[p]);
            positions.push_back(p);
        }
    auto answers = resolver.resolveMany(asked, [&checkPoints](int answered) {
        return checkPoints.passCancelFirst([answered] { return std::to_string(answered); });
    });
    if (!answers)
        return;
    batched_.assign(visitors.size(), false);
    answers_.resize(visitors.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        batched_[positions[i]] = true;
        answers_[positions[i]] = std::move((*answers)[i]);
    }
}

ResolverLibrary::Answer VisitorNames::answerFor(std::size_t p, const std::string& visitor) const {
    if (p < batched_.size() && batched_[p])
        return answers_[p];
    return {true, resolver_.resolveIP(visitor)};
}

} // namespace statvane
