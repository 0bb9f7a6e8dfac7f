#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

// The name-resolver library "resolve.so", loaded at run time. Each object
// loads it afresh from the first folder that holds a loadable one; loading an
// already loaded library only returns it again, and it is never unloaded.
// Without the library, or without one of its entries, the machine counts as
// not connected and no address resolves; a missing entry is never called.
class ResolverLibrary {
  public:
    // Looks in the program directory, then beside the running executable,
    // then in the installed library folder.
    explicit ResolverLibrary(const std::filesystem::path& programDirectory);

    // Looks in the given folders, in order.
    static ResolverLibrary searchingIn(const std::vector<std::filesystem::path>& folders);

    // The library's Connection: true when it reports a connection. Raises
    // Error, naming the variable, when STATVANE_DNS_SERVER is set to anything
    // but a numeric "address:port" (see statvane/dns_server.h).
    bool connection() const;

    // The library's ResolveIP for a dotted IPv4 address: the host name, or
    // nothing when the address does not resolve. Blocks for the look-up.
    std::optional<std::string> resolveIP(const std::string& address) const;

  private:
    using ResolveIPEntry = const char* (*)(const char*);
    using ConnectionEntry = int (*)();

    ResolverLibrary() = default;
    void load(const std::vector<std::filesystem::path>& folders);

    ResolveIPEntry resolveIP_ = nullptr;
    ConnectionEntry connection_ = nullptr;
};

} // namespace statvane
