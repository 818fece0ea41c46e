#pragma once

#include <algorithm>

namespace marventa {

// Hermite ease from 0 at `e0` to 1 at `e1`; the edges may run either way.
inline float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// A colour in floating point, so that several washes can be blended before rounding.
struct Rgb {
    float r, g, b;
};

inline Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

}  // namespace marventa
