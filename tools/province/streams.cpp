#include "streams.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <tuple>

#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr int kScale = 4;                   // the drainage lattice, picture pixels per cell
constexpr std::uint32_t kBrookCells = 900;  // cells draining through a point before it is a brook
constexpr float kHollow = 0.0015f;          // filled deeper than this: the water would pool there
constexpr double kPlaceMargin = 26.0;       // pixels between a place and any brook
constexpr int kDx[8] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int kDy[8] = {0, 1, 0, -1, 1, 1, -1, -1};

struct Lattice {
    int w;
    int h;
    std::vector<float> ground;    // mean height of each cell
    std::vector<char> water;      // sea, lake or river: where brooks end
    std::vector<char> nearPlace;  // too close to a place for a brook
    int index(int x, int y) const { return y * w + x; }
};

Lattice lattice(const Terrain& t, const Waterways& water,
                const std::vector<ProvincePlace>& places) {
    const int w = (t.height.width() + kScale - 1) / kScale;
    const int h = (t.height.height() + kScale - 1) / kScale;
    Lattice l{w, h, std::vector<float>(std::size_t(w) * h),
              std::vector<char>(std::size_t(w) * h, 0), std::vector<char>(std::size_t(w) * h, 0)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0.0f;
            int n = 0;
            bool wet = false;
            for (int j = 0; j < kScale; ++j) {
                for (int i = 0; i < kScale; ++i) {
                    const int px = x * kScale + i;
                    const int py = y * kScale + j;
                    if (t.height.contains(px, py)) {
                        sum += t.height(px, py);
                        wet = wet || t.height(px, py) < 0.0f || t.lake(px, py) > 127;
                        ++n;
                    }
                }
            }
            l.ground[std::size_t(l.index(x, y))] = sum / float(n);
            l.water[std::size_t(l.index(x, y))] = wet;
        }
    }
    for (const RiverLine& r : water.rivers) {
        for (const QPointF& p : r.points) {
            const int x = std::clamp(int(p.x()) / kScale, 0, w - 1);
            const int y = std::clamp(int(p.y()) / kScale, 0, h - 1);
            l.water[std::size_t(l.index(x, y))] = 1;
        }
    }
    const int reach = int(std::ceil(kPlaceMargin / kScale));
    for (const ProvincePlace& p : places) {
        for (int j = -reach; j <= reach; ++j) {
            for (int i = -reach; i <= reach; ++i) {
                const int x = p.at.x / kScale + i;
                const int y = p.at.y / kScale + j;
                if (x >= 0 && y >= 0 && x < w && y < h &&
                    std::hypot(i, j) * kScale <= kPlaceMargin) {
                    l.nearPlace[std::size_t(l.index(x, y))] = 1;
                }
            }
        }
    }
    return l;
}

struct Drainage {
    std::vector<int> next;   // the cell each cell drains into; -1 for water cells
    std::vector<int> order;  // cells in the order the flood reached them (downstream first)
    std::vector<std::uint32_t> flow;
    std::vector<char> clear;  // the way down from here to the water is a proper brook
};

// Priority flood from all water inward: each cell drains into the cell that reached it.
Drainage drain(const Lattice& l) {
    const std::size_t n = l.ground.size();
    Drainage d{
        std::vector<int>(n, -2), {}, std::vector<std::uint32_t>(n, 1), std::vector<char>(n, 0)};
    std::vector<float> filled(l.ground);
    using Entry = std::tuple<float, std::uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    std::uint64_t arrival = 0;
    for (int c = 0; c < int(n); ++c) {
        if (l.water[std::size_t(c)]) {
            d.next[std::size_t(c)] = -1;
            d.clear[std::size_t(c)] = 1;
            queue.emplace(l.ground[std::size_t(c)], arrival++, c);
        }
    }
    while (!queue.empty()) {
        const auto [level, ignored, cell] = queue.top();
        queue.pop();
        d.order.push_back(cell);
        for (int k = 0; k < 8; ++k) {
            const int x = cell % l.w + kDx[k];
            const int y = cell / l.w + kDy[k];
            if (x < 0 || y < 0 || x >= l.w || y >= l.h) {
                continue;
            }
            const auto next = std::size_t(l.index(x, y));
            if (d.next[next] != -2) {
                continue;
            }
            d.next[next] = cell;
            filled[next] = std::max(l.ground[next], level + 1e-6f);
            const bool pools = filled[next] - l.ground[next] > kHollow;
            d.clear[next] = !pools && !l.nearPlace[next] && d.clear[std::size_t(cell)];
            queue.emplace(filled[next], arrival++, int(next));
        }
    }
    for (auto it = d.order.rbegin(); it != d.order.rend(); ++it) {
        const int down = d.next[std::size_t(*it)];
        if (down >= 0) {
            d.flow[std::size_t(down)] += d.flow[std::size_t(*it)];
        }
    }
    return d;
}

