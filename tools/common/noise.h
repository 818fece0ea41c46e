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

// How far to shift a point of a shore so it reads worn rather than traced: three scales of
// noise, broad to fine, each with its own reach (pixels) and wavelength.
struct ShoreShift {
    float dx;
    float dy;
};
ShoreShift raggedShift(const Noise& warp, float x, float y, const float (&reach)[3],
                       const float (&wavelength)[3]);

}  // namespace marventa
