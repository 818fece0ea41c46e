#include "town_plan.h"

#include <algorithm>
#include <boost/polygon/voronoi.hpp>
#include <cmath>
#include <map>
#include <numbers>
#include <queue>

#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa::plan {

namespace {

constexpr double kVoronoiScale = 4.0;

double ellipseRadius(const CityLayout& site, QPointF p) {
    const double dx = (p.x() - site.centre.x()) / site.radii.width();
    const double dy = (p.y() - site.centre.y()) / site.radii.height();
    const double a = std::atan2(dy, dx);
    const double wobble = 1 + 0.07 * std::sin(3 * a + static_cast<double>(site.seed % 7)) +
                          0.04 * std::sin(5 * a + static_cast<double>(site.seed % 5));
    return std::hypot(dx, dy) / wobble;
}

// Seeds by dart throwing: close together in the middle of town, sparser out in the fields.
std::vector<QPointF> seeds(const CityLayout& site, QSize size, Rng& rng) {
    const double cell = site.cellSize;
    auto spacing = [&](QPointF p) {
        const double r = ellipseRadius(site, p);
        const double s = r < 1 ? 0.8 + 0.3 * r : 1.15 + 1.1 * (r - 1);
        return cell * std::min(s, 2.6);
    };
    const double margin = 2 * cell;
    std::vector<QPointF> candidates;
    const double step = cell / 4;
    for (double y = -margin; y <= size.height() + margin; y += step) {
        for (double x = -margin; x <= size.width() + margin; x += step) {
            candidates.emplace_back(x + rng.range(0, step), y + rng.range(0, step));
        }
    }
    for (std::size_t i = candidates.size(); i > 1; --i) {
        std::swap(candidates[i - 1],
                  candidates[static_cast<std::size_t>(rng.below(static_cast<int>(i)))]);
    }
    const double bucket = cell / 2;
    const int cols = static_cast<int>((size.width() + 2 * margin) / bucket) + 2;
    const int rows = static_cast<int>((size.height() + 2 * margin) / bucket) + 2;
    std::vector<std::vector<QPointF>> grid(static_cast<std::size_t>(cols * rows));
    auto bucketOf = [&](QPointF p) {
        return std::pair<int, int>(static_cast<int>((p.x() + margin) / bucket),
                                   static_cast<int>((p.y() + margin) / bucket));
    };
    const int reach = static_cast<int>(std::ceil(2.6 * cell / bucket));
    std::vector<QPointF> out;
    for (const QPointF& c : candidates) {
        const double s = spacing(c);
        const auto [bx, by] = bucketOf(c);
        bool free = true;
        for (int j = std::max(0, by - reach); free && j <= std::min(rows - 1, by + reach); ++j) {
            for (int i = std::max(0, bx - reach); free && i <= std::min(cols - 1, bx + reach);
                 ++i) {
                for (const QPointF& o : grid[static_cast<std::size_t>(j * cols + i)]) {
                    if (length(o - c) < s) {
                        free = false;
                        break;
                    }
                }
            }
        }
        if (free) {
            out.push_back(c);
            grid[static_cast<std::size_t>(by * cols + bx)].push_back(c);
        }
    }
    return out;
}

struct Graph {
    std::vector<QPointF> vertices;
    std::vector<std::vector<std::pair<int, double>>> next;
};

std::vector<QPointF> shortestPath(const Graph& g, int from, const std::vector<int>& targets) {
    std::vector<double> dist(g.vertices.size(), 1e18);
    std::vector<int> prev(g.vertices.size(), -1);
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    dist[static_cast<std::size_t>(from)] = 0;
    queue.push({0, from});
    int reached = -1;
    while (!queue.empty()) {
        const auto [d, v] = queue.top();
        queue.pop();
        if (d > dist[static_cast<std::size_t>(v)]) {
            continue;
        }
        if (std::find(targets.begin(), targets.end(), v) != targets.end()) {
            reached = v;
            break;
        }
        for (const auto& [w, cost] : g.next[static_cast<std::size_t>(v)]) {
            if (d + cost < dist[static_cast<std::size_t>(w)]) {
                dist[static_cast<std::size_t>(w)] = d + cost;
                prev[static_cast<std::size_t>(w)] = v;
                queue.push({d + cost, w});
            }
        }
    }
    std::vector<QPointF> path;
    for (int v = reached; v >= 0; v = prev[static_cast<std::size_t>(v)]) {
        path.push_back(g.vertices[static_cast<std::size_t>(v)]);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

bool onLine(const std::vector<QPointF>& line, QPointF p, double tolerance) {
    return line.size() > 1 && distanceToPolyline(p, line) < tolerance;
}

// The point where the ray from `from` through `toward` leaves the closed ring.
QPointF rayExit(const std::vector<QPointF>& ring, QPointF from, QPointF toward) {
    const double t = lastRayCrossing(ring, from, toward - from);
    return t > 0 ? from + (toward - from) * t : from;
}

}  // namespace

TownPlan planTown(const CityLayout& site, QSize size) {
    TownPlan plan;
    plan.site = &site;
    plan.size = size;
    Rng rng(site.seed);
    const Area map =
        toArea({{0, 0},
                {static_cast<double>(size.width()), 0},
                {static_cast<double>(size.width()), static_cast<double>(size.height())},
                {0, static_cast<double>(size.height())}});
    Area water;
    for (const auto& w : site.waters) {
        water = unite(water, filledArea(w));
    }
    plan.water = intersect(water, map);
    plan.land = subtract(map, plan.water);
    for (const auto& m : site.marshes) {
        plan.marsh = unite(plan.marsh, filledArea(m));
    }
    plan.marsh = intersect(plan.marsh, plan.land);

    // Patches: the Voronoi cells of the seeds, ringed by far ghosts so that every real one closes.
    std::vector<QPointF> pts = seeds(site, size, rng);
    const std::size_t real = pts.size();
    const double far = 5 * site.cellSize;
    for (double x = -far; x <= size.width() + far; x += site.cellSize * 2) {
        pts.emplace_back(x, -far);
        pts.emplace_back(x, size.height() + far);
    }
    for (double y = -far; y <= size.height() + far; y += site.cellSize * 2) {
        pts.emplace_back(-far, y);
        pts.emplace_back(size.width() + far, y);
    }
    std::vector<boost::polygon::point_data<int>> ipts;
    for (const QPointF& p : pts) {
        ipts.emplace_back(static_cast<int>(std::lround(p.x() * kVoronoiScale)),
                          static_cast<int>(std::lround(p.y() * kVoronoiScale)));
    }
    boost::polygon::voronoi_diagram<double> vd;
    boost::polygon::construct_voronoi(ipts.begin(), ipts.end(), &vd);

    Graph graph;
    const auto& vs = vd.vertices();
    for (const auto& v : vs) {
        graph.vertices.emplace_back(v.x() / kVoronoiScale, v.y() / kVoronoiScale);
    }
    graph.next.resize(graph.vertices.size());
    auto vertexIndex = [&](const boost::polygon::voronoi_vertex<double>* v) {
        return static_cast<int>(v - vs.data());
    };

    plan.cells.resize(real);
    std::vector<Poly> raw(real);
    std::vector<std::vector<int>> cellVertices(real);
    for (const auto& c : vd.cells()) {
        const std::size_t i = c.source_index();
        if (i >= real) {
            continue;
        }
        std::vector<QPointF> ring;
        bool closed = true;
        const auto* e = c.incident_edge();
        do {
            if (!e->vertex0()) {
                closed = false;
                break;
            }
            ring.push_back(graph.vertices[static_cast<std::size_t>(vertexIndex(e->vertex0()))]);
            cellVertices[i].push_back(vertexIndex(e->vertex0()));
            const std::size_t j = e->twin()->cell()->source_index();
            if (j < real) {
                plan.cells[i].neighbours.push_back(static_cast<int>(j));
            }
            e = e->next();
        } while (e != c.incident_edge());
        plan.cells[i].seed = pts[i];
        if (!closed || ring.size() < 3) {
            continue;
        }
        ring.push_back(ring.front());
        raw[i] = toPoly(ring);
        Area a;
        a.push_back(raw[i]);
        plan.cells[i].shape = intersect(a, plan.land);
    }

    // The town: patches whose seeds fall inside the roughened ellipse, mostly on dry ground.
    Area townRaw;
    for (std::size_t i = 0; i < real; ++i) {
        Cell& c = plan.cells[i];
        if (raw[i].outer().empty() || ellipseRadius(site, c.seed) >= 1) {
            continue;
        }
        const double dry = areaOf(subtract(c.shape, plan.marsh));
        if (dry > 0.45 * areaOf(raw[i])) {
            c.town = true;
            Area a;
            a.push_back(raw[i]);
            townRaw = unite(townRaw, a);
        }
    }
    const Poly ringPoly = largest(townRaw);
    std::vector<QPointF> ring;
    for (const Pt& p : ringPoly.outer()) {
        ring.emplace_back(p.x(), p.y());
    }
    Area ringArea;
    ringArea.push_back(ringPoly);
    for (std::size_t i = 0; i < real; ++i) {
        Cell& c = plan.cells[i];
        // The town keeps off the map's edges, so that every door is well inside its map.
        const QRectF extent = boundsOf(c.shape);
        const bool clearOfEdges = !c.shape.empty() && extent.left() > 50 && extent.top() > 50 &&
                                  extent.right() < size.width() - 50 &&
                                  extent.bottom() < size.height() - 50;
        c.town = !raw[i].outer().empty() && contains(ringArea, centroidOf(raw[i])) &&
                 areaOf(c.shape) > 0.3 * areaOf(raw[i]) && clearOfEdges;
        c.ward = c.town ? Ward::Houses : Ward::Country;
    }
    {
        Area kept;
        for (std::size_t i = 0; i < real; ++i) {
            if (plan.cells[i].town) {
                Area a;
                a.push_back(raw[i]);
                kept = unite(kept, a);
            }
        }
        const Poly keptRing = largest(kept);
        ring.clear();
        for (const Pt& p : keptRing.outer()) {
            ring.emplace_back(p.x(), p.y());
        }
        ringArea.clear();
        ringArea.push_back(keptRing);
        for (std::size_t i = 0; i < real; ++i) {
            Cell& c = plan.cells[i];
            c.town = c.town && contains(ringArea, centroidOf(raw[i]));
            c.ward = c.town ? Ward::Houses : Ward::Country;
        }
    }
    plan.town = intersect(ringArea, plan.land);

    // The wall runs wherever the town's edge is on dry ground; along the water the quay is open.
    // Where the edge wavers along the shore, the bits of it that dip out of the water's margin
    // are no wall, only loops on the bank.
    const auto hugsWater = [&](const std::vector<QPointF>& run) {
        const std::vector<QPointF> pts = resample(run, 6);
        const auto near = std::count_if(pts.begin(), pts.end(),
                                        [&](QPointF p) { return distanceTo(plan.water, p) < 30; });
        return 2 * near > static_cast<std::ptrdiff_t>(pts.size());
    };
    {
        for (const auto& run : clip(ring, subtract(plan.land, grow(plan.water, 8)))) {
            if (run.size() > 1 && polylineLength(run) > 40 && !hugsWater(run)) {
                plan.wall.push_back(run);
            }
        }
        // A closed ring comes back cut at its start: join the two ends.
        if (plan.wall.size() > 1) {
            for (std::size_t i = 1; i < plan.wall.size(); ++i) {
                if (length(plan.wall[0].front() - plan.wall[i].back()) < 0.5) {
                    plan.wall[i].insert(plan.wall[i].end(), plan.wall[0].begin() + 1,
                                        plan.wall[0].end());
                    plan.wall.erase(plan.wall.begin());
                    break;
                }
            }
        }
    }
    auto onWall = [&](QPointF p, double tol) {
        return std::any_of(plan.wall.begin(), plan.wall.end(),
                           [&](const auto& run) { return onLine(run, p, tol); });
    };
    auto isWet = [&](QPointF p) { return contains(plan.water, p); };

    // Streets: every edge between two town patches that stays on dry ground.
    std::vector<std::pair<int, int>> streetEdges;
    for (const auto& e : vd.edges()) {
        if (!e.is_primary() || !e.vertex0() || !e.vertex1() || &e > e.twin()) {
            continue;
        }
        const std::size_t a = e.cell()->source_index();
        const std::size_t b = e.twin()->cell()->source_index();
        if (a >= real || b >= real || !plan.cells[a].town || !plan.cells[b].town) {
            continue;
        }
        const int v0 = vertexIndex(e.vertex0());
        const int v1 = vertexIndex(e.vertex1());
        const QPointF p0 = graph.vertices[static_cast<std::size_t>(v0)];
        const QPointF p1 = graph.vertices[static_cast<std::size_t>(v1)];
        bool dry = true;
        for (const QPointF& s : resample({p0, p1}, 6)) {
            dry = dry && !isWet(s) && distanceTo(plan.water, s) > 6;
        }
        if (!dry) {
            continue;
        }
        const double len = length(p1 - p0);
        graph.next[static_cast<std::size_t>(v0)].push_back({v1, len});
        graph.next[static_cast<std::size_t>(v1)].push_back({v0, len});
        streetEdges.push_back({v0, v1});
        plan.lanes.push_back({p0, p1});
    }

    auto nearestCell = [&](QPointF p) {
        int best = -1;
        double bestD = 1e18;
        for (std::size_t i = 0; i < real; ++i) {
            if (plan.cells[i].town && length(plan.cells[i].seed - p) < bestD) {
                bestD = length(plan.cells[i].seed - p);
                best = static_cast<int>(i);
            }
        }
        return best;
    };
    plan.market = nearestCell(site.market);
    plan.cells[static_cast<std::size_t>(plan.market)].ward = Ward::Market;
    if (length(site.stronghold - site.market) > 1) {
        plan.stronghold = nearestCell(site.stronghold);
        plan.cells[static_cast<std::size_t>(plan.stronghold)].ward = Ward::Court;
    }
    auto streetVertices = [&](int cell) {
        std::vector<int> out;
        for (int v : cellVertices[static_cast<std::size_t>(cell)]) {
            if (!graph.next[static_cast<std::size_t>(v)].empty()) {
                out.push_back(v);
            }
        }
        return out;
    };
    const std::vector<int> marketVertices = streetVertices(plan.market);

    // Gates: where the approach roads meet the wall, at a corner a street leaves from.
    std::vector<int> gateCandidates;
    for (std::size_t v = 0; v < graph.vertices.size(); ++v) {
        const QPointF p = graph.vertices[v];
        if (!graph.next[v].empty() && onLine(ring, p, 0.5) && onWall(p, 0.5) &&
            distanceTo(plan.water, p) > 40) {
            gateCandidates.push_back(static_cast<int>(v));
        }
    }
    std::vector<int> gateVertices;
    for (const GateSite& g : site.gates) {
        const QPointF exit = rayExit(ring, site.centre, g.toward);
        int best = -1;
        double bestD = 1e18;
        for (int v : gateCandidates) {
            const QPointF p = graph.vertices[static_cast<std::size_t>(v)];
            const bool crowded = std::any_of(gateVertices.begin(), gateVertices.end(), [&](int o) {
                return length(graph.vertices[static_cast<std::size_t>(o)] - p) < 120;
            });
            const double d = length(p - exit);
            if (!crowded && d < bestD) {
                bestD = d;
                best = v;
            }
        }
        if (best < 0) {
            throw std::runtime_error("no room on the wall for " + g.name.toStdString());
        }
        gateVertices.push_back(best);
        Gate gate;
        gate.name = g.name;
        gate.at = graph.vertices[static_cast<std::size_t>(best)];
        std::vector<QPointF> street = shortestPath(graph, best, marketVertices);
        plan.mainStreets.push_back(street);
        gate.inward = street.size() > 1 ? (street[1] - street[0]) / length(street[1] - street[0])
                                        : (site.centre - gate.at) / length(site.centre - gate.at);
        // The road out: straight off the wall, then bending toward where it leaves the map.
        const QPointF out = (gate.at - site.centre) / length(gate.at - site.centre);
        const QPointF off = -gate.inward * 0.6 + out * 0.4;
        const QPointF start = gate.at + off / length(off) * 60;
        const QPointF mid = (start + g.toward) / 2 + QPointF(rng.range(-1, 1), rng.range(-1, 1)) *
                                                         length(g.toward - start) * 0.06;
        std::vector<QPointF> road = resample({gate.at, start, mid, g.toward}, 6);
        gate.road = road;
        plan.gates.push_back(gate);
    }
    if (plan.stronghold >= 0) {
        plan.mainStreets.push_back(
            shortestPath(graph, streetVertices(plan.stronghold).front(), marketVertices));
    }
    // Crossings start from the street corner nearest their quay point.
    std::vector<std::vector<QPointF>> crossingRoads;
    for (const CrossingSite& c : site.crossings) {
        int best = -1;
        double bestD = 1e18;
        for (std::size_t v = 0; v < graph.vertices.size(); ++v) {
            if (!graph.next[v].empty() && length(graph.vertices[v] - c.from) < bestD) {
                bestD = length(graph.vertices[v] - c.from);
                best = static_cast<int>(v);
            }
        }
        plan.mainStreets.push_back(shortestPath(graph, best, marketVertices));
        crossingRoads.push_back(
            resample({graph.vertices[static_cast<std::size_t>(best)], c.from, c.to}, 6));
    }

    // Main streets bend round their corners rather than turning sharp on the patch edges.
    for (auto& street : plan.mainStreets) {
        if (street.size() > 2) {
            street = roundBends(street, 30, 4);
        }
    }

    // Roads: a bridge where one crosses water to dry ground beyond; a landing where it ends in it.
    auto settleRoad = [&](std::vector<QPointF> road) {
        std::vector<QPointF> kept{road.front()};
        std::size_t i = 1;
        while (i < road.size()) {
            if (!isWet(road[i])) {
                kept.push_back(road[i++]);
                continue;
            }
            std::size_t j = i;
            while (j < road.size() && isWet(road[j])) {
                ++j;
            }
            const bool inMap = j < road.size() && road[j].x() >= 0 && road[j].y() >= 0 &&
                               road[j].x() <= size.width() && road[j].y() <= size.height();
            if (!inMap) {
                plan.landings.push_back(kept.back());
                break;
            }
            plan.bridges.push_back({kept.back(), road[j]});
            plan.roads.push_back(kept);
            kept = {road[j]};
            i = j + 1;
        }
        if (kept.size() > 1) {
            plan.roads.push_back(kept);
        }
    };
    for (const Gate& g : plan.gates) {
        settleRoad(g.road);
    }
    // A path out to the lighthouse from the nearest road.
    if (!site.lighthouse.isNull() && !plan.roads.empty()) {
        QPointF best;
        double bestD = 1e18;
        for (const auto& r : plan.roads) {
            for (const QPointF& q : r) {
                if (length(q - site.lighthouse) < bestD && !isWet(q)) {
                    bestD = length(q - site.lighthouse);
                    best = q;
                }
            }
        }
        const std::vector<QPointF> path = resample({best, site.lighthouse}, 4);
        if (std::none_of(path.begin(), path.end(), isWet)) {
            plan.roads.push_back(path);
        }
    }
    for (const auto& r : crossingRoads) {
        settleRoad(r);
    }

    // Towers at the wall's corners, none at a gate.
    for (const auto& run : plan.wall) {
        QPointF last(-1e9, -1e9);
        for (std::size_t i = 0; i < run.size(); ++i) {
            const QPointF p = run[i];
            const bool end = i == 0 || i + 1 == run.size();
            const bool nearGate = std::any_of(plan.gates.begin(), plan.gates.end(),
                                              [&](const Gate& g) { return length(g.at - p) < 30; });
            if (!nearGate && (end || length(p - last) > 55)) {
                plan.towers.push_back(p);
                last = p;
            }
        }
    }

    // Blocks: each town patch less its lanes, the main streets, the quay and the wall's lane.
    plan.quay = intersect(grow(plan.water, 16), plan.town);
    Area streets;
    for (const auto& s : plan.mainStreets) {
        if (s.size() > 1) {
            streets = unite(streets, band(s, kMainStreet / 2));
        }
    }
    for (const auto& r : plan.roads) {
        plan.roadGround = unite(plan.roadGround, band(r, kRoad / 2));
    }
    plan.roadGround = subtract(plan.roadGround, plan.water);
    Area wallLane;
    for (const auto& run : plan.wall) {
        wallLane = unite(wallLane, band(run, 16));
    }
    Area cut = unite(unite(streets, wallLane), unite(plan.quay, plan.marsh));
    // A small square inside each gate, so the gatehouse opens onto the street.
    for (const Gate& g : plan.gates) {
        cut = unite(cut, band({g.at, g.at + g.inward * 20}, 14));
    }
    plan.blocks.resize(real);
    for (std::size_t i = 0; i < real; ++i) {
        Cell& c = plan.cells[i];
        if (!c.town || c.ward == Ward::Market) {
            continue;
        }
        Area block = intersect(grow(c.shape, -kLane / 2), plan.town);
        block = subtract(block, cut);
        std::erase_if(block, [](const Poly& p) { return areaOf(p) < 400; });
        plan.blocks[i] = block;
    }
    return plan;
}

}  // namespace marventa::plan
