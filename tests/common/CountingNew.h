#ifndef ORFE_TESTS_COUNTINGNEW_H
#define ORFE_TESTS_COUNTINGNEW_H

// Counts the C++ allocations made while `g_counting` is on, to show that an
// analysis allocates nothing. Replaces the global operators new and delete of
// the whole executable: include it in one source file of a test or benchmark.

#include <atomic>
#include <cstdlib>
#include <new>

static std::atomic<bool> g_counting{false};
static std::atomic<long> g_news{0};

void* operator new(std::size_t n)
{
    if (g_counting) ++g_news;
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
