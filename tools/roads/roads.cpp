#include "tools/roads/roads.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <queue>
#include <tuple>

#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr int kCell = 8;  // routing lattice, picture pixels
constexpr float kBlocked = std::numeric_limits<float>::infinity();
constexpr float kOnRoad = 0.3f;         // an existing road costs this fraction of open ground
constexpr double kPlaceClearance = 20;  // a lane or track keeps this far from other places
constexpr int kDx[8] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int kDy[8] = {0, 1, 0, -1, 1, 1, -1, -1};

struct Lattice {
    int w = 0;
    int h = 0;
    std::vector<float> cost;    // per cell, for crossing one cell's width
    std::vector<char> road;     // cells a road already runs through
    std::vector<char> crowded;  // cells too near a place

    int cellOf(QPointF p) const {
        return std::clamp(int(p.y()) / kCell, 0, h - 1) * w +
               std::clamp(int(p.x()) / kCell, 0, w - 1);
    }
    QPointF centre(int c) const {
        return QPointF(c % w * kCell + kCell / 2.0, c / w * kCell + kCell / 2.0);
    }
};

Lattice costLattice(const Terrain& t, const Waterways& water,
                    const std::vector<ProvincePlace>& places) {
    Lattice l;
    l.w = t.height.width() / kCell + 1;
    l.h = t.height.height() / kCell + 1;
    const std::size_t n = std::size_t(l.w) * l.h;
    l.cost.assign(n, 0.0f);
    l.road.assign(n, 0);
    l.crowded.assign(n, 0);
    auto ground = [&](int x, int y) {
        return t.height.clamped(x * kCell + kCell / 2, y * kCell + kCell / 2);
    };
    for (int y = 0; y < l.h; ++y) {
        for (int x = 0; x < l.w; ++x) {
            const int px = std::min(x * kCell + kCell / 2, t.height.width() - 1);
            const int py = std::min(y * kCell + kCell / 2, t.height.height() - 1);
            if (ground(x, y) < 0.0f || t.lake(px, py) > 0) {
                l.cost[std::size_t(y * l.w + x)] = kBlocked;
                continue;
            }
            const float slope = std::hypot(ground(x + 1, y) - ground(x - 1, y),
                                           ground(x, y + 1) - ground(x, y - 1));
            l.cost[std::size_t(y * l.w + x)] =
                1.0f + 2.0f * ground(x, y) + 900.0f * slope * slope + 60.0f * slope;
        }
    }
    for (const auto* lines : {&water.rivers, &water.brooks}) {
        for (const RiverLine& r : *lines) {
            for (const QPointF& p : r.points) {
                l.cost[std::size_t(l.cellOf(p))] +=
                    6.0f + 3.0f * r.widths.front();  // a bridge is dear
            }
        }
    }
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        for (int j = -3; j <= 3; ++j) {
            for (int i = -3; i <= 3; ++i) {
                const QPointF q = at + QPointF(i * kCell, j * kCell);
                const int c = l.cellOf(q);
                if (length(l.centre(c) - at) < kPlaceClearance + kCell / 2.0) {
                    l.crowded[std::size_t(c)] = 1;
                }
            }
        }
    }
    return l;
}

float stepCost(const Lattice& l, int cell, int start) {
    const auto i = std::size_t(cell);
    if (l.road[i]) {
        return kOnRoad;
    }
    // Round other places, but a route may always leave its own.
    const float crowd =
        l.crowded[i] && length(l.centre(cell) - l.centre(start)) > kPlaceClearance + kCell ? 60.0f
                                                                                           : 0.0f;
    return l.cost[i] + crowd;
}

// Cheapest lattice path from `start` to the nearest cell where `arrived` holds (Dijkstra). Cells
// from start to goal; empty when none is within `maxCost`.
template <class Goal>
std::vector<int> route(const Lattice& l, int start, float maxCost, Goal arrived) {
    const std::size_t n = l.cost.size();
    std::vector<float> best(n, kBlocked);
    std::vector<int> from(n, -1);
    using Entry = std::tuple<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    best[std::size_t(start)] = 0.0f;
    open.emplace(0.0f, start);
    while (!open.empty()) {
        const auto [g, cell] = open.top();
        open.pop();
        const auto ci = std::size_t(cell);
        if (g > best[ci] || g > maxCost) {
            continue;
        }
        if (arrived(cell)) {
            std::vector<int> path;
            for (int c = cell; c >= 0; c = from[std::size_t(c)]) {
                path.push_back(c);
            }
            std::reverse(path.begin(), path.end());
            return path;
        }
        for (int k = 0; k < 8; ++k) {
            const int nx = cell % l.w + kDx[k];
            const int ny = cell / l.w + kDy[k];
            if (nx < 0 || ny < 0 || nx >= l.w || ny >= l.h) {
                continue;
            }
            const int next = ny * l.w + nx;
            const float step = (k < 4 ? 1.0f : 1.41421356f) * 0.5f *
                               (stepCost(l, cell, start) + stepCost(l, next, start));
            if (g + step < best[std::size_t(next)]) {
                best[std::size_t(next)] = g + step;
                from[std::size_t(next)] = cell;
                open.emplace(g + step, next);
            }
        }
    }
    return {};
}

