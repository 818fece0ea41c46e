#include "tools/roads/road_bends.h"

#include <algorithm>
#include <cmath>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kFine = 2.0;         // px between the points the curves are worked on
constexpr int kReach = 10;            // points each side of one box average; three make a curve
constexpr int kPasses = 3;            // box averages: together a bell some 120 px wide
constexpr double kAnchorRoom = 16.0;  // px round an anchor over which the line keeps its course
constexpr double kCorner = 0.9;       // the cosine of 26 degrees turned within 20 px: a corner
constexpr int kTries = 4;             // rounds of holding back points that left clear ground

// `values` averaged over `reach` points each side, the ends held.
template <typename T>
std::vector<T> boxAverage(const std::vector<T>& values, int reach) {
    const auto n = static_cast<int>(values.size());
    std::vector<T> out(values.size());
    for (int i = 0; i < n; ++i) {
        T sum{};
        for (int j = i - reach; j <= i + reach; ++j) {
            sum += values[std::size_t(std::clamp(j, 0, n - 1))];
        }
        out[std::size_t(i)] = sum / double(2 * reach + 1);
    }
    return out;
}

}  // namespace

std::vector<QPointF> roundCorners(const std::vector<QPointF>& line,
                                  const std::function<bool(QPointF)>& clear,
                                  const std::vector<QPointF>& anchors) {
    if (line.size() < 2 || polylineLength(line) < 4 * kReach * kFine) {
        return line;
    }
    const std::vector<QPointF> fine = resample(line, kFine);
    // Worked on the line run on past each end, turned about that end, so that the averages
    // neither pull its ends back along it nor bend its last stretch.
    constexpr auto kPad = std::size_t(kPasses * kReach);
    std::vector<QPointF> rounded;
    for (std::size_t k = kPad; k > 0; --k) {
        rounded.push_back(2 * fine.front() - fine[std::min(k, fine.size() - 1)]);
    }
    rounded.insert(rounded.end(), fine.begin(), fine.end());
    for (std::size_t k = 1; k <= kPad; ++k) {
        rounded.push_back(2 * fine.back() - fine[fine.size() - 1 - std::min(k, fine.size() - 1)]);
    }
    for (int pass = 0; pass < kPasses; ++pass) {
        rounded = boxAverage(rounded, kReach);
    }
    rounded = {rounded.begin() + std::ptrdiff_t(kPad), rounded.end() - std::ptrdiff_t(kPad)};
    // How free each point is to move: none at the ends, by an anchor or off clear ground, and
    // easing from there, so the curve leaves the held course without a kink.
    std::vector<double> free(fine.size(), 1.0);
    free.front() = free.back() = 0.0;
    for (std::size_t i = 0; i < fine.size(); ++i) {
        if (!clear(fine[i])) {
            free[i] = 0.0;
        }
        for (const QPointF& a : anchors) {
            if (length(fine[i] - a) < kAnchorRoom) {
                free[i] = 0.0;
            }
        }
    }
    // Only about a corner: elsewhere the road keeps the small bends it takes with the ground.
    const auto n = static_cast<int>(fine.size());
    std::vector<double> bend(fine.size(), 0.0);
    for (int i = kReach; i + kReach < n; ++i) {
        const QPointF in = fine[std::size_t(i)] - fine[std::size_t(i - kReach)];
        const QPointF ahead = fine[std::size_t(i + kReach)] - fine[std::size_t(i)];
        if (QPointF::dotProduct(in, ahead) < kCorner * length(in) * length(ahead)) {
            for (int j = std::max(0, i - 2 * kReach); j <= std::min(n - 1, i + 2 * kReach); ++j) {
                bend[std::size_t(j)] = 1.0;
            }
        }
    }
    for (int attempt = 0; attempt < kTries; ++attempt) {
        // Widen each hold by a box's reach, then ease it over the next.
        std::vector<double> held = bend;
        for (int i = 0; i < n; ++i) {
            for (int j = std::max(0, i - kReach); j <= std::min(n - 1, i + kReach); ++j) {
                held[std::size_t(i)] = std::min(held[std::size_t(i)], free[std::size_t(j)]);
            }
        }
        const std::vector<double> weight = boxAverage(held, kReach);
        std::vector<QPointF> out(fine.size());
        bool fits = true;
        double moved = 0.0;
        for (std::size_t i = 0; i < fine.size(); ++i) {
            out[i] = fine[i] + (rounded[i] - fine[i]) * weight[i];
            // Off the course, not along it.
            const std::vector<QPointF> here{fine[std::max<std::size_t>(i, 1) - 1],
                                            fine[std::min(i + 1, fine.size() - 1)]};
            moved = std::max(moved, distanceToPolyline(out[i], here));
            if (weight[i] > 0.0 && !clear(out[i])) {
                free[i] = 0.0;
                fits = false;
            }
        }
        if (fits) {
            return moved < 0.05 ? line : out;
        }
    }
    return line;
}

}  // namespace marventa
