#pragma once

// The entry points of a name-resolver library (resolve.so). The program loads
// the library at run time and finds the entries by these plain C names.
// ResolveIP and Connection are required, ResolveMany is optional. They are
// called one call at a time, not always from the same thread.

#if defined(__GNUC__)
#define STATVANE_RESOLVE_EXPORT __attribute__((visibility("default")))
#else
#define STATVANE_RESOLVE_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Reverse look-up of a dotted IPv4 address (NUL-terminated, possibly empty).
// Returns the host name, or a null pointer when the address does not resolve.
// The caller copies the name at once and never frees it: the text stays valid
// until the next call. The call may block for as long as the look-up takes.
STATVANE_RESOLVE_EXPORT const char* ResolveIP(const char* address);

// Whether the machine is connected to a network. Only the low 8 bits of the
// result count: not 0 there means connected.
STATVANE_RESOLVE_EXPORT int Connection(void);

// Called by ResolveMany once for each address whose look-up ended: its index
// in the list and the host name, or a null pointer when the address does not
// resolve. The name belongs to the library and is valid during the call
// only: the caller copies it.
typedef void (*StatvaneResolveAnswer)(void* context, int index, const char* name);

// Called by ResolveMany at least every 50 ms while look-ups are outstanding
// (so that the caller can repaint its window), with the number of addresses
// answered so far. Returning 0 stops the batch at once.
typedef int (*StatvaneResolveProgress)(void* context, int answered);

// Optional. Reverse look-ups of `count` addresses, each as ResolveIP would do
// it and with the same outcome, but many at once. `answer` (required) and
// `progress` (may be null) are called from within the call and receive
// `context`. The library owns nothing of the caller's after it returns and
// the caller frees nothing of the library's. Returns 1 when every address
// was answered, 0 when `progress` stopped the batch: the addresses not
// answered by then get no call, and their look-ups are dropped. The library
// keeps a bounded number of queries outstanding; none waits longer than a
// ResolveIP look-up would.
STATVANE_RESOLVE_EXPORT int ResolveMany(const char* const* addresses, int count,
                                        StatvaneResolveAnswer answer,
                                        StatvaneResolveProgress progress, void* context);

#ifdef __cplusplus
}
#endif
