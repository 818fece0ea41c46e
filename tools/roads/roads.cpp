#include "tools/roads/roads.h"

#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/roads/cost_lattice.h"
#include "tools/roads/fords.h"
#include "tools/roads/hairpins.h"
#include "tools/roads/road_bends.h"
#include "tools/roads/road_network.h"
#include "tools/roads/shared_ground.h"

namespace marventa {

namespace {

constexpr double kPlaceClearance = 20;  // a road keeps this far from places it does not serve
constexpr float kCrowdSurcharge = 60.0f;
constexpr float kUnbounded = std::numeric_limits<float>::infinity();
constexpr float kHighwayReuse = 0.4f;  // a highway's price along one already laid
constexpr float kTrackReuse = 0.3f;
constexpr double kLoopDetour = 1.1;  // a loop is laid where the way round costs this much more
constexpr float kCityPull = 0.8f;    // the weight of a city's links when choosing them
constexpr float kMineReach = 1500.0f;

bool joinsTowns(PlaceKind k) {
    return k == PlaceKind::City || k == PlaceKind::Town;
}

// Marks the cells round the places `which` picks as dear to pass.
template <class Which>
void crowd(CostLattice& l, const std::vector<ProvincePlace>& places, Which which) {
    constexpr int kCell = CostLattice::kCell;
    constexpr int reach = int(kPlaceClearance) / kCell + 1;
    for (const ProvincePlace& p : places) {
        if (!which(p.kind)) {
            continue;
        }
        const QPointF at(p.at.x, p.at.y);
        for (int j = -reach; j <= reach; ++j) {
            for (int i = -reach; i <= reach; ++i) {
                const int c = l.cellOf(at + QPointF(i * kCell, j * kCell));
                if (length(l.centre(c) - at) < kPlaceClearance + kCell / 2.0) {
                    l.setCrowded(c, kCrowdSurcharge);
                }
            }
        }
    }
}

constexpr double kOwnGround = kPlaceClearance + CostLattice::kCell;
constexpr double kApproach = 64;         // how far out a city's highways keep their own way
constexpr double kBeside = 16;           // how far apart two highways leave a city
constexpr double kApart = 48;            // how far off another a highway keeps that would rejoin it
constexpr double kLongestWayOff = 1.25;  // how much longer a way of its own may be than the shared

// The lattice for a highway to or from `cities`: round each, the roads already laid are priced as
// open ground, so the new one comes in by its own best way instead of bending onto another short
// of the city, and the ground along the highways already there is dear, so it leaves by another
// way; the cities are where the highways meet. (Where the only way is the other's, it runs on it
// still.)
CostLattice approachesApart(const CostLattice& l, const std::vector<QPointF>& cities,
                            const std::vector<RoadLine>& roads, double approach = kApproach,
                            double beside = kBeside) {
    constexpr int kCell = CostLattice::kCell;
    const int reach = int(approach) / kCell + 1;
    CostLattice apart = l;
    for (const QPointF& at : cities) {
        apart.forgetRoads(at, approach);
        for (const RoadLine& r : roads) {
            if (r.kind != RoadClass::Highway || distanceToPolyline(at, r.points) > 4.0) {
                continue;
            }
            for (int j = -reach; j <= reach; ++j) {
                for (int i = -reach; i <= reach; ++i) {
                    const QPointF q = at + QPointF(i * kCell, j * kCell);
                    if (length(q - at) < approach && distanceToPolyline(q, r.points) < beside) {
                        apart.setCrowded(apart.cellOf(q), kCrowdSurcharge);
                    }
                }
            }
        }
    }
    return apart;
}

// Of the many equally cheap lattice ways across level ground, a path takes all of one heading
// and then all of another: a ruled run and a sharp turn. On level ground such a turn is eased
// over a wider reach into a gentle bend; on slopes the turns stay (they may be a switchback's),
// as does any point the easing would set on or beside open water.
std::vector<QPointF> easeLevelTurns(const CostLattice& l, const std::vector<QPointF>& points) {
    constexpr double kStep = CostLattice::kCell;
    constexpr int kReach = 5;          // points each side, kStep apart
    constexpr double kLevel = 0.0005;  // height per pixel, as for the jogs
    // The cosine of a turn of 35 degrees: sharper than between two of the lattice's headings
    // (18 or 27), which along a run are the ground's own bends.
    constexpr double kTurn = 0.82;
    const std::vector<QPointF> line = resample(points, kStep);
    const auto n = static_cast<int>(line.size());
    std::vector<QPointF> out = line;
    for (int i = 1; i + 1 < n; ++i) {
        const int reach = std::min({kReach, i, n - 1 - i});
        const float here = l.height(l.cellOf(line[std::size_t(i)]));
        QPointF sum(0, 0);
        double weights = 0.0;
        bool level = true;
        for (int j = -reach; j <= reach && level; ++j) {
            const QPointF q = line[std::size_t(i + j)];
            level = std::abs(l.height(l.cellOf(q)) - here) < kLevel * kStep * kReach;
            const double wgt = reach + 1 - std::abs(j);
            sum += q * wgt;
            weights += wgt;
        }
        // Only at a sharp turn, and clear of the water by a cell.
        const QPointF in = line[std::size_t(i)] - line[std::size_t(i - reach)];
        const QPointF ahead = line[std::size_t(i + reach)] - line[std::size_t(i)];
        const bool turns = QPointF::dotProduct(in, ahead) < kTurn * length(in) * length(ahead);
        const QPointF eased = sum / weights;
        bool dry = true;
        for (int dy = -1; dy <= 1 && dry; ++dy) {
            for (int dx = -1; dx <= 1 && dry; ++dx) {
                dry = l.passable(l.cellOf(eased + QPointF(dx, dy) * kStep));
            }
        }
        if (level && turns && dry) {
            out[std::size_t(i)] = eased;
        }
    }
    return out;
}

// The line of a lattice path from `from`, through the cells' centres. On level ground a path
// may step aside by one cell between two sharp turns and go on, a jog that smoothing leaves as a
// kink: the corner at such a step is cut. On a slope the same turns may be a switchback's, which
// stay.
std::vector<QPointF> lineOf(const CostLattice& l, QPointF from, const std::vector<int>& cells) {
    constexpr double kStep = 1.5 * CostLattice::kCell;
    constexpr double kSharp = -0.2;    // the cosine of a turn of about 100 degrees
    constexpr double kLevel = 0.0005;  // height per pixel, a quarter of the steepest grade
    std::vector<QPointF> points{from};
    std::vector<float> heights{l.height(cells.front())};
    for (std::size_t i = 1; i < cells.size(); ++i) {
        points.push_back(l.centre(cells[i]));
        heights.push_back(l.height(cells[i]));
    }
    for (std::size_t i = 1; i + 1 < points.size();) {
        const QPointF in = points[i] - points[i - 1];
        const QPointF out = points[i + 1] - points[i];
        const double a = length(in);
        const double b = length(out);
        const bool level = std::abs(heights[i + 1] - heights[i - 1]) < kLevel * (a + b) &&
                           std::abs(heights[i] - heights[i - 1]) < kLevel * (a + b);
        const bool jog = level && a > 0 && b > 0 && std::min(a, b) <= kStep &&
                         (in.x() * out.x() + in.y() * out.y()) / (a * b) < kSharp;
        if (jog) {
            points.erase(points.begin() + static_cast<std::ptrdiff_t>(i));
            heights.erase(heights.begin() + static_cast<std::ptrdiff_t>(i));
            i = std::max<std::size_t>(1, i - 1);
        } else {
            ++i;
        }
    }
    return easeLevelTurns(l, points);
}

// The lattice's path starts and ends at cell centres, which near a place on a shore may lie past
// it: the line overshoots and hooks back in. Within a short reach of each end the road runs
// straight in instead, where that straight way is level and crosses no water (on a slope the
// turns near a place may be a switchback's, which stay; a brook is crossed where the lattice
// bridged it).
void runStraightIn(const CostLattice& l, std::vector<QPointF>& points) {
    constexpr double kReach = 36.0;
    constexpr double kLevel = 0.0005;  // height per pixel, as for the jogs
    for (int end = 0; end < 2; ++end) {
        std::reverse(points.begin(), points.end());
        if (points.size() < 3) {
            continue;
        }
        const QPointF at = points.front();
        std::size_t keep = 1;
        for (std::size_t k = 1; k + 1 < points.size() && length(points[k] - at) <= kReach; ++k) {
            const float from = l.height(l.cellOf(at));
            bool fit = true;
            for (std::size_t j = 1; j <= k && fit; ++j) {
                const double run = std::max(length(points[j] - at), double(CostLattice::kCell));
                fit = std::abs(l.height(l.cellOf(points[j])) - from) < kLevel * run;
            }
            for (double t = 0.0; t <= 1.0 && fit; t += 0.1) {
                const int c = l.cellOf(at + (points[k] - at) * t);
                fit = l.passable(c) && !l.running(c);
            }
            if (fit) {
                keep = k;
            }
        }
        points.erase(points.begin() + 1, points.begin() + static_cast<std::ptrdiff_t>(keep));
    }
}

void smooth(std::vector<QPointF>& points) {
    std::vector<float> none;
    cutCorners(points, none, 3);
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

// Where a new road runs within a few pixels of one already laid it runs on it: both were
// smoothed on their own, so a shared stretch would otherwise show as two lines side by side.
void shareStretches(std::vector<QPointF>& points, const std::vector<RoadLine>& roads) {
    constexpr double kNear = 7.0;
    std::vector<QRectF> boxes;
    for (const RoadLine& r : roads) {
        boxes.push_back(QPolygonF(QList<QPointF>(r.points.begin(), r.points.end()))
                            .boundingRect()
                            .adjusted(-kNear, -kNear, kNear, kNear));
    }
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        double best = kNear;
        for (std::size_t k = 0; k < roads.size(); ++k) {
            if (!boxes[k].contains(points[i])) {
                continue;
            }
            const std::vector<QPointF>& line = roads[k].points;
            const Nearest n = nearestOnPolyline(points[i], line);
            if (n.distance < best) {
                best = n.distance;
                points[i] = line[n.segment] + (line[n.segment + 1] - line[n.segment]) * n.along;
            }
        }
    }
}

// The stretch of `road` from the point nearest `a` to the point nearest `b`, in that order.
std::vector<QPointF> stretchOf(const std::vector<QPointF>& road, QPointF a, QPointF b) {
    const Nearest na = nearestOnPolyline(a, road);
    const Nearest nb = nearestOnPolyline(b, road);
    const auto at = [&](const Nearest& n) {
        return road[n.segment] + (road[n.segment + 1] - road[n.segment]) * n.along;
    };
    const bool forward =
        na.segment < nb.segment || (na.segment == nb.segment && na.along <= nb.along);
    const Nearest& first = forward ? na : nb;
    const Nearest& last = forward ? nb : na;
    std::vector<QPointF> out{at(first)};
    for (std::size_t i = first.segment + 1; i <= last.segment; ++i) {
        out.push_back(road[i]);
    }
    out.push_back(at(last));
    if (!forward) {
        std::reverse(out.begin(), out.end());
    }
    return out;
}

// A highway kept off another as it leaves their city may come back onto it a little way out,
// too far apart on the way to count as a strand of it: the two would run side by side in a lens.
// Where they meet within kForkReach of the city the new one starts on the other, one road out
// that forks there.
void forkFromCity(std::vector<QPointF>& points, QPointF city, const std::vector<RoadLine>& roads) {
    constexpr double kForkReach = 300.0;
    constexpr double kMeet = 3.0;
    constexpr double kStep = 2.0;
    const std::vector<QPointF> line = resample(points, kStep);
    for (const RoadLine& r : roads) {
        if (r.kind != RoadClass::Highway || distanceToPolyline(city, r.points) > 4.0) {
            continue;
        }
        bool strayed = false;
        for (std::size_t i = 1; i < line.size() && double(i) * kStep < kForkReach; ++i) {
            const double gap = distanceToPolyline(line[i], r.points);
            strayed = strayed || gap > kApart / 2;
            if (!strayed || gap >= kMeet) {
                continue;
            }
            std::vector<QPointF> forked = stretchOf(r.points, city, line[i]);
            const Nearest rest = nearestOnPolyline(line[i], points);
            forked.insert(forked.end(), points.begin() + std::ptrdiff_t(rest.segment + 1),
                          points.end());
            points = std::move(forked);
            return;
        }
    }
}

// Joins `place` to the network over the lattice; the line ends on the road it meets.
std::optional<RoadLine> joinToNetwork(CostLattice& l, const Grid<float>& ground, QPointF place,
                                      RoadClass kind, float maxCost,
                                      const std::vector<RoadLine>& roads) {
    const CostLattice::Sweep s = l.sweep(
        l.landCellOf(place), maxCost, [&](int c) { return l.onRoad(c); }, kOwnGround);
    if (s.reached < 0) {
        return std::nullopt;
    }
    std::vector<QPointF> points = lineOf(l, place, s.pathTo(s.reached));
    // End exactly on the road the lattice reached.
    points.back() = nearestRoadPoint(points.back(), roads).second;
    runStraightIn(l, points);
    smooth(points);
    shareStretches(points, roads);
    easeShortHairpins(l, ground, points);
    l.markRoad(points);
    return RoadLine{points, kind};
}

// What it costs to go between each pair of `stops` over the open lattice.
std::vector<std::vector<float>> costsBetween(const CostLattice& l,
                                             const std::vector<QPointF>& stops) {
    const std::size_t n = stops.size();
    std::vector<std::vector<float>> cost(n, std::vector<float>(n, kUnbounded));
    for (std::size_t a = 0; a < n; ++a) {
        const CostLattice::Sweep s = l.sweep(l.landCellOf(stops[a]), kUnbounded, {}, kOwnGround);
        for (std::size_t b = 0; b < n; ++b) {
            const float c = s.cost[std::size_t(l.landCellOf(stops[b]))];
            cost[a][b] = std::min(cost[a][b], c);
            cost[b][a] = std::min(cost[b][a], c);
        }
    }
    return cost;
}

}  // namespace

std::vector<RoadLine> planRoads(const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                const Waterways& water) {
    CostLattice lattice(terrain, water);
    // The highways pass through towns but round the lesser places; inns are sited beside them
    // afterwards, so they must not bend them.
    crowd(lattice, places, [](PlaceKind k) { return !joinsTowns(k) && k != PlaceKind::Inn; });
    std::vector<QPointF> towns;
    std::vector<std::size_t> townIndex;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (joinsTowns(places[i].kind)) {
            towns.emplace_back(places[i].at.x, places[i].at.y);
            townIndex.push_back(i);
        }
    }
    std::vector<RoadLine> roads;
    lattice.setRoadDiscount(kHighwayReuse);
    // Roads lead to the cities: a way to one counts for less when choosing which to lay.
    std::vector<std::vector<float>> cost = costsBetween(lattice, towns);
    for (std::size_t a = 0; a < towns.size(); ++a) {
        for (std::size_t b = 0; b < towns.size(); ++b) {
            for (std::size_t end : {a, b}) {
                cost[a][b] *= places[townIndex[end]].kind == PlaceKind::City ? kCityPull : 1.0f;
            }
        }
    }
    for (const NetworkLink& link : chooseLinks(cost, kLoopDetour)) {
        // A highway to a city is laid from the city, which leaves it free of its own crowding.
        const bool cityA = places[townIndex[link.a]].kind == PlaceKind::City;
        const bool cityB = places[townIndex[link.b]].kind == PlaceKind::City;
        const bool flip = cityB && !cityA;
        const QPointF from = towns[flip ? link.b : link.a];
        const QPointF to = towns[flip ? link.a : link.b];
        std::vector<QPointF> cities;
        for (const auto& [city, at] : {std::pair(cityA, towns[link.a]), {cityB, towns[link.b]}}) {
            if (city) {
                cities.push_back(at);
            }
        }
        const int goal = lattice.landCellOf(to);
        const auto lay = [&](const CostLattice& ground) -> std::optional<std::vector<QPointF>> {
            const CostLattice::Sweep s = ground.sweep(
                lattice.landCellOf(from), kUnbounded, [&](int c) { return c == goal; }, kOwnGround);
            if (s.reached < 0) {
                return std::nullopt;
            }
            std::vector<QPointF> points = lineOf(lattice, from, s.pathTo(goal));
            points.back() = to;
            runStraightIn(lattice, points);
            smooth(points);
            shareStretches(points, roads);
            easeShortHairpins(lattice, terrain.height, points);
            return points;
        };
        std::optional<std::vector<QPointF>> laid =
            lay(cities.empty() ? lattice : approachesApart(lattice, cities, roads));
        if (!laid) {
            continue;
        }
        // Kept off another highway only as far as the city's own ground, it would come back
        // onto it a little way out, as a second strand of the same way: it is laid again kept
        // well off that way, and takes a way of its own if the ground has one not much longer
        // (what strands are left are drawn as one).
        const auto strands = [&](const std::vector<QPointF>& line) {
            std::vector<QPointF> back(line.rbegin(), line.rend());
            return std::pair(cityA || cityB ? strandFromStart(line, roads, RoadClass::Highway) : 0,
                             cityA && cityB ? strandFromStart(back, roads, RoadClass::Highway) : 0);
        };
        if (const auto [out, in] = strands(*laid); out > 0 || in > 0) {
            CostLattice wide = approachesApart(lattice, cities, roads);
            for (const auto& [at, strand] : {std::pair(from, out), {to, in}}) {
                if (strand > 0) {
                    wide = approachesApart(wide, {at}, roads, strand + kApproach, kApart);
                }
            }
            auto again = lay(wide);
            const auto strandsAgain = again ? strands(*again) : std::pair(0.0, 0.0);
            if (again && strandsAgain.first + strandsAgain.second < out + in &&
                polylineLength(*again) < kLongestWayOff * polylineLength(*laid)) {
                laid = std::move(again);
            }
        }
        std::vector<QPointF>& points = *laid;
        if (cityA || cityB) {
            forkFromCity(points, from, roads);
        }
        if (cityA && cityB) {
            std::reverse(points.begin(), points.end());
            forkFromCity(points, to, roads);
            std::reverse(points.begin(), points.end());
        }
        lattice.markRoad(points);
        roads.push_back(
            {points, link.trunk || (cityA && cityB) ? RoadClass::Highway : RoadClass::Lane});
    }
    const std::size_t network = roads.size();
    lattice.setRoadDiscount(kTrackReuse);
    crowd(lattice, places, [](PlaceKind k) { return k != PlaceKind::Inn; });
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        if ((p.kind == PlaceKind::Settlement || p.kind == PlaceKind::Mine) &&
            !nearRoad(at, roads, 12.0)) {
            const float reach = p.kind == PlaceKind::Settlement ? kUnbounded : kMineReach;
            if (auto track =
                    joinToNetwork(lattice, terrain.height, at, RoadClass::Track, reach, roads)) {
                roads.push_back(std::move(*track));
            }
        }
    }
    // A few steps from each inn's door to the nearest highway or lane, or else to the track it
    // stands by; an inn far from every road (one sited by the shore it is named for) has a track
    // of its own.
    const std::vector<RoadLine> main(roads.begin(), roads.begin() + std::ptrdiff_t(network));
    const std::vector<RoadLine> laid = roads;
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        if (p.kind != PlaceKind::Inn) {
            continue;
        }
        std::optional<RoadLine> way;
        for (const std::vector<RoadLine>* by : {&main, &laid}) {
            const auto [distance, to] = nearestRoadPoint(at, *by);
            if (!way && distance < 60.0) {
                way = RoadLine{{at, to}, RoadClass::Track};
            }
        }
        if (!way) {
            way = joinToNetwork(lattice, terrain.height, at, RoadClass::Track, kUnbounded, roads);
        }
        if (way) {
            roads.push_back(std::move(*way));
        }
    }
    std::vector<RoadLine> merged = mergeSharedGround(std::move(roads));
    runThroughFords(merged, places, water,
                    [&](QPointF q) { return lattice.passable(lattice.cellOf(q)); });
    return merged;
}

