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
    const std::size_t notAsked = visitors.size() - asked.size();
    auto answers = resolver.resolveMany(asked, [&](int answered) {
        const std::size_t settled = notAsked + static_cast<std::size_t>(answered);
        if (settled == 0)
            return checkPoints.passWithoutCount();
        return checkPoints.passCancelFirst([settled] { return std::to_string(settled - 1); });
    });
    if (!answers)
        return;
    batched_.assign(visitors.size(), false);
    answers_.resize(visitors.size());
    settled_ = notAsked;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        batched_[positions[i]] = true;
        settled_ += (*answers)[i].known ? 1 : 0;
        answers_[positions[i]] = std::move((*answers)[i]);
    }
}

ResolverLibrary::Answer VisitorNames::answerFor(std::size_t p, const std::string& visitor) const {
    if (p < batched_.size() && batched_[p])
        return answers_[p];
    return {true, resolver_.resolveIP(visitor)};
}

bool VisitorNames::failedInBatch(std::size_t p) const {
    return p < batched_.size() && batched_[p] && answers_[p].known && !answers_[p].name;
}

} // namespace statvane
