#include "distance_transform.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace marventa {

namespace {

constexpr double kFar = 1e20;

// The lower envelope of parabolas rooted at each sample (squared distances, in place).
class Envelope {
  public:
    explicit Envelope(int n)
        : d_(static_cast<std::size_t>(n)),
          v_(static_cast<std::size_t>(n)),
          z_(static_cast<std::size_t>(n) + 1) {}

    void run(std::vector<double>& f) {
        const int n = static_cast<int>(f.size());
        auto at = [](auto& vec, int i) -> auto& {
            return vec[static_cast<std::size_t>(i)];
        };
        int k = 0;
        at(v_, 0) = 0;
        at(z_, 0) = -kFar;
        at(z_, 1) = kFar;
        for (int q = 1; q < n; ++q) {
            double s = 0;
            for (;;) {
                const int p = at(v_, k);
                s = ((at(f, q) + double(q) * q) - (at(f, p) + double(p) * p)) / (2.0 * (q - p));
                if (s > at(z_, k)) {
                    break;
                }
                --k;
            }
            ++k;
            at(v_, k) = q;
            at(z_, k) = s;
            at(z_, k + 1) = kFar;
        }
        k = 0;
        for (int q = 0; q < n; ++q) {
            while (at(z_, k + 1) < q) {
                ++k;
            }
            const double dq = q - at(v_, k);
            at(d_, q) = dq * dq + at(f, at(v_, k));
        }
        std::copy(d_.begin(), d_.begin() + n, f.begin());
    }

  private:
    std::vector<double> d_;
    std::vector<int> v_;
    std::vector<double> z_;
};

}  // namespace

Grid<float> distanceTo(const Grid<unsigned char>& inside, float cap) {
    const int w = inside.width();
    const int h = inside.height();
    Grid<double> squared(w, h);
    Envelope envelope(std::max(w, h));
    std::vector<double> line;
    for (int x = 0; x < w; ++x) {
        line.assign(static_cast<std::size_t>(h), 0.0);
        for (int y = 0; y < h; ++y) {
            line[static_cast<std::size_t>(y)] = inside(x, y) ? 0.0 : kFar;
        }
        envelope.run(line);
        for (int y = 0; y < h; ++y) {
            squared(x, y) = line[static_cast<std::size_t>(y)];
        }
    }
    Grid<float> out(w, h);
    for (int y = 0; y < h; ++y) {
        line.assign(static_cast<std::size_t>(w), 0.0);
        for (int x = 0; x < w; ++x) {
            line[static_cast<std::size_t>(x)] = squared(x, y);
        }
        envelope.run(line);
        for (int x = 0; x < w; ++x) {
            out(x, y) = static_cast<float>(
                std::min<double>(cap, std::sqrt(line[static_cast<std::size_t>(x)])));
        }
    }
    return out;
}

}  // namespace marventa
