#pragma once

#include <cstddef>

namespace zev::script::test {

// Records the largest single request made to operator new while one is alive, so a test can show
// that a size cap was checked before the bytes were asked for, not after. Not nestable.
class AllocProbe {
public:
    AllocProbe();
    ~AllocProbe();
    AllocProbe(const AllocProbe&) = delete;
    AllocProbe& operator=(const AllocProbe&) = delete;

    size_t largest() const;
};

// A string of n bytes costs n + 1: the terminating zero.
constexpr size_t kAllocSlack = 64;

} // namespace zev::script::test
