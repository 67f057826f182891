#pragma once

#include <cstdint>
#include <random>

namespace tavola {

// The game's random numbers: uniform values in [0, 1), reseeded on request.
// Each reseed takes a fresh seed from the clock, a counter and the system's
// entropy, so two reseeds within one tick of the clock still start streams
// that have nothing to do with each other.
class RandomSource {
public:
    void randomize();
    double next();

private:
    // Read once: the system's entropy is slow to ask for at every draw.
    std::uint32_t m_entropy = std::random_device{}();
    std::mt19937_64 m_engine{m_entropy};
    std::uint32_t m_reseeds = 0;
};

}  // namespace tavola
