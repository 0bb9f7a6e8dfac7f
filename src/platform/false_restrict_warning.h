#pragma once

// GCC 12 at -O3 takes some copies of a short literal into a std::string, by
// assignment or by "literal" + string, for overlapping copies and reports a
// false -Wrestrict (GCC bugs 105329 and 105651). These marks silence it for
// the one statement between them, and only on GCC.
#if defined(__GNUC__) && !defined(__clang__)
#define STATVANE_FALSE_RESTRICT_BEGIN                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define STATVANE_FALSE_RESTRICT_END _Pragma("GCC diagnostic pop")
#else
#define STATVANE_FALSE_RESTRICT_BEGIN
#define STATVANE_FALSE_RESTRICT_END
#endif