std::vector<RoadLine> finishRoads(std::vector<RoadLine> roads,
                                  const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                  const Waterways& water) {
    const CostLattice lattice(terrain, water);
    laneThroughFords(roads, places, water,
                     [&](QPointF q) { return lattice.passable(lattice.cellOf(q)); });
    // None is rounded by a symbol or where another road joins, so every piece keeps its ends on
    // the road it meets.
    std::vector<QPointF> anchors;
    for (const ProvincePlace& p : places) {
        anchors.emplace_back(p.at.x, p.at.y);
    }
    for (const RoadLine& r : roads) {
        anchors.push_back(r.points.front());
        anchors.push_back(r.points.back());
    }
    // Open dry ground, and level enough that a curve does not steepen a climb: on a slope the
    // turns may be a switchback's.
    const auto open = [&](QPointF q) {
        constexpr float kAcross = 8.0f;    // px either side over which the slope is taken
        constexpr float kGentle = 0.001f;  // height per pixel
        const int c = lattice.cellOf(q);
        if (!lattice.passable(c) || lattice.running(c)) {
            return false;
        }
        const auto x = static_cast<float>(q.x());
        const auto y = static_cast<float>(q.y());
        const Grid<float>& h = terrain.height;
        const float dx = sampleBilinear(h, x + kAcross, y) - sampleBilinear(h, x - kAcross, y);
        const float dy = sampleBilinear(h, x, y + kAcross) - sampleBilinear(h, x, y - kAcross);
        return std::hypot(dx, dy) < 2.0f * kAcross * kGentle;
    };
    // A curve cuts a little off the way: where that steepens a climb past what a laden cart can
    // take, the road keeps its corners.
    const auto steepest = [&](const std::vector<QPointF>& line) {
        constexpr double kStep = 8.0;
        constexpr std::size_t kSpan = 6;
        const std::vector<QPointF> pts = resample(line, kStep);
        double most = 0.0;
        for (std::size_t i = 0; i + kSpan < pts.size(); ++i) {
            const auto h = [&](QPointF q) {
                return sampleBilinear(terrain.height, float(q.x()), float(q.y()));
            };
            most = std::max(most, std::abs(h(pts[i + kSpan]) - h(pts[i])) / (kStep * kSpan));
        }
        return most;
    };
    constexpr double kSteepest = 0.0019;  // height per pixel
    for (RoadLine& r : roads) {
        std::vector<QPointF> rounded = roundCorners(r.points, open, anchors);
        if (steepest(rounded) <= std::max(kSteepest, steepest(r.points))) {
            r.points = std::move(rounded);
        }
    }
    return roads;
}

}  // namespace marventa
