#include "waterways.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/flow_routing.h"
#include "tools/common/noise.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"
#include "tools/land/erosion.h"
#include "tools/water/river_shape.h"
#include "tools/water/tributary_joins.h"

namespace marventa {

namespace {

constexpr float kLakeDepth = 0.0015f;   // filled deeper than this, a hollow holds water
constexpr float kRiverCells = 160.0f;   // a named river rises where this much drains through it
constexpr float kBrookCells = 650.0f;   // a brook, where this much does
constexpr std::size_t kShortest = 10;   // cells; shorter brooks are left out
constexpr int kJoinReach = 7;           // cells: running waters nearer than this join
constexpr float kLowDivide = 0.012f;    // a divide lower than this over a stream is breached
constexpr float kEstuaryMouth = 20.0f;  // pixels: a named river's mouth at its narrowest
constexpr double kCourseReach = 160.0;  // pixels: a named river's head keeps this near its course
constexpr double kSettled = 30.0;       // pixels round a place within which its water stays
constexpr double kInnRoom = 80.0;       // round an inn
constexpr double kInnWay = 220.0;       // round an inn, where its highway bent round the water

struct Drainage {
    Grid<float> filled;
    std::vector<char> sea;
    FlowField flow;
    std::vector<std::vector<int>> donors;
};

// Lakes: the hollows the flood filled where the land held a named lake of the layout. Every
// other hollow is too small to notice and is filled in.
void findLakes(const Land& land, const ProvinceLayout& layout, const Grid<float>& filled,
               Waterways& w) {
    const int gw = filled.width();
    w.lakeDepth = Grid<float>(gw, filled.height());
    w.lakeId = Grid<int>(gw, filled.height(), -1);
    w.ground = filled;
    std::vector<char> seen(filled.cells().size(), 0);
    for (std::size_t l = 0; l < layout.lakes.size(); ++l) {
        const Lake& lake = layout.lakes[l];
        // The water spreads from where the land held it.
        const int seed = l < land.lakeSeeds.size() ? land.lakeSeeds[l] : -1;
        if (seed < 0 || seen[static_cast<std::size_t>(seed)] ||
            filled.cells()[static_cast<std::size_t>(seed)] -
                    land.height.cells()[static_cast<std::size_t>(seed)] <=
                kLakeDepth) {
            continue;
        }
        const int id = static_cast<int>(w.lakes.size());
        double sx = 0, sy = 0;
        int count = 0;
        std::vector<int> open{seed};
        seen[static_cast<std::size_t>(seed)] = 1;
        float level = 0.0f;
        while (!open.empty()) {
            const int c = open.back();
            open.pop_back();
            const int x = c % gw;
            const int y = c / gw;
            w.lakeId(x, y) = id;
            w.lakeDepth(x, y) = filled(x, y) - land.height(x, y);
            w.ground(x, y) = land.height(x, y);
            level = std::max(level, filled(x, y));
            sx += x;
            sy += y;
            ++count;
            for (int k = 0; k < 8; ++k) {
                const int nx = x + kStepX[k];
                const int ny = y + kStepY[k];
                if (!filled.contains(nx, ny)) {
                    continue;
                }
                const auto n = static_cast<std::size_t>(ny * gw + nx);
                if (!seen[n] && filled(nx, ny) - land.height(nx, ny) > kLakeDepth) {
                    seen[n] = 1;
                    open.push_back(static_cast<int>(n));
                }
            }
        }
        w.lakes.push_back(
            {lake.name, QPointF(sx / count * land.cell, sy / count * land.cell), level});
    }
}

// Running water side by side. Erosion on the lattice deepens whichever line the water first
// took, so on a gentle plain two streams can cut parallel channels a few cells apart, each
// draining its own strip, and meet only far downstream. Where a stream passes within reach of a
// larger one that runs lower, and only a low divide lies between, the divide is breached: the
// smaller stream turns into the larger one through a notch cut across, as water overtopping so
// slight a rise would. Highest first, so each joins where the two first come near.
void joinSideBySide(Drainage& d, Waterways& w) {
    const int gw = d.filled.width();
    std::vector<float>& f = d.filled.cells();
    std::vector<int>& to = d.flow.receiver;
    std::vector<float>& area = d.flow.area;
    auto open = [&](int c) {
        const auto i = static_cast<std::size_t>(c);
        return !d.sea[i] && w.lakeId.cells()[i] < 0 && f[i] > 0.0f;
    };
    // The cells `steps` down from `c`, itself included.
    auto below = [&](int c, int steps) {
        std::vector<int> path{c};
        while (static_cast<int>(path.size()) <= steps &&
               to[static_cast<std::size_t>(path.back())] != path.back()) {
            path.push_back(to[static_cast<std::size_t>(path.back())]);
        }
        return path;
    };
    auto shift = [&](int from, float amount) {
        for (int c = from;; c = to[static_cast<std::size_t>(c)]) {
            area[static_cast<std::size_t>(c)] += amount;
            if (to[static_cast<std::size_t>(c)] == c) {
                return;
            }
        }
    };
    const std::vector<int> highestFirst(d.flow.order.rbegin(), d.flow.order.rend());
    bool joined = false;
    for (int c : highestFirst) {
        const auto ci = static_cast<std::size_t>(c);
        if (area[ci] < kRiverCells || !open(c)) {
            continue;
        }
        const int cx = c % gw;
        const int cy = c / gw;
        std::vector<int> ahead;  // c's own way down: what it reaches that way is no join
        int best = -1;
        std::vector<int> notch;
        for (int dy = -kJoinReach; dy <= kJoinReach; ++dy) {
            for (int dx = -kJoinReach; dx <= kJoinReach; ++dx) {
                const int mx = cx + dx;
                const int my = cy + dy;
                if (dx * dx + dy * dy > kJoinReach * kJoinReach || !d.filled.contains(mx, my)) {
                    continue;
                }
                const int m = my * gw + mx;
                const auto mi = static_cast<std::size_t>(m);
                if (m == c || !open(m) || area[mi] < std::max(kRiverCells, area[ci]) ||
                    f[mi] >= f[ci] - 2e-6f ||
                    (best >= 0 && area[mi] <= area[static_cast<std::size_t>(best)])) {
                    continue;
                }
                // The straight way across, every cell above m and none over a high divide.
                const int n = std::max(std::abs(dx), std::abs(dy));
                std::vector<int> across;
                bool low = true;
                for (int k = 1; k < n && low; ++k) {
                    const int px = cx + static_cast<int>(std::lround(double(dx) * k / n));
                    const int py = cy + static_cast<int>(std::lround(double(dy) * k / n));
                    const int p = py * gw + px;
                    const float fp = f[static_cast<std::size_t>(p)];
                    low = open(p) && fp <= f[ci] + kLowDivide && fp > f[mi] + 1e-6f;
                    across.push_back(p);
                }
                if (!low) {
                    continue;
                }
                if (ahead.empty()) {
                    ahead = below(c, 2 * kJoinReach);
                }
                const std::vector<int> theirs = below(m, 2 * kJoinReach);
                const bool meetSoon = std::any_of(ahead.begin(), ahead.end(), [&](int a) {
                    return std::find(theirs.begin(), theirs.end(), a) != theirs.end();
                });
                if (!meetSoon) {
                    best = m;
                    notch = across;
                }
            }
        }
        if (best < 0) {
            continue;
        }
        // The notch falls steadily from c to the stream it joins, never raising the ground.
        const float drop = f[ci] - f[static_cast<std::size_t>(best)];
        float last = f[ci];
        int prev = c;
        const float moved = area[ci];
        shift(to[ci], -moved);
        for (std::size_t k = 0; k < notch.size(); ++k) {
            const auto p = static_cast<std::size_t>(notch[k]);
            const float line = f[ci] - drop * float(k + 1) / float(notch.size() + 1);
            f[p] = std::min(
                {f[p], line, last - 1e-7f});  // on a filled flat, neighbours differ by 1e-5
            w.ground.cells()[p] = std::min(w.ground.cells()[p], f[p]);
            last = f[p];
            to[static_cast<std::size_t>(prev)] = notch[k];
            prev = notch[k];
        }
        to[static_cast<std::size_t>(prev)] = best;
        shift(to[ci], moved);
        joined = true;
    }
    if (joined) {
        gatherFlow(d.flow, d.filled, d.sea);
    }
}

QPointF pixelOf(int cell, int gw, int size) {
    return QPointF(cell % gw * size, cell / gw * size);
}

float widthFor(float area) {
    return std::min(9.0f, 0.6f + 0.027f * std::sqrt(area));
}

// The cell near `p` (within `reach` pixels) through which the most water runs.
int wettestNear(const Waterways& w, QPointF p, double reach) {
    const int gw = w.area.width();
    const int r = static_cast<int>(reach / w.cell);
    const int cx = static_cast<int>(p.x()) / w.cell;
    const int cy = static_cast<int>(p.y()) / w.cell;
    int best = -1;
    for (int j = cy - r; j <= cy + r; ++j) {
        for (int i = cx - r; i <= cx + r; ++i) {
            if (w.area.contains(i, j) && w.ground(i, j) > 0.0f && w.lakeId(i, j) < 0 &&
                (best < 0 || w.area(i, j) > w.area.cells()[static_cast<std::size_t>(best)])) {
                best = j * gw + i;
            }
        }
    }
    return best;
}

// How level the ground is along the line round each cell: 1 on a flat floor, 0 where it falls
// faster than a hill stream.
std::vector<float> flatnessAlong(const std::vector<int>& cells, const Waterways& w) {
    constexpr std::size_t kSpan = 6;
    std::vector<float> flat(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::size_t a = i >= kSpan ? i - kSpan : 0;
        const std::size_t b = std::min(cells.size() - 1, i + kSpan);
        const float fall = w.ground.cells()[static_cast<std::size_t>(cells[a])] -
                           w.ground.cells()[static_cast<std::size_t>(cells[b])];
        const auto run = static_cast<float>(std::max<std::size_t>(1, b - a) * w.cell);
        flat[i] = smoothstep(5e-4f, 1.2e-4f, std::max(0.0f, fall) / run);
    }
    return flat;
}

// The line through the cells as drawn: smoothed off the lattice, meandering on flat ground, and
// bent into `feeds` (the line it runs into, if any) at an acute angle.
RiverLine lineThrough(const std::vector<int>& cells, const Waterways& w, const QString& name,
                      bool toSea, const RiverLine* feeds) {
    const int gw = w.area.width();
    Course c;
    for (int c0 : cells) {
        // Where a line leaves or enters a lake or the sea it stays on its cell, in the water.
        const bool inWater = w.lakeId.cells()[static_cast<std::size_t>(c0)] >= 0 ||
                             w.ground.cells()[static_cast<std::size_t>(c0)] <= 0.0f;
        const QPointF at = pixelOf(c0, gw, w.cell);
        c.points.push_back(inWater ? at : meander(at));
        c.widths.push_back(widthFor(w.area.cells()[static_cast<std::size_t>(c0)]));
    }
    c.flatness = flatnessAlong(cells, w);
    const auto cell = static_cast<float>(w.cell);
    const auto ground = [&](QPointF p) {
        return sampleBilinear(w.ground, static_cast<float>(p.x()) / cell,
                              static_cast<float>(p.y()) / cell);
    };
    shapeCourse(c, 4, static_cast<unsigned>(cells.front()), ground);
    if (feeds != nullptr) {
        // The bend into the main line, unless it would carry the stream over a rise of its bank.
        Course bent = c;
        joinDownstream(bent, feeds->points, feeds->widths);
        float lowest = ground(bent.points.front());
        bool climbs = false;
        for (const QPointF& p : bent.points) {
            climbs = climbs || ground(p) > lowest + 0.004f;
            lowest = std::min(lowest, ground(p));
        }
        if (!climbs) {
            c = std::move(bent);
        }
    }
    RiverLine line{name, std::move(c.points), std::move(c.widths), toSea};
    if (toSea) {
        // An estuary: a named river's last stretch opens into a funnel toward the sea (a fifth of
        // its length, 90 to 200 px, five times as wide at the mouth); a brook's only a little.
        // It widens fastest at the mouth, so that its banks curve outward into the coast as a
        // trumpet's do, rather than closing on the river in a straight wedge.
        const auto flare = [](float u) { return u * u; };
        double run = 0.0;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            run += length(line.points[i] - line.points[i - 1]);
        }
        const bool named = !name.isEmpty();
        const auto reach = static_cast<float>(named ? std::clamp(run / 5.0, 90.0, 200.0) : 45.0);
        const float open = named ? 4.0f : 0.9f;
        double s = 0.0;
        for (std::size_t i = line.points.size(); i-- > 1;) {
            s += length(line.points[i] - line.points[i - 1]);
            const float u = std::max(0.0f, 1.0f - static_cast<float>(s) / reach);
            line.widths[i - 1] *= 1.0f + open * flare(u);
        }
        line.widths.back() = line.widths[line.widths.size() - 2];
        if (named) {
            runOutStraight(line.points, reach, ground);
        }
        // A short river reaching a bay still opens into an estuary a ship could enter.
        if (named && line.widths.back() < kEstuaryMouth) {
            const float more = kEstuaryMouth / line.widths.back() - 1.0f;
            double along = 0.0;
            for (std::size_t i = line.points.size(); i-- > 1;) {
                const float u = std::max(0.0f, 1.0f - static_cast<float>(along) / reach);
                line.widths[i] *= 1.0f + more * flare(u);
                along += length(line.points[i] - line.points[i - 1]);
            }
        }
    }
    return line;
}

// Walks downstream from `cell` until the sea, a lake or a line already drawn; `claimed` marks
// the cells of lines already drawn. Returns the cells and whether the walk ended at the sea.
std::pair<std::vector<int>, bool> downstream(int cell, const Drainage& d, const Waterways& w,
                                             const std::vector<int>& claimed) {
    std::vector<int> cells{cell};
    while (true) {
        const auto c = static_cast<std::size_t>(cells.back());
        const int next = d.flow.receiver[c];
        if (next == cells.back()) {
            return {cells, d.filled.cells()[c] <= 0.0f};
        }
        cells.push_back(next);
        const auto n = static_cast<std::size_t>(next);
        if (d.sea[n]) {
            return {cells, d.filled.cells()[n] <= 0.0f};
        }
        if (w.lakeId.cells()[n] >= 0 || claimed[n]) {
            return {cells, false};
        }
    }
}

}  // namespace

