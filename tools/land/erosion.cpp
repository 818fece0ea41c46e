#include "erosion.h"

#include <algorithm>
#include <cmath>

#include "tools/common/flow_routing.h"

namespace marventa {

namespace {

constexpr float kShore = 0.002f;  // land never erodes below this: the coast stays where it is

// Soil creep: every land cell moves toward the mean of its four neighbours.
void creep(Grid<float>& h, float rate) {
    const Grid<float> before = h;
    for (int y = 1; y + 1 < h.height(); ++y) {
        for (int x = 1; x + 1 < h.width(); ++x) {
            const float c = before(x, y);
            if (c <= 0.0f) {
                continue;
            }
            const float mean =
                0.25f * (before(x - 1, y) + before(x + 1, y) + before(x, y - 1) + before(x, y + 1));
            h(x, y) = std::max(kShore, c + rate * (mean - c));
        }
    }
}

}  // namespace

std::vector<char> outlets(const Grid<float>& h) {
    std::vector<char> out(h.cells().size());
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x + 1 == h.width() || y + 1 == h.height();
            out[static_cast<std::size_t>(y * h.width() + x)] = edge || h(x, y) <= 0.0f;
        }
    }
    return out;
}

void erode(Grid<float>& h, const Grid<float>& uplift, const ErosionSteps& steps) {
    const std::vector<char> sea = outlets(h);
    const int w = h.width();
    for (int round = 0; round < steps.rounds; ++round) {
        h = fillHollows(h, sea, 1e-5f);
        const FlowField flow = routeFlow(h, sea, 0x5CA7'7E12);
        std::vector<float>& v = h.cells();
        for (const int cell : flow.order) {
            const auto i = static_cast<std::size_t>(cell);
            const auto r = static_cast<std::size_t>(flow.receiver[i]);
            if (r == i || h.cells()[i] <= 0.0f) {
                continue;
            }
            const bool diagonal =
                (cell % w != flow.receiver[i] % w) && (cell / w != flow.receiver[i] / w);
            const float f =
                steps.incision * std::sqrt(flow.area[i]) / (diagonal ? 1.41421356f : 1.0f);
            v[i] = std::max(kShore, (v[i] + f * v[r]) / (1.0f + f));
        }
        creep(h, steps.creep);
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (v[i] > 0.0f) {
                v[i] += uplift.cells()[i];
            }
        }
    }
    h = fillHollows(h, sea, 1e-5f);
}

}  // namespace marventa
