// Replaces the global operator new and delete of this test program (every form that allocates
// through them, so a sanitizer never sees a mismatched pair) to watch the size of each request.
#include "script/engine/alloc_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed { false };
std::atomic<size_t> g_largest { 0 };

void Note(size_t n)
{
    if (!g_armed.load(std::memory_order_relaxed))
        return;
    size_t cur = g_largest.load(std::memory_order_relaxed);
    while (n > cur && !g_largest.compare_exchange_weak(cur, n, std::memory_order_relaxed)) { }
}

void* TryAllocate(size_t n) noexcept
{
    Note(n);
    return std::malloc(n ? n : 1);
}

void* Allocate(size_t n)
{
    if (void* p = TryAllocate(n))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t n)
{
    return Allocate(n);
}
void* operator new[](size_t n)
{
    return Allocate(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    return TryAllocate(n);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept
{
    return TryAllocate(n);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

namespace zev::script::test {

AllocProbe::AllocProbe()
{
    g_largest.store(0);
    g_armed.store(true);
}

AllocProbe::~AllocProbe()
{
    g_armed.store(false);
}

size_t AllocProbe::largest() const
{
    return g_largest.load();
}

} // namespace zev::script::test