void markRoad(Lattice& l, const std::vector<QPointF>& points) {
    for (const QPointF& p : points) {
        l.road[std::size_t(l.cellOf(p))] = 1;
    }
}

bool nearRoad(QPointF p, const std::vector<RoadLine>& roads, double within) {
    return std::any_of(roads.begin(), roads.end(),
                       [&](const RoadLine& r) { return distanceToPolyline(p, r.points) < within; });
}

// The distance to the nearest point on any of `roads`, and that point.
std::pair<double, QPointF> nearestRoadPoint(QPointF p, const std::vector<RoadLine>& roads) {
    std::pair<double, QPointF> best{std::numeric_limits<double>::max(), p};
    for (const RoadLine& r : roads) {
        const Nearest n = nearestOnPolyline(p, r.points);
        if (n.distance < best.first) {
            best = {n.distance, r.points[n.segment] +
                                    (r.points[n.segment + 1] - r.points[n.segment]) * n.along};
        }
    }
    return best;
}

// Joins `place` to the network over the lattice; the line ends on the road it meets.
std::optional<RoadLine> joinToNetwork(Lattice& l, QPointF place, RoadClass kind, float maxCost,
                                      const std::vector<RoadLine>& roads) {
    const std::vector<int> cells =
        route(l, l.cellOf(place), maxCost, [&](int c) { return l.road[std::size_t(c)] != 0; });
    if (cells.empty()) {
        return std::nullopt;
    }
    std::vector<QPointF> points{place};
    for (std::size_t i = 1; i < cells.size(); ++i) {
        points.push_back(l.centre(cells[i]));
    }
    // End exactly on the road the lattice reached.
    points.back() = nearestRoadPoint(points.back(), roads).second;
    std::vector<float> none;
    cutCorners(points, none, 3);
    markRoad(l, points);
    return RoadLine{points, kind};
}

// The legs of the highways: between consecutive towns along each of the layout's roads.
std::vector<std::pair<QPointF, QPointF>> highwayLegs(const ProvinceLayout& layout,
                                                     const std::vector<ProvincePlace>& places) {
    std::vector<std::pair<QPointF, QPointF>> legs;
    for (const Road& r : layout.roads) {
        std::vector<QPointF> stops;
        for (const QPointF& p : r.course) {
            for (const ProvincePlace& place : places) {
                if ((place.kind == PlaceKind::City || place.kind == PlaceKind::Town) &&
                    length(QPointF(place.at.x, place.at.y) - p) < 6.0) {
                    stops.emplace_back(place.at.x, place.at.y);
                }
            }
        }
        for (std::size_t i = 1; i < stops.size(); ++i) {
            legs.emplace_back(stops[i - 1], stops[i]);
        }
    }
    return legs;
}

}  // namespace

std::vector<RoadLine> planRoads(const ProvinceLayout& layout,
                                const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                const Waterways& water) {
    Lattice lattice = costLattice(terrain, water, places);
    std::vector<RoadLine> roads;
    for (const auto& [from, to] : highwayLegs(layout, places)) {
        const int goal = lattice.cellOf(to);
        const std::vector<int> cells =
            route(lattice, lattice.cellOf(from), kBlocked, [&](int c) { return c == goal; });
        if (cells.empty()) {
            continue;
        }
        std::vector<QPointF> points{from};
        for (std::size_t i = 1; i + 1 < cells.size(); ++i) {
            points.push_back(lattice.centre(cells[i]));
        }
        points.push_back(to);
        std::vector<float> none;
        cutCorners(points, none, 3);
        markRoad(lattice, points);
        roads.push_back({points, RoadClass::Highway});
    }
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        if (p.kind == PlaceKind::Town && !nearRoad(at, roads, 12.0)) {
            if (auto lane = joinToNetwork(lattice, at, RoadClass::Lane, 4000.0f, roads)) {
                roads.push_back(std::move(*lane));
            }
        }
    }
    const std::size_t network = roads.size();
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        if (p.kind == PlaceKind::Inn) {
            // A few steps from the door to the nearest highway or lane.
            const std::vector<RoadLine> main(roads.begin(),
                                             roads.begin() + std::ptrdiff_t(network));
            const auto [distance, to] = nearestRoadPoint(at, main);
            if (distance < 60.0) {
                roads.push_back({{at, to}, RoadClass::Track});
            }
        } else if ((p.kind == PlaceKind::Settlement || p.kind == PlaceKind::Mine) &&
                   !nearRoad(at, roads, 12.0)) {
            if (auto track = joinToNetwork(lattice, at, RoadClass::Track, 260.0f, roads)) {
                roads.push_back(std::move(*track));
            }
        }
    }
    return roads;
}

}  // namespace marventa
