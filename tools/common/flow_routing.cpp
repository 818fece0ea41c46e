#include "flow_routing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <utility>

#include "rng.h"

namespace marventa {

Grid<float> fillHollows(const Grid<float>& h, const std::vector<char>& outlet, float epsilon) {
    const int w = h.width();
    Grid<float> filled = h;
    std::vector<char> done(outlet.size(), 0);
    // Ties broken by cell index, so the result never depends on the queue's internals.
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    for (std::size_t i = 0; i < outlet.size(); ++i) {
        if (outlet[i]) {
            done[i] = 1;
            open.emplace(h.cells()[i], static_cast<int>(i));
        }
    }
    std::vector<float>& f = filled.cells();
    while (!open.empty()) {
        const auto [level, cell] = open.top();
        open.pop();
        const int x = cell % w;
        const int y = cell / w;
        for (int k = 0; k < 8; ++k) {
            const int nx = x + kStepX[k];
            const int ny = y + kStepY[k];
            if (!h.contains(nx, ny)) {
                continue;
            }
            const auto n = static_cast<std::size_t>(ny * w + nx);
            if (done[n]) {
                continue;
            }
            done[n] = 1;
            f[n] = std::max(f[n], level + epsilon);
            open.emplace(f[n], static_cast<int>(n));
        }
    }
    return filled;
}

void gatherFlow(FlowField& flow, const Grid<float>& filled, const std::vector<char>& outlet) {
    const std::size_t n = filled.cells().size();
    const std::vector<float>& f = filled.cells();
    // Downhill order by height, outlets first; a receiver is always strictly lower, so it comes
    // before every cell that drains to it.
    flow.order.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        flow.order[i] = static_cast<int>(i);
    }
    std::stable_sort(flow.order.begin(), flow.order.end(), [&](int a, int b) {
        const bool oa = outlet[static_cast<std::size_t>(a)];
        const bool ob = outlet[static_cast<std::size_t>(b)];
        if (oa != ob) {
            return oa;
        }
        return f[static_cast<std::size_t>(a)] < f[static_cast<std::size_t>(b)];
    });
    flow.area.assign(n, 1.0f);
    for (auto it = flow.order.rbegin(); it != flow.order.rend(); ++it) {
        const auto i = static_cast<std::size_t>(*it);
        const auto r = static_cast<std::size_t>(flow.receiver[i]);
        if (r != i) {
            flow.area[r] += flow.area[i];
        }
    }
}

FlowField routeFlow(const Grid<float>& filled, const std::vector<char>& outlet,
                    std::uint64_t scatter) {
    const int w = filled.width();
    const std::size_t n = filled.cells().size();
    const std::vector<float>& f = filled.cells();
    FlowField flow;
    flow.receiver.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int x = static_cast<int>(i) % w;
        const int y = static_cast<int>(i) / w;
        int best = static_cast<int>(i);
        float steepest = 0.0f;
        if (!outlet[i]) {
            // A diagonal step's length: 2 - u for u uniform in [0, 1) per cell, whose mean
            // inverse (ln 2) is about that of the true length's (1 / sqrt 2).
            const float diagonal =
                scatter == 0 ? 1.41421356f
                             : 2.0f - static_cast<float>(mix64(scatter ^ (i * 0x9E37ull)) >> 40) *
                                          0x1.0p-24f;
            for (int k = 0; k < 8; ++k) {
                const int nx = x + kStepX[k];
                const int ny = y + kStepY[k];
                if (!filled.contains(nx, ny)) {
                    continue;
                }
                const int j = ny * w + nx;
                const float drop =
                    (f[i] - f[static_cast<std::size_t>(j)]) / (k < 4 ? 1.0f : diagonal);
                if (drop > steepest) {
                    steepest = drop;
                    best = j;
                }
            }
        }
        flow.receiver[i] = best;
    }
    gatherFlow(flow, filled, outlet);
    return flow;
}

}  // namespace marventa
