// The dns.log reader. The input is the file's text. Its entries hold no line
// end; the text written back reads as the same entries and says the same as
// the input, line ends and lines holding a NUL aside; every entry is found ignoring letter case;
// and trimming to a count from the input's first byte keeps the newest entries, with the oldest no
// longer found unless a kept one equals them.
#include "analysis/dns_cache.h"
#include "fuzz_support.h"
#include "platform/ascii.h"

#include <algorithm>
#include <set>
#include <string>

namespace statvane::fuzz {
namespace {

// Every line end as one line feed, and a line feed after a last line.
std::string normalisedLineEnds(std::string_view text) {
    std::string normalised;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        normalised += text[i] == '\r' ? '\n' : text[i];
    }
    if (!normalised.empty() && normalised.back() != '\n')
        normalised += '\n';
    return normalised;
}

// The lines of a normalised text less those holding a NUL, which the reader
// leaves out: such a line could not be written back as the one address it
// holds.
std::string withoutLinesHoldingNul(const std::string& normalised) {
    std::string kept;
    for (std::size_t start = 0; start < normalised.size();) {
        const std::size_t end = normalised.find('\n', start) + 1;
        const std::string_view line(normalised.data() + start, end - start);
        if (line.find('\0') == std::string_view::npos)
            kept += line;
        start = end;
    }
    return kept;
}

std::string upperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper;
}

void checkEntries(const DnsCache& cache, std::string_view text) {
    for (const std::string& entry : cache.entries()) {
        require(entry.find_first_of("\r\n") == std::string::npos, "an entry holds no line end");
        require(cache.contains(entry) && cache.contains(upperCased(entry)),
                "every entry is found, ignoring letter case");
    }
    require(normalisedLineEnds(cache.text()) == withoutLinesHoldingNul(normalisedLineEnds(text)),
            "the text written says what the text read said");
    require(DnsCache::fromText(cache.text()).entries() == cache.entries(),
            "the text written reads back as the same entries");
}

struct LessIgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return ascii::lessIgnoringCase(a, b);
    }
};

void checkTrim(DnsCache cache, long long maximum) {
    const std::vector<std::string> before = cache.entries();
    cache.trimTo(maximum);
    const std::size_t kept = std::min(before.size(), static_cast<std::size_t>(maximum));
    require(cache.entries() == std::vector<std::string>(before.end() - kept, before.end()),
            "trimming keeps the newest entries");
    const std::set<std::string, LessIgnoringCase> keptEntries(before.end() - kept, before.end());
    for (std::size_t i = 0; i < before.size() - kept; ++i) {
        require(cache.contains(before[i]) == keptEntries.contains(before[i]),
                "a trimmed entry is found only when a kept one equals it");
    }
}

} // namespace
} // namespace statvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace statvane::fuzz;
    const std::string_view text = textOf(data, size);
    const auto cache = statvane::DnsCache::fromText(text);
    checkEntries(cache, text);
    checkTrim(cache, size > 0 ? data[0] % 16 : 0);
    return 0;
}
