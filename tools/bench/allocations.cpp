// The replaced global operator new and delete, in a file of their own so that no caller sees
// them inlined.

#include "tools/bench/allocations.h"

#include <cstdlib>
#include <new>

namespace {

long long count = 0;

} // namespace

void* operator new(std::size_t size) {
    ++count;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace bench {

long long allocationCount() {
    return count;
}

} // namespace bench
