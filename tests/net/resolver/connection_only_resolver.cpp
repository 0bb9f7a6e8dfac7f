// A resolver library without ResolveIP whose Connection sets only bits above
// the low 8, which count as "not connected".

#include "statvane/resolve.h"

int Connection(void) {
    return 0x100;
}
