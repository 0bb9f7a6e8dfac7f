#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

// The name-resolver library "resolve.so", loaded at run time. Each object
// loads it afresh from the first folder that holds a loadable one; loading an
// already loaded library only returns it again, and it is never unloaded.
// Without the library, or without one of its entries, the machine counts as
// not connected and no address resolves; a missing entry is never called.
// ResolveMany is optional: without it, addresses are looked up one by one.
// The entries are called one at a time across all objects and threads: a
// call waits while another is under way.
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
    // nothing when the address does not resolve. Blocks for the look-up. A
    // text holding a NUL does not resolve and never reaches the library,
    // which would read it cut short at the NUL; nor does it in resolveMany.
    std::optional<std::string> resolveIP(const std::string& address) const;

    // The outcome of one address of a batch: known, with a name or none, or
    // not known when the batch was stopped before its look-up ended.
    struct Answer {
        bool known = false;
        std::optional<std::string> name;
    };
    // Called at least every 50 ms during a batch with the number of addresses
    // answered so far; false stops the batch.
    using KeepGoing = std::function<bool(int answered)>;

    // The library's optional ResolveMany: the answers for the addresses, in
    // their order, each the same as resolveIP would give, looked up many at a
    // time. Nothing when the library has no ResolveMany: the caller then asks
    // resolveIP one address at a time.
    std::optional<std::vector<Answer>> resolveMany(const std::vector<std::string>& addresses,
                                                   const KeepGoing& keepGoing) const;

  private:
    using ResolveIPEntry = const char* (*)(const char*);
    using ConnectionEntry = int (*)();
    using ResolveManyEntry = int (*)(const char* const*, int, void (*)(void*, int, const char*),
                                     int (*)(void*, int), void*);

    ResolverLibrary() = default;
    void load(const std::vector<std::filesystem::path>& folders);

    ResolveIPEntry resolveIP_ = nullptr;
    ConnectionEntry connection_ = nullptr;
    ResolveManyEntry resolveMany_ = nullptr;
};

} // namespace statvane