// Averages each inner point with its neighbours a few times: the lattice's right-angle steps
// become a gently winding line. Both ends stay where they are.
void easeLine(std::vector<QPointF>& points) {
    for (int round = 0; round < 4; ++round) {
        std::vector<QPointF> eased = points;
        for (std::size_t i = 2; i + 2 < points.size(); ++i) {
            eased[i] =
                (points[i - 2] + points[i - 1] + points[i] + points[i + 1] + points[i + 2]) / 5.0;
        }
        points = std::move(eased);
    }
}

float brookWidth(std::uint32_t flow) {
    return 1.1f + 0.5f * std::log2(float(flow) / kBrookCells + 1.0f);
}

QPointF centre(const Lattice& l, int cell) {
    return QPointF((cell % l.w) * kScale + kScale / 2.0, (cell / l.w) * kScale + kScale / 2.0);
}

}  // namespace

std::vector<Stream> findStreams(const Terrain& terrain, const Waterways& water,
                                const std::vector<ProvincePlace>& places) {
    const Lattice l = lattice(terrain, water, places);
    const Drainage d = drain(l);
    const std::size_t n = l.ground.size();
    auto isBrook = [&](std::size_t c) {
        return d.flow[c] >= kBrookCells && d.clear[c] && d.next[c] >= 0;
    };
    std::vector<char> fed(n, 0);
    for (std::size_t c = 0; c < n; ++c) {
        if (isBrook(c)) {
            fed[std::size_t(d.next[c])] = 1;
        }
    }
    std::vector<char> drawn(n, 0);
    std::vector<Stream> streams;
    std::vector<char> joining;  // per brook: it ends on another brook, not in open water
    // From every brook source walk down until the water, or a brook already drawn, is reached.
    for (std::size_t c = 0; c < n; ++c) {
        if (!isBrook(c) || fed[c]) {
            continue;
        }
        Stream s;
        std::vector<int> cells;
        bool joins = false;
        for (int cell = int(c); cell >= 0; cell = d.next[std::size_t(cell)]) {
            s.points.push_back(centre(l, cell));
            s.widths.push_back(brookWidth(d.flow[std::size_t(cell)]));
            if (drawn[std::size_t(cell)] || l.water[std::size_t(cell)]) {
                joins = drawn[std::size_t(cell)] && !l.water[std::size_t(cell)];
                break;
            }
            cells.push_back(cell);
        }
        if (s.points.size() < 10) {
            continue;  // a trickle: left out, and its cells stay free for a longer brook
        }
        for (int cell : cells) {
            drawn[std::size_t(cell)] = 1;
        }
        easeLine(s.points);
        cutCorners(s.points, s.widths, 3);
        streams.push_back(std::move(s));
        joining.push_back(joins);
    }
    // Easing moved the brooks a little: let each tributary end on the brook it joins again.
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (!joining[i]) {
            continue;
        }
        QPointF& end = streams[i].points.back();
        Nearest best;
        QPointF onto = end;
        for (std::size_t j = 0; j < streams.size(); ++j) {
            const Nearest n = j == i ? Nearest{} : nearestOnPolyline(end, streams[j].points);
            if (n.distance < best.distance) {
                best = n;
                const auto& pts = streams[j].points;
                onto = pts[n.segment] + (pts[n.segment + 1] - pts[n.segment]) * n.along;
            }
        }
        end = onto;
    }
    return streams;
}

}  // namespace marventa
