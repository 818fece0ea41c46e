#include "lots.h"

#include <algorithm>
#include <numeric>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa::plan {

namespace {

Area quad(QPointF a, QPointF b, QPointF c, QPointF d) {
    return toArea({a, b, c, d, a});
}

// The frontage edges of a block piece, longest first, each with its inward normal.
struct Edge {
    QPointF a;
    QPointF b;
    QPointF inward;
};

std::vector<Edge> edgesOf(const Poly& piece) {
    Area self;
    self.push_back(piece);
    std::vector<Edge> edges;
    const auto& r = piece.outer();
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        const QPointF a(r[i].x(), r[i].y());
        const QPointF b(r[i + 1].x(), r[i + 1].y());
        const double len = length(b - a);
        if (len < 9) {
            continue;
        }
        QPointF n = QPointF(-(b - a).y(), (b - a).x()) / len;
        if (!contains(self, (a + b) / 2 + n * 1.5)) {
            n = -n;
        }
        edges.push_back({a, b, n});
    }
    std::stable_sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) {
        return length(x.b - x.a) > length(y.b - y.a);
    });
    return edges;
}

}  // namespace

std::vector<Lot> packBlocks(const TownPlan& plan, std::uint64_t seed) {
    std::vector<Lot> lots;
    // Houses are house-sized in every town; a larger town has more blocks, not larger plots.
    const double scale = std::min(1.0, plan.site->cellSize / 92.0);
    for (std::size_t c = 0; c < plan.blocks.size(); ++c) {
        if (plan.cells[c].ward != Ward::Houses) {
            continue;
        }
        Rng rng(mix64(seed ^ (c * 7919)));
        int run = 0;
        for (const Poly& piece : plan.blocks[c]) {
            const double depth = rng.range(30, 42) * scale;
            Area self;
            self.push_back(piece);
            const Area frontage = subtract(self, grow(self, -depth));
            Area taken;
            const std::size_t firstOfPiece = lots.size();
            for (const Edge& e : edgesOf(piece)) {
                const double len = length(e.b - e.a);
                const QPointF along = (e.b - e.a) / len;
                const QPointF deep = e.inward * (depth + 24);
                const QPointF out = -e.inward * 2;
                const Area region =
                    subtract(intersect(frontage, quad(e.a - along + out, e.b + along + out,
                                                      e.b + along + deep, e.a - along + deep)),
                             taken);
                taken = unite(taken, region);
                if (areaOf(region) < 60) {
                    continue;
                }
                double t = 0;
                int index = 0;
                while (t < len - 4) {
                    double w = rng.range(12, 22) * scale;
                    if (len - (t + w) < 9 * scale) {
                        w = len - t;
                    }
                    const QPointF a = e.a + along * t;
                    const QPointF b = e.a + along * (t + w);
                    t += w;
                    const Area slab = quad(a + out, b + out, b + deep, a + deep);
                    Area body;
                    body.push_back(largest(intersect(region, slab)));
                    // Corners where two frontages meet can be claimed twice; the first keeps them.
                    const bool claimed = std::any_of(
                        lots.begin() + static_cast<std::ptrdiff_t>(firstOfPiece), lots.end(),
                        [&](const Lot& o) { return overlaps(o.body, body, 0.5); });
                    if (body.front().outer().empty() || areaOf(body) < 70 || claimed ||
                        rng.chance(0.05)) {
                        ++index;
                        continue;
                    }
                    const QPointF mid = e.inward * (depth / 2);
                    Lot lot;
                    lot.back = intersect(body, quad(a + mid, b + mid, b + deep, a + deep));
                    lot.body = std::move(body);
                    lot.frontA = a;
                    lot.frontB = b;
                    lot.outward = -e.inward;
                    lot.cell = static_cast<int>(c);
                    lot.edge = run;
                    lot.index = index++;
                    lots.push_back(std::move(lot));
                }
                ++run;
            }
        }
    }
    return lots;
}

