#pragma once
// The benchmark program's count of heap allocations: it replaces the global operator new, so
// that every benchmark can report how many allocations its timed loop made.

namespace bench {

// Allocations through operator new since the program started.
long long allocationCount();

} // namespace bench
