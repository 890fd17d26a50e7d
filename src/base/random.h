#pragma once

#include <cstdint>
#include <random>

namespace zev {

// The program's one pseudo-random generator: seeded from the clock at start-up, seeded by hand in
// tests and by the command-line tool's --seed.
class Random {
public:
    Random();
    explicit Random(uint64_t seed)
        : m_engine(seed)
    {
    }

    void Seed(uint64_t seed) { m_engine.seed(seed); }
    void SeedFromClock();
    // A uniform integer in 0 .. n-1; 0 when n <= 0.
    int32_t Below(int32_t n);
    // A uniform integer in lo .. hi (inclusive); lo when hi < lo.
    int32_t Between(int32_t lo, int32_t hi);
    // A uniform float in [0, 1).
    double Unit();

private:
    std::mt19937_64 m_engine;
};

} // namespace zev
