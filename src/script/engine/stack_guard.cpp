#include "script/engine/stack_guard.h"

#include <pthread.h>

#include <cstddef>
#include <cstdint>

namespace zev::script {

namespace {

// Sanitizer builds use several times the stack per frame.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kMargin = 1024 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kMargin = 1024 * 1024;
#else
constexpr std::size_t kMargin = 256 * 1024;
#endif
#else
constexpr std::size_t kMargin = 256 * 1024;
#endif

uintptr_t ComputeLimit()
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0)
        return 0;
    void* addr = nullptr;
    std::size_t size = 0;
    uintptr_t limit = 0;
    if (pthread_attr_getstack(&attr, &addr, &size) == 0 && size > kMargin * 2)
        limit = reinterpret_cast<uintptr_t>(addr) + kMargin;
    else if (pthread_attr_getstack(&attr, &addr, &size) == 0)
        limit = reinterpret_cast<uintptr_t>(addr) + size / 2;
    pthread_attr_destroy(&attr);
    return limit;
}

} // namespace

uintptr_t StackLimit()
{
    thread_local uintptr_t limit = ComputeLimit();
    return limit;
}

bool StackNearlyExhausted()
{
    uintptr_t limit = StackLimit();
    auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    return limit != 0 && here < limit;
}

} // namespace zev::script
