#include "analysis/dns_cache.h"

#include "platform/atomic_file.h"
#include "platform/error.h"

namespace statvane {

std::filesystem::path dnsLogFile(const std::filesystem::path& programDirectory) {
    return programDirectory / "dns.log";
}

DnsCache DnsCache::load(const std::filesystem::path& file) {
    std::string text;
    if (!readFileContents(file, text))
        return {};
    return fromText(text);
}

DnsCache DnsCache::fromText(std::string_view text) {
    DnsCache cache;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            cache.add(text.substr(start));
            break;
        }
        cache.add(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return cache;
}

bool DnsCache::contains(std::string_view address) const {
    return counts_.find(address) != counts_.end();
}

void DnsCache::add(std::string_view address) {
    if (address.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return;
    entries_.emplace_back(address);
    ++counts_[entries_.back()];
}

void DnsCache::trimTo(long long maximum) {
    const std::size_t keep = maximum > 0 ? static_cast<std::size_t>(maximum) : 0;
    if (entries_.size() <= keep)
        return;
    const std::size_t drop = entries_.size() - keep;
    for (std::size_t i = 0; i < drop; ++i) {
        const auto found = counts_.find(entries_[i]);
        if (--found->second == 0)
            counts_.erase(found);
    }
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(drop));
}

std::string DnsCache::text() const {
    std::string text;
    for (const auto& entry : entries_) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

void DnsCache::write(const std::filesystem::path& file) const {
    if (const ReplaceResult stored = replaceFileContents(file, text()); !stored)
        throw Error(formatMessage("Cannot create file %s", file.string()),
                    fileDetail(file, stored.reason()));
}

} // namespace statvane
