#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace marventa {

// A dense row-major 2-D array of values.
template <class T>
class Grid {
  public:
    Grid() = default;
    Grid(int width, int height, T fill = T{})
        : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, fill) {}

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    T& operator()(int x, int y) { return cells_[index(x, y)]; }
    const T& operator()(int x, int y) const { return cells_[index(x, y)]; }

    // The nearest cell inside the grid.
    const T& clamped(int x, int y) const {
        return (*this)(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
    }

    std::vector<T>& cells() { return cells_; }
    const std::vector<T>& cells() const { return cells_; }

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<T> cells_;
};

// Bilinear sample of a float grid at a fractional cell position (clamped at the edges).
inline float sampleBilinear(const Grid<float>& g, float x, float y) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    const float a = g.clamped(ix, iy) + (g.clamped(ix + 1, iy) - g.clamped(ix, iy)) * tx;
    const float b =
        g.clamped(ix, iy + 1) + (g.clamped(ix + 1, iy + 1) - g.clamped(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

}  // namespace marventa
