#pragma once

#include <cstddef>

namespace statvane {

// How many threads a run's log pass uses: STATVANE_THREADS when it is a
// number from 1 to 64, otherwise as many processors as the process may run
// on (its CPU affinity), and at least one.
std::size_t passThreadCount();

} // namespace statvane
