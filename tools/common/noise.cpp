#include "noise.h"

#include <cmath>

#include "rng.h"

namespace marventa {

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

// Eight evenly spread unit directions; a lattice corner picks one by its hash.
constexpr float kGradX[8] = {1.0f, 0.7071f, 0.0f, -0.7071f, -1.0f, -0.7071f, 0.0f, 0.7071f};
constexpr float kGradY[8] = {0.0f, 0.7071f, 1.0f, 0.7071f, 0.0f, -0.7071f, -1.0f, -0.7071f};

}  // namespace

float Noise::gradientDot(int ix, int iy, float dx, float dy) const {
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(ix)) << 32) |
                              static_cast<std::uint32_t>(iy);
    const unsigned g = static_cast<unsigned>(mix64(key ^ seed_) >> 61);
    return kGradX[g] * dx + kGradY[g] * dy;
}

float Noise::at(float x, float y) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const float u = fade(dx);
    const float v = fade(dy);
    const float top = lerp(gradientDot(ix, iy, dx, dy), gradientDot(ix + 1, iy, dx - 1.0f, dy), u);
    const float bottom = lerp(gradientDot(ix, iy + 1, dx, dy - 1.0f),
                              gradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f), u);
    return lerp(top, bottom, v) * 1.41f;
}

float Noise::fbm(float x, float y, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        // Offset each octave so that the lattice points of the layers do not line up.
        sum += amplitude * at(x + 31.7f * static_cast<float>(i), y - 17.3f * static_cast<float>(i));
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
    }
    return sum / norm;
}

float Noise::ridged(float x, float y, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1.0f - std::fabs(at(x + 11.1f * static_cast<float>(i),
                                            y + 5.9f * static_cast<float>(i)));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
    }
    return sum / norm;
}

ShoreShift raggedShift(const Noise& warp, float x, float y, const float (&reach)[3],
                       const float (&wavelength)[3]) {
    const float* r = reach;
    const float* s = wavelength;
    return {r[0] * warp.fbm(x / s[0], y / s[0], 2) +
                r[1] * warp.fbm(x / s[1] + 70.0f, y / s[1], 2) +
                r[2] * warp.fbm(x / s[2] + 40.0f, y / s[2], 2),
            r[0] * warp.fbm(x / s[0] - 21.0f, y / s[0] + 13.0f, 2) +
                r[1] * warp.fbm(x / s[1], y / s[1] - 70.0f, 2) +
                r[2] * warp.fbm(x / s[2], y / s[2] - 40.0f, 2)};
}

}  // namespace marventa