QPointF meander(QPointF p) {
    static const Noise swing(0x1A4E'0002);
    const auto x = static_cast<float>(p.x() / 75.0);
    const auto y = static_cast<float>(p.y() / 75.0);
    return p + 9.0 * QPointF(swing.fbm(x, y, 3), swing.fbm(x + 40.0f, y - 17.0f, 3));
}

int Waterways::lakeAt(QPointF p) const {
    const int x = static_cast<int>(std::lround(p.x() / cell));
    const int y = static_cast<int>(std::lround(p.y() / cell));
    return lakeId.contains(x, y) ? lakeId(x, y) : -1;
}

Waterways drainLand(const Land& land, const ProvinceLayout& layout) {
    Waterways w;
    w.cell = land.cell;
    Drainage d;
    d.sea = outlets(land.height);
    d.filled = fillHollows(land.height, d.sea, 1e-5f);
    findLakes(land, layout, d.filled, w);
    d.flow = routeFlow(d.filled, d.sea);
    joinSideBySide(d, w);
    const int gw = land.height.width();
    w.area = Grid<float>(gw, land.height.height());
    w.area.cells() = d.flow.area;
    d.donors.resize(d.flow.receiver.size());
    for (std::size_t i = 0; i < d.flow.receiver.size(); ++i) {
        if (d.flow.receiver[i] != static_cast<int>(i)) {
            d.donors[static_cast<std::size_t>(d.flow.receiver[i])].push_back(static_cast<int>(i));
        }
    }
    // Which line owns each cell: 0 none, r + 1 the named river r, rivers.size() + b + 1 brook b,
    // -1 a brook too short to draw (whose cells still end whatever runs into them).
    std::vector<int> claimed(d.sea.size(), 0);
    auto isLake = [&](int c) { return w.lakeId.cells()[static_cast<std::size_t>(c)] >= 0; };
    auto lineOf = [&](int id) -> const RiverLine* {
        if (id <= 0) {
            return nullptr;
        }
        const auto i = static_cast<std::size_t>(id - 1);
        return i < w.rivers.size() ? &w.rivers[i] : &w.brooks[i - w.rivers.size()];
    };
    auto claim = [&](const std::vector<int>& cells, int id) {
        for (int c : cells) {
            if (claimed[static_cast<std::size_t>(c)] == 0) {
                claimed[static_cast<std::size_t>(c)] = id;
            }
        }
    };
    for (const RiverCourse& course : layout.rivers) {
        const QPointF anchor = course.course[course.course.size() / 3];
        const int seed = wettestNear(w, anchor, 48.0);
        if (seed < 0) {
            continue;
        }
        // Up from the seed along the largest stream feeding each cell that keeps to the course
        // (judged over the branch's next stretch, so a larger valley beside the course does not
        // take the river's name), until it is too small to run all year or comes out of a lake.
        auto offCourse = [&](int c) {
            double sum = 0.0;
            int count = 0;
            for (int k = 0; k < 30 && c >= 0; ++k) {
                sum += distanceToPolyline(pixelOf(c, gw, w.cell), course.course);
                ++count;
                int next = -1;
                for (int u : d.donors[static_cast<std::size_t>(c)]) {
                    if (next < 0 || d.flow.area[static_cast<std::size_t>(u)] >
                                        d.flow.area[static_cast<std::size_t>(next)]) {
                        next = u;
                    }
                }
                c = next;
            }
            return sum / count;
        };
        // A course that starts at a named lake rises from it: the walk keeps to the lake's
        // outflow wherever that feeds it, even beside a larger valley.
        std::vector<char> fromLake(d.sea.size(), 0);
        for (std::size_t l = 0; l < w.lakes.size(); ++l) {
            const auto lake =
                std::find_if(layout.lakes.begin(), layout.lakes.end(),
                             [&](const Lake& k) { return k.name == w.lakes[l].name; });
            if (lake == layout.lakes.end() || lake->shape.reach(course.course.front()) > 4.0) {
                continue;
            }
            for (std::size_t c = 0; c < fromLake.size(); ++c) {
                if (w.lakeId.cells()[c] != static_cast<int>(l)) {
                    continue;
                }
                for (auto at = c; !fromLake[at] && !d.sea[at];
                     at = static_cast<std::size_t>(d.flow.receiver[at])) {
                    fromLake[at] = 1;
                    if (d.flow.receiver[at] == static_cast<int>(at)) {
                        break;
                    }
                }
            }
        }
        std::vector<int> up{seed};
        while (true) {
            // Of the feeders large enough, the largest, discounted the further its branch strays
            // from the course.
            int best = -1;
            double bestScore = 0.0;
            for (int c : d.donors[static_cast<std::size_t>(up.back())]) {
                const float a = d.flow.area[static_cast<std::size_t>(c)];
                if (a < kRiverCells || claimed[static_cast<std::size_t>(c)]) {
                    continue;
                }
                const double off = offCourse(c);
                const double score = a / (1.0 + off * off / (40.0 * 40.0));
                if (off <= kCourseReach && score > bestScore) {
                    best = c;
                    bestScore = score;
                }
            }
            for (int c : d.donors[static_cast<std::size_t>(up.back())]) {
                if (fromLake[static_cast<std::size_t>(c)] &&
                    !claimed[static_cast<std::size_t>(c)]) {
                    best = c;
                }
            }
            if (best < 0) {
                break;
            }
            up.push_back(best);
            if (isLake(best)) {
                break;
            }
        }
        std::reverse(up.begin(), up.end());
        auto [down, toSea] = downstream(seed, d, w, claimed);
        up.insert(up.end(), down.begin() + 1, down.end());
        const RiverLine* feeds = lineOf(claimed[static_cast<std::size_t>(up.back())]);
        w.rivers.push_back(lineThrough(up, w, course.name, toSea, feeds));
        claim(up, static_cast<int>(w.rivers.size()));
    }
    // Brooks from every channel head, highest first, each down to whatever it meets. A lake
    // that no named river leaves spills by a brook: its outflow is a head too, as the walks
    // down its inflows end at its shore.
    std::vector<int> heads;
    for (std::size_t i = 0; i < d.flow.area.size(); ++i) {
        if (d.flow.area[i] < kBrookCells || claimed[i] || d.sea[i] || isLake(int(i))) {
            continue;
        }
        const bool fed = std::any_of(d.donors[i].begin(), d.donors[i].end(), [&](int c) {
            return d.flow.area[static_cast<std::size_t>(c)] >= kBrookCells && !isLake(c);
        });
        if (!fed) {
            heads.push_back(static_cast<int>(i));
        }
    }
    std::stable_sort(heads.begin(), heads.end(), [&](int a, int b) {
        return d.filled.cells()[static_cast<std::size_t>(a)] >
               d.filled.cells()[static_cast<std::size_t>(b)];
    });
    for (int head : heads) {
        auto [cells, toSea] = downstream(head, d, w, claimed);
        const int into = claimed[static_cast<std::size_t>(cells.back())];
        if (cells.size() >= kShortest) {
            w.brooks.push_back(lineThrough(cells, w, QString(), toSea, lineOf(into)));
            claim(cells, static_cast<int>(w.rivers.size() + w.brooks.size()));
        } else {
            claim(cells, into != 0 ? into : -1);
        }
    }
    // The places were sited by the water as it ran, so each keeps water near it; an inn was sited
    // by its highway, which bends round water some way off, so no course near it changes.
    std::vector<Settled> settled;
    for (const ProvincePlace& place : provincePlaces()) {
        const bool inn = place.kind == PlaceKind::Inn;
        settled.push_back(
            {QPointF(place.at.x, place.at.y), inn ? kInnRoom : kSettled, inn ? kInnWay : 0.0});
    }
    const auto cell = static_cast<float>(w.cell);
    joinWhereAlongside(
        w.brooks, w.rivers,
        [&](QPointF p) {
            return sampleBilinear(w.ground, static_cast<float>(p.x()) / cell,
                                  static_cast<float>(p.y()) / cell);
        },
        settled);
    return w;
}

}  // namespace marventa
