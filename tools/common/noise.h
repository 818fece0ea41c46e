#pragma once

#include <cstdint>

namespace marventa {

// Seeded 2-D gradient noise with quintic smoothing, values roughly in [-1, 1].
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : seed_(seed) {}

    float at(float x, float y) const;

    // Fractal sum of `octaves` layers, each twice the frequency and `gain` times the amplitude of
    // the last; normalised back to roughly [-1, 1].
    float fbm(float x, float y, int octaves, float gain = 0.5f) const;

    // Ridged variant in [0, 1]: sharp crests where the noise crosses zero (mountain chains).
    float ridged(float x, float y, int octaves, float gain = 0.5f) const;

  private:
    float gradientDot(int ix, int iy, float dx, float dy) const;

    std::uint64_t seed_;
};

}  // namespace marventa
