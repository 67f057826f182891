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
    std::mt19937_64 m_engine{std::random_device{}()};
    std::uint64_t m_reseeds = 0;
};

}  // namespace tavola
