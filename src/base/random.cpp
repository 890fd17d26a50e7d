#include "base/random.h"

#include <chrono>

namespace zev {

Random::Random()
{
    SeedFromClock();
}

void Random::SeedFromClock()
{
    m_engine.seed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

int32_t Random::Below(int32_t n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int32_t>(0, n - 1)(m_engine);
}

int32_t Random::Between(int32_t lo, int32_t hi)
{
    if (hi < lo)
        return lo;
    return std::uniform_int_distribution<int32_t>(lo, hi)(m_engine);
}

double Random::Unit()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}

} // namespace zev