std::vector<Lot> yardBuildings(const TownPlan& plan, const std::vector<Lot>& houses,
                               const Area& named, std::uint64_t seed) {
    const auto dot = [](QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); };
    const Area namedClear = grow(named, 6);
    // A very large map keeps more courtyards open: every roof costs bytes in its file.
    const double open =
        static_cast<double>(plan.size.width()) * plan.size.height() > 3e6 ? 0.6 : 0.2;
    std::vector<Lot> out;
    for (std::size_t c = 0; c < plan.blocks.size(); ++c) {
        if (plan.cells[c].ward != Ward::Houses || plan.blocks[c].empty()) {
            continue;
        }
        Rng rng(mix64(seed ^ (c * 6151)));
        Area built;
        for (const Lot& h : houses) {
            if (h.cell == static_cast<int>(c) && !h.body.empty()) {
                built = unite(built, grow(h.body, 4));
            }
        }
        for (const Poly& piece : subtract(subtract(plan.blocks[c], built), namedClear)) {
            // A large yard is always built on, else its block reads half empty.
            const double size = areaOf(piece);
            if (size < 300 || (size < 3000 && rng.chance(open))) {
                continue;  // too small, or kept as a courtyard
            }
            const std::vector<Edge> edges = edgesOf(piece);
            if (edges.empty()) {
                continue;
            }
            // Axes along the yard's longest side; its extent on them.
            const QPointF along =
                (edges.front().b - edges.front().a) / length(edges.front().b - edges.front().a);
            const QPointF across(-along.y(), along.x());
            double a0 = 1e9, a1 = -1e9, n0 = 1e9, n1 = -1e9;
            for (const auto& v : piece.outer()) {
                const QPointF p(v.x(), v.y());
                a0 = std::min(a0, dot(p, along));
                a1 = std::max(a1, dot(p, along));
                n0 = std::min(n0, dot(p, across));
                n1 = std::max(n1, dot(p, across));
            }
            Area inside;
            inside.push_back(piece);
            inside = grow(inside, -3);
            const int parts = std::clamp(static_cast<int>((a1 - a0) / 60), 1, 2);
            const double span = (a1 - a0) * rng.range(0.55, 0.75) / parts;
            const double depth = (n1 - n0) * rng.range(0.45, 0.65);
            const double mid = (n0 + n1) / 2;
            for (int k = 0; k < parts; ++k) {
                const double start = a0 + (a1 - a0) * (k + 0.5) / parts - span / 2 + 2;
                const auto at = [&](double s, double n) { return along * s + across * n; };
                const Area slab =
                    quad(at(start, mid - depth / 2), at(start + span - 4, mid - depth / 2),
                         at(start + span - 4, mid + depth / 2), at(start, mid + depth / 2));
                Area body;
                body.push_back(largest(intersect(inside, slab)));
                if (body.front().outer().empty() || areaOf(body) < 80) {
                    continue;
                }
                Lot lot;
                lot.back = intersect(
                    body, quad(at(start, mid), at(start + span - 4, mid),
                               at(start + span - 4, mid + depth / 2), at(start, mid + depth / 2)));
                lot.body = std::move(body);
                lot.frontA = at(start, mid - depth / 2);
                lot.frontB = at(start + span - 4, mid - depth / 2);
                lot.outward = -across;
                lot.cell = static_cast<int>(c);
                lot.edge = -1;
                out.push_back(std::move(lot));
            }
        }
    }
    return out;
}

std::vector<Lot> lineRoads(const TownPlan& plan, std::uint64_t seed) {
    std::vector<Lot> lots;
    Rng rng(seed);
    Area keepOff = unite(grow(plan.water, 6), plan.marsh);
    keepOff = unite(keepOff, grow(plan.town, 14));
    for (const auto& run : plan.wall) {
        keepOff = unite(keepOff, band(run, 22));
    }
    Area built;
    int road = 0;
    for (const auto& r : plan.roads) {
        // Only the roads that leave a gate have houses along them, thinning out from it.
        const bool fromGate = std::any_of(plan.gates.begin(), plan.gates.end(), [&](const Gate& g) {
            return length(g.at - r.front()) < 1;
        });
        if (!fromGate) {
            ++road;
            continue;
        }
        const std::vector<QPointF> line = resample(r, 2);
        for (int side : {-1, 1}) {
            double t = 36;
            int index = 0;
            const double reach = rng.range(170, 300);
            while (t < reach && static_cast<std::size_t>(t / 2) + 8 < line.size()) {
                const std::size_t i = static_cast<std::size_t>(t / 2);
                const QPointF along = (line[i + 6] - line[i]) / length(line[i + 6] - line[i]);
                const QPointF n = QPointF(-along.y(), along.x()) * side;
                const double w = rng.range(13, 20);
                const double d = rng.range(14, 22);
                const QPointF a = line[i] + n * (kRoad / 2 + 1.5);
                const QPointF b = a + along * w;
                t += w + (rng.chance(0.3) ? rng.range(8, 30) : 2);
                if (rng.chance(t / (reach * 1.6))) {
                    continue;
                }
                const Area body = quad(a, b, b + n * d, a + n * d);
                if (!intersect(body, keepOff).empty() || !intersect(body, built).empty() ||
                    !intersect(body, grow(plan.roadGround, -0.5)).empty()) {
                    continue;
                }
                built = unite(built, grow(body, 2));
                Lot lot;
                lot.body = body;
                lot.back = quad(a + n * (d / 2), b + n * (d / 2), b + n * d, a + n * d);
                lot.frontA = a;
                lot.frontB = b;
                lot.outward = -n;
                lot.cell = -1;
                lot.edge = road * 2 + (side > 0 ? 1 : 0);
                lot.index = index++;
                lots.push_back(lot);
            }
        }
        ++road;
    }
    return lots;
}

}  // namespace marventa::plan
