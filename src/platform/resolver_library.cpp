#include "platform/resolver_library.h"

#include "platform/error.h"
#include "platform/program_directory.h"
#include "statvane/dns_server.h"
#include "statvane/resolve.h"

#include <dlfcn.h>
#include <mutex>
#include <type_traits>

namespace statvane {
namespace {

static_assert(std::is_same_v<decltype(&ResolveIP), const char* (*)(const char*)>);
static_assert(std::is_same_v<decltype(&Connection), int (*)()>);
static_assert(std::is_same_v<decltype(&ResolveMany),
                             int (*)(const char* const*, int, void (*)(void*, int, const char*),
                                     int (*)(void*, int), void*)>);

constexpr const char* kLibraryFileName = "resolve.so";

// An empty folder is skipped rather than read as the current directory, and
// the path is made absolute so that dlopen never searches the system's
// library path for it.
void* openFrom(const std::filesystem::path& folder) {
    if (folder.empty())
        return nullptr;
    std::error_code error;
    const auto file = std::filesystem::absolute(folder / kLibraryFileName, error);
    return error ? nullptr : ::dlopen(file.c_str(), RTLD_NOW);
}

// The library answers one call at a time, whatever the thread: ResolveIP's
// name stays valid only until the next call. The library is loaded once in
// the process, so the lock is the process's. The windows pump events inside
// ResolveMany's progress callback; a call made there on the same thread
// goes through rather than wait for itself.
std::recursive_mutex libraryCalls;

std::unique_lock<std::recursive_mutex> oneCallAtATime() {
    return std::unique_lock(libraryCalls);
}

// The library takes NUL-terminated texts: one holding a NUL would reach it cut
// short, as another address.
bool holdsNul(const std::string& address) {
    return address.find('\0') != std::string::npos;
}

template <typename Entry> Entry entryOf(void* library, const char* name) {
    return library ? reinterpret_cast<Entry>(::dlsym(library, name)) : nullptr;
}

// A DNS server named in the environment that the library cannot use would
// make every address read as unresolvable; it ends the command instead.
void requireUsableDnsServer() {
    const auto server = dnsServerVariable();
    if (server && !parseDnsServerAddress(*server))
        throw Error(std::string(kDnsServerVariable) + " is \"" + *server +
                    "\", not a numeric address and port such as 127.0.0.1:53 or [::1]:53.");
}

} // namespace

ResolverLibrary::ResolverLibrary(const std::filesystem::path& programDirectory) {
    load({programDirectory, executableDirectory(), STATVANE_RESOLVER_INSTALL_DIR});
}

ResolverLibrary ResolverLibrary::searchingIn(const std::vector<std::filesystem::path>& folders) {
    ResolverLibrary library;
    library.load(folders);
    return library;
}

void ResolverLibrary::load(const std::vector<std::filesystem::path>& folders) {
    void* library = nullptr;
    for (auto folder = folders.begin(); !library && folder != folders.end(); ++folder)
        library = openFrom(*folder);
    resolveIP_ = entryOf<ResolveIPEntry>(library, "ResolveIP");
    connection_ = entryOf<ConnectionEntry>(library, "Connection");
    resolveMany_ = entryOf<ResolveManyEntry>(library, "ResolveMany");
}

bool ResolverLibrary::connection() const {
    requireUsableDnsServer();
    if (!connection_)
        return false;
    const auto lock = oneCallAtATime();
    // Only the low 8 bits of the answer count.
    return static_cast<unsigned char>(connection_()) != 0;
}

std::optional<std::string> ResolverLibrary::resolveIP(const std::string& address) const {
    if (!resolveIP_ || holdsNul(address))
        return std::nullopt;
    const auto lock = oneCallAtATime();
    const char* name = resolveIP_(address.c_str());
    if (!name)
        return std::nullopt;
    return std::string(name);
}

namespace {

// What ResolveMany's callbacks reach through their context.
struct Batch {
    std::vector<ResolverLibrary::Answer>& answers;
    // The position in answers of each address the library is asked.
    const std::vector<std::size_t>& positions;
    const ResolverLibrary::KeepGoing& keepGoing;
    // Addresses with an answer, counted here rather than taken from the
    // library, so that the count only grows and matches the answers kept.
    int answered = 0;
};

void takeAnswer(void* context, int index, const char* name) {
    auto& batch = *static_cast<Batch*>(context);
    if (index < 0 || static_cast<std::size_t>(index) >= batch.positions.size())
        return;
    auto& answer = batch.answers[batch.positions[static_cast<std::size_t>(index)]];
    if (answer.known)
        return;
    answer.known = true;
    ++batch.answered;
    if (name)
        answer.name = name;
}

int keepGoing(void* context, int /*answered*/) {
    const auto& batch = *static_cast<Batch*>(context);
    return !batch.keepGoing || batch.keepGoing(batch.answered) ? 1 : 0;
}

} // namespace

std::optional<std::vector<ResolverLibrary::Answer>>
ResolverLibrary::resolveMany(const std::vector<std::string>& addresses,
                             const KeepGoing& keepGoingCall) const {
    if (!resolveMany_)
        return std::nullopt;
    std::vector<Answer> answers(addresses.size());
    std::vector<const char*> texts;
    std::vector<std::size_t> positions;
    int notAsked = 0;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (holdsNul(addresses[i])) {
            answers[i].known = true; // does not resolve
            ++notAsked;
            continue;
        }
        texts.push_back(addresses[i].c_str());
        positions.push_back(i);
    }
    Batch batch{answers, positions, keepGoingCall, notAsked};
    const auto lock = oneCallAtATime();
    resolveMany_(texts.data(), static_cast<int>(texts.size()), takeAnswer, keepGoing, &batch);
    return answers;
}

} // namespace statvane
