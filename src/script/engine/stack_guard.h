#pragma once

#include <cstdint>

namespace zev::script {

// True when the calling thread has less than a safety margin of native stack left. Deep script
// recursion and hostile nesting end in a clean error instead of a crash, whatever the thread's stack.
bool StackNearlyExhausted();
// The lowest address the calling thread's stack may reach before the margin (0: unknown). Hot
// paths keep it and compare the frame address themselves.
uintptr_t StackLimit();
inline bool BelowStackLimit(uintptr_t limit)
{
    return limit != 0 && reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) < limit;
}

} // namespace zev::script
