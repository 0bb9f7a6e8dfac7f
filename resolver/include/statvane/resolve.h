#pragma once

// The entry points of a name-resolver library (resolve.so). The program loads
// the library at run time and finds both entries by these plain C names.
// Both are called on one thread, one call at a time.

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

#ifdef __cplusplus
}
#endif
