#ifndef ORFE_TESTS_COUNTINGALLOCATOR_H
#define ORFE_TESTS_COUNTINGALLOCATOR_H

// Counts the C++ allocations (calls of the global operator new, which the array
// and vector forms go through) made between startCountingAllocations and
// stopCountingAllocations, to show that a piece of code allocates nothing.
//
// This header replaces the global operator new and delete of the program it is
// built into: include it in exactly one source file of a test or benchmark.
// Any thread may allocate; the count is atomic.

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace countingallocator {
inline std::atomic<bool> counting{false};
inline std::atomic<long> allocations{0};
} // namespace countingallocator

// Counts from zero from now on.
inline void startCountingAllocations()
{
    countingallocator::allocations = 0;
    countingallocator::counting = true;
}

// Stops counting; returns the number of allocations since the start.
inline long stopCountingAllocations()
{
    countingallocator::counting = false;
    return countingallocator::allocations;
}

void* operator new(std::size_t n)
{
    if (countingallocator::counting) ++countingallocator::allocations;
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

#endif
