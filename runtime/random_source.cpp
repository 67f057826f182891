#include "runtime/random_source.h"

#include <chrono>

namespace tavola {

void RandomSource::randomize()
{
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{std::uint32_t(ticks), std::uint32_t(ticks >> 32), ++m_reseeds, m_entropy};
    m_engine.seed(seed);
}

double RandomSource::next()
{
    // 53 random bits: uniform in [0, 1), never 1.
    return double(m_engine() >> 11) * 0x1.0p-53;
}

}  // namespace tavola
