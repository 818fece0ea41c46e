#pragma once

#include <cstdint>

namespace marventa {

// Stateless 64-bit mixer (the splitmix finaliser): the same input always gives the same bits.
constexpr std::uint64_t mix64(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A small seeded generator; every picture draws from its own fixed seed so that runs repeat.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        return mix64(state_);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

    // Uniform integer in [0, n), n > 0.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

    bool chance(double p) { return uniform() < p; }

  private:
    std::uint64_t state_;
};

}  // namespace marventa
