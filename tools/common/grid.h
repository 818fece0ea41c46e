#pragma once

#include <QPointF>
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

// A fractional grid position split into its cell and the offset within it.
struct CellOffset {
    int ix;
    int iy;
    float tx;
    float ty;
};

inline CellOffset splitPosition(float x, float y) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    return {static_cast<int>(fx), static_cast<int>(fy), x - fx, y - fy};
}

// Bilinear sample of a float grid at a fractional cell position (clamped at the edges).
inline float sampleBilinear(const Grid<float>& g, float x, float y) {
    const auto [ix, iy, tx, ty] = splitPosition(x, y);
    const float a = g.clamped(ix, iy) + (g.clamped(ix + 1, iy) - g.clamped(ix, iy)) * tx;
    const float b =
        g.clamped(ix, iy + 1) + (g.clamped(ix + 1, iy + 1) - g.clamped(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

// Catmull-Rom bicubic sample: smooth slopes across cell borders, so that shading a surface
// sampled from a coarse grid shows no creases along the grid lines.
inline float sampleBicubic(const Grid<float>& g, float x, float y) {
    const auto [ix, iy, tx, ty] = splitPosition(x, y);
    auto weights = [](float t, float w[4]) {
        const float t2 = t * t;
        const float t3 = t2 * t;
        w[0] = 0.5f * (-t3 + 2.0f * t2 - t);
        w[1] = 0.5f * (3.0f * t3 - 5.0f * t2 + 2.0f);
        w[2] = 0.5f * (-3.0f * t3 + 4.0f * t2 + t);
        w[3] = 0.5f * (t3 - t2);
    };
    float wx[4];
    float wy[4];
    weights(tx, wx);
    weights(ty, wy);
    float sum = 0.0f;
    for (int j = 0; j < 4; ++j) {
        float row = 0.0f;
        for (int i = 0; i < 4; ++i) {
            row += wx[i] * g.clamped(ix - 1 + i, iy - 1 + j);
        }
        sum += wy[j] * row;
    }
    return sum;
}

// Visits the cells of `g` within `radius` of `at` (in the grid's own units), passing each
// one's distance.
template <class T, class F>
void around(Grid<T>& g, QPointF at, double radius, F&& visit) {
    const int x0 = std::max(0, static_cast<int>(std::floor(at.x() - radius)));
    const int x1 = std::min(g.width() - 1, static_cast<int>(std::ceil(at.x() + radius)));
    const int y0 = std::max(0, static_cast<int>(std::floor(at.y() - radius)));
    const int y1 = std::min(g.height() - 1, static_cast<int>(std::ceil(at.y() + radius)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = std::hypot(x - at.x(), y - at.y());
            if (d <= radius) {
                visit(x, y, static_cast<float>(d));
            }
        }
    }
}

}  // namespace marventa
