#pragma once

#include "platform/ascii.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace statvane {

// The cache's file, dns.log in the program directory.
std::filesystem::path dnsLogFile(const std::filesystem::path& programDirectory);

// The addresses that did not resolve, oldest first, kept in dns.log between
// runs. Lookups ignore letter case through a hash index.
class DnsCache {
  public:
    // A missing or unreadable file gives an empty cache.
    static DnsCache load(const std::filesystem::path& file);
    // The entries of the file's text: a carriage return, a line feed or the
    // pair ends a line; an empty line is an empty entry.
    static DnsCache fromText(std::string_view text);

    bool contains(std::string_view address) const;
    // An address holding a CR, LF or NUL is left out, so that each line of
    // the file reads back as the one address written to it.
    void add(std::string_view address);
    // Drops the oldest entries until at most `maximum` remain (none for a
    // maximum of 0 or less).
    void trimTo(long long maximum);

    const std::vector<std::string>& entries() const { return entries_; }

    // The file's text: each entry followed by CR LF.
    std::string text() const;
    // Replaces the file atomically with text(). Raises
    // Error("Cannot create file <path>") when it cannot be written.
    void write(const std::filesystem::path& file) const;

  private:
    std::vector<std::string> entries_;
    // How many entries hold each address, ignoring letter case.
    std::unordered_map<std::string, std::size_t, ascii::CaseInsensitiveHash,
                       ascii::CaseInsensitiveEqual>
        counts_;
};

} // namespace statvane
