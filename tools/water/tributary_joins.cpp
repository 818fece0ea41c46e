#include "tools/water/tributary_joins.h"

#include <algorithm>
#include <array>

#include "tools/common/plane_geometry.h"
#include "tools/water/river_shape.h"

namespace marventa {

namespace {

constexpr double kNear = 40.0;    // px between banks: nearer than this, a brook runs beside a line
constexpr double kBeside = 90.0;  // px: beside it for longer than this, it joins it earlier
constexpr double kHard = 12.0;    // px between banks: so near, a pair reads as twin channels
constexpr double kHardBeside = 30.0;  // px: that near for longer than this, it joins earlier
constexpr double kOnLine = 10.0;      // px: a line ending this near another runs into it
constexpr std::size_t kFewest = 8;    // points: a brook keeps at least this much of its course
constexpr float kClimb = 0.004f;      // the most a bend may rise over the lowest ground before it
constexpr double kOnMark = 10.0;      // px: water nearer a place's point runs over its mark

double runFrom(const std::vector<QPointF>& p, std::size_t i) {
    double run = 0.0;
    for (std::size_t k = i + 1; k < p.size(); ++k) {
        run += length(p[k] - p[k - 1]);
    }
    return run;
}

}  // namespace

void joinWhereAlongside(std::vector<RiverLine>& brooks, const std::vector<RiverLine>& rivers,
                        const std::function<float(QPointF)>& ground,
                        const std::vector<Settled>& settled) {
    std::vector<const RiverLine*> all;
    for (const RiverLine& r : rivers) {
        all.push_back(&r);
    }
    for (const RiverLine& r : brooks) {
        all.push_back(&r);
    }
    for (RiverLine& b : brooks) {
        if (b.toSea || b.points.size() < 8) {
            continue;
        }
        // The first long stretch beside a line about as large or larger, if it runs beside one.
        const RiverLine* into = nullptr;
        std::size_t first = b.points.size();
        double alongside = kBeside;  // how long the stretch that set `first` ran beside
        for (const RiverLine* o : all) {
            if (o == &b || distanceToPolyline(o->points.back(), b.points) < kOnLine) {
                continue;  // itself, or one it would run back into
            }
            // Beside it, and hard by it: runs of each and where they began.
            std::array<double, 2> run{};
            std::array<std::size_t, 2> from{};
            for (std::size_t i = 0; i < first && i < b.points.size(); ++i) {
                const Nearest n = nearestOnPolyline(b.points[i], o->points);
                const double apart = n.distance - 0.5 * (b.widths[i] + o->widths[n.segment]);
                const bool large = !o->name.isEmpty() || o->widths[n.segment] >= 0.8f * b.widths[i];
                const double step = i > 0 ? length(b.points[i] - b.points[i - 1]) : 0.0;
                for (std::size_t k = 0; k < 2; ++k) {
                    if (!large || apart >= (k == 0 ? kNear : kHard)) {
                        run[k] = 0.0;
                        continue;
                    }
                    if (run[k] == 0.0) {
                        from[k] = i;
                    }
                    run[k] += step;
                }
                const std::size_t k = run[0] > kBeside ? 0 : 1;
                if (run[k] > (k == 0 ? kBeside : kHardBeside)) {
                    first = from[k];
                    into = o;
                    alongside = k == 0 ? kBeside : kHardBeside;
                    break;
                }
            }
        }
        if (into == nullptr) {
            continue;
        }
        // From where it first came near, then a little further down each time the bend climbs.
        for (std::size_t cut = std::max<std::size_t>(first, kFewest);
             cut + 2 < b.points.size() && runFrom(b.points, cut) > alongside; cut += 4) {
            Course c{{b.points.begin(), b.points.begin() + static_cast<std::ptrdiff_t>(cut) + 1},
                     {b.widths.begin(), b.widths.begin() + static_cast<std::ptrdiff_t>(cut) + 1},
                     {}};
            joinDownstream(c, into->points, into->widths);
            float lowest = ground(c.points.front());
            bool climbs = false;
            for (const QPointF& p : c.points) {
                climbs = climbs || ground(p) > lowest + kClimb;
                lowest = std::min(lowest, ground(p));
            }
            const bool strands = std::any_of(all.begin(), all.end(), [&](const RiverLine* o) {
                return o != &b && distanceToPolyline(o->points.back(), b.points) < kOnLine &&
                       distanceToPolyline(o->points.back(), c.points) >= kOnLine;
            });
            // What the bend changes: the old course past their common start, and the new one.
            std::size_t same = 0;
            while (same < c.points.size() && same < b.points.size() &&
                   c.points[same] == b.points[same]) {
                ++same;
            }
            const auto reaches = [&](const std::vector<QPointF>& line, const Settled& s,
                                     double within) {
                return std::any_of(line.begin() + static_cast<std::ptrdiff_t>(same), line.end(),
                                   [&](QPointF p) { return length(p - s.at) < within; });
            };
            const auto byOther = [&](const Settled& s) {
                return std::any_of(all.begin(), all.end(), [&](const RiverLine* o) {
                    return o != &b && distanceToPolyline(s.at, o->points) < s.room;
                });
            };
            // Clear of every place, the bend is free. Else a place by the old course must keep
            // water within its room, from the new course or another line; new water may come
            // only to a place that had some, never over its mark, and nowhere a way was laid round.
            const bool clear = std::none_of(settled.begin(), settled.end(), [&](const Settled& s) {
                return reaches(b.points, s, s.room) || reaches(c.points, s, s.room);
            });
            const bool unsettles =
                !clear && std::any_of(settled.begin(), settled.end(), [&](const Settled& s) {
                    const bool lost = reaches(b.points, s, s.room) &&
                                      distanceToPolyline(s.at, c.points) >= s.room && !byOther(s);
                    const bool brought =
                        reaches(c.points, s, s.room) &&
                        (reaches(c.points, s, kOnMark) ||
                         (distanceToPolyline(s.at, b.points) >= s.room && !byOther(s)));
                    const bool laid =
                        reaches(b.points, s, s.laidRound) || reaches(c.points, s, s.laidRound);
                    return lost || brought || laid;
                });
            if (c.points.size() >= kFewest && !climbs && !strands && !unsettles) {
                b.points = std::move(c.points);
                b.widths = std::move(c.widths);
                break;
            }
        }
    }
}

}  // namespace marventa
