#include "site_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <limits>
#include <string_view>

#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

bool contains(const std::string& name, std::string_view word) {
    return name.find(word) != std::string::npos;
}

Grid<float> inPixels(Grid<float> d) {
    for (float& v : d.cells()) {
        v *= kSiteCell;
    }
    return d;
}

// Pixels to the nearest running water, its whole width (an estuary is wide).
Grid<float> distanceToLines(const std::vector<RiverLine>& lines, int w, int h) {
    Grid<unsigned char> mask(w, h, 0);
    for (const RiverLine& r : lines) {
        for (std::size_t i = 0; i < r.points.size(); ++i) {
            const QPointF c = r.points[i] / kSiteCell;
            const double half = std::max(0.5, r.widths[i] * 0.5 / kSiteCell);
            around(mask, c, half, [&](int x, int y, float) { mask(x, y) = 1; });
            const int x = static_cast<int>(std::lround(c.x()));
            const int y = static_cast<int>(std::lround(c.y()));
            if (mask.contains(x, y)) {
                mask(x, y) = 1;
            }
        }
    }
    return inPixels(distanceTo(mask, 50.0f));
}

// The highest ground within `reach` cells of each cell.
Grid<float> highestWithin(const Grid<float>& h, int reach) {
    Grid<float> rows(h.width(), h.height());
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            float top = h(x, y);
            for (int k = -reach; k <= reach; ++k) {
                top = std::max(top, h.clamped(x + k, y));
            }
            rows(x, y) = top;
        }
    }
    Grid<float> out(h.width(), h.height());
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            float top = rows(x, y);
            for (int k = -reach; k <= reach; ++k) {
                top = std::max(top, rows.clamped(x, y + k));
            }
            out(x, y) = top;
        }
    }
    return out;
}

// Places named for a river's mouth stand at it, within kMouthReach pixels.
constexpr float kMouthReach = 60.0f;

constexpr MapPoint kCapital{1827, 853};  // inland, on the mainland whatever the coast does

constexpr std::string_view kMarshWords[] = {"Fen", "Reed", "Marsh", "Bog"};

// Ground words, matched in the lower-cased name. A valley word ends its word, as "Beachcombers'"
// is no combe.
constexpr std::string_view kCragWords[] = {"scar",  "skar", "crag", "cleft",
                                           "cliff", "spur", "fell"};
constexpr std::string_view kWoodWords[] = {"holt", "woodcutter", "timber",
                                           "shaw", "hurst",      "grove"};
constexpr std::string_view kValleyWords[] = {"combe", "dale", "glen", "vale"};
constexpr std::string_view kMoorWords[] = {"moor", "heath"};
// An island's ending, its word's last letters ("-ley" is a meadow, "-ney" a chimney's).
constexpr std::string_view kIslandEndings[] = {"sey", "vey", "hey", "dey", "wey"};

// Tree cover this thick is drawn as a wood, not a scatter of trees.
constexpr float kWoodCover = 0.56f;
// Marsh this wet is drawn thick with reeds.
constexpr float kMarshCover = 0.5f;
// A valley floor: the ground rises at least this much within kValleySide pixels on both sides.
constexpr float kValleyRise = 0.05f;
constexpr int kValleySide = 120;
// How far off a bay's head its water is judged: well out from the shore, where a straight coast
// no longer fills half the compass.
constexpr float kOffHead = 96.0f;
// A moor is open: less tree cover than this where the place stands.
constexpr float kMoorWoods = 0.3f;

std::string lower(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool endsAWord(const std::string& name, std::string_view word) {
    for (std::size_t at = name.find(word); at != std::string::npos; at = name.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if (end == name.size() || !std::isalpha(static_cast<unsigned char>(name[end]))) {
            return true;
        }
    }
    return false;
}

// Cells where the ground rises on both sides along one of four headings.
Grid<unsigned char> valleyFloors(const Grid<float>& h) {
    Grid<unsigned char> out(h.width(), h.height(), 0);
    const int reach = kValleySide / kSiteCell;
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            const float here = h(x, y);
            if (here <= 0.0f) {
                continue;
            }
            for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {1, 1}, {1, -1}}) {
                float a = here;
                float b = here;
                for (int k = 1; k <= reach; ++k) {
                    a = std::max(a, h.clamped(x + k * dx, y + k * dy));
                    b = std::max(b, h.clamped(x - k * dx, y - k * dy));
                }
                if (std::min(a, b) - here >= kValleyRise) {
                    out(x, y) = 1;
                    break;
                }
            }
        }
    }
    return out;
}

// On the water a little off the shore, the share of the compass on which the mainland lies
// within kBayReach pixels (islands off a straight shore make no bay); 0 elsewhere. Off a straight
// shore that is under half (0.45 at 96 px out, 0.39 at 200), off the head of a bay more. Then each
// cell takes the most of it within `spread` cells, so a shore spot reads the water off it.
Grid<float> bayWrap(const Grid<unsigned char>& sea, const Grid<unsigned char>& mainland,
                    const Grid<float>& toLand, int spread) {
    constexpr int kRays = 72;
    constexpr int kStride = 2;
    const int w = sea.width();
    const int h = sea.height();
    Grid<float> wrap(w, h, 0.0f);
    const int steps = static_cast<int>(kBayReach) / kSiteCell;
    for (int y = 0; y < h; y += kStride) {
        for (int x = 0; x < w; x += kStride) {
            if (!sea(x, y) || toLand(x, y) < kOffHead || toLand(x, y) > kOffHead + 104.0f) {
                continue;
            }
            int met = 0;
            for (int k = 0; k < kRays; ++k) {
                const double a = 2.0 * 3.14159265358979 * k / kRays;
                const double cx = std::cos(a);
                const double cy = std::sin(a);
                for (int d = 1; d <= steps; ++d) {
                    const int i = x + static_cast<int>(std::lround(d * cx));
                    const int j = y + static_cast<int>(std::lround(d * cy));
                    if (!sea.contains(i, j)) {
                        break;
                    }
                    if (mainland(i, j)) {
                        ++met;
                        break;
                    }
                }
            }
            const float share = static_cast<float>(met) / kRays;
            for (int j = y; j < std::min(h, y + kStride); ++j) {
                for (int i = x; i < std::min(w, x + kStride); ++i) {
                    wrap(i, j) = share;
                }
            }
        }
    }
    return highestWithin(wrap, spread);
}

// The kinds that need high ground, so a village one is named after must have hills near.
bool needsHills(PlaceKind k) {
    return k == PlaceKind::Mine || k == PlaceKind::Cave || k == PlaceKind::FortRuin;
}

// "Kolvern Cave" and "Old Kolvern Mine" are named after Kolvern.
bool namedAfter(const std::string& name, const std::string& village) {
    return name.starts_with(village + " ") || name.find(" " + village + " ") != std::string::npos;
}

Grid<float> distanceToMask(const Grid<unsigned char>& mask) {
    return inPixels(distanceTo(mask, 50.0f));
}

// What a name that refers to a feature begins with: its full name for a river or lake, the
// first word of a range without its plural ("Ironback Mine" for the Ironbacks).
std::string rangeStem(const QString& name) {
    std::string first = name.section(QLatin1Char(' '), 0, 0).toStdString();
    if (!name.contains(QLatin1Char(' ')) && first.ends_with('s')) {
        first.pop_back();
    }
    return first;
}

// One id per 4-connected stretch of `mask`, -1 off it.
Grid<int> components(const Grid<unsigned char>& mask) {
    Grid<int> id(mask.width(), mask.height(), -1);
    int next = 0;
    std::vector<int> open;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (!mask(x, y) || id(x, y) >= 0) {
                continue;
            }
            id(x, y) = next;
            open.push_back(y * mask.width() + x);
            while (!open.empty()) {
                const int c = open.back();
                open.pop_back();
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int i = c % mask.width() + dx;
                    const int j = c / mask.width() + dy;
                    if (mask.contains(i, j) && mask(i, j) && id(i, j) < 0) {
                        id(i, j) = next;
                        open.push_back(j * mask.width() + i);
                    }
                }
            }
            ++next;
        }
    }
    return id;
}

}  // namespace

bool caveFace(const Ground& g, QPointF p) {
    const bool seaCliff = g.at(g.toSea, p) <= 24.0f && g.at(g.cliff, p) >= kCliffHeight;
    return seaCliff ||
           (g.at(g.height, p) >= kCaveFaceHeight && g.at(g.toFace, p) <= kCaveFaceReach);
}

int perRange(PlaceKind kind, const Ridge& range) {
    double crest = 0.0;
    for (std::size_t i = 1; i < range.crest.size(); ++i) {
        crest += length(range.crest[i] - range.crest[i - 1]);
    }
    switch (kind) {
        case PlaceKind::Mine:
            return std::max(4, static_cast<int>(crest / 110.0));
        // More than a score or so of cave mouths in one range read as clutter; the rest stand on
        // the steep ground of the foothills, the valleys and the sea cliffs.
        case PlaceKind::Cave:
            return std::clamp(static_cast<int>(crest / 40.0), 10, 24);
        default:
            return 1000;
    }
}

float Ground::at(const Grid<float>& g, QPointF p) const {
    return sampleBilinear(g, static_cast<float>(p.x() / kSiteCell),
                          static_cast<float>(p.y() / kSiteCell));
}

float Ground::toWater(QPointF p) const {
    return std::min({at(toSea, p), at(toLake, p), at(toRiver, p), at(toBrook, p)});
}

Ground surveyGround(const ProvinceLayout& layout, const Terrain& terrain, const Waterways& water) {
    Ground g;
    const Grid<float>& t = terrain.height;
    g.w = t.width() / kSiteCell + 1;
    g.h = t.height() / kSiteCell + 1;
    for (Grid<float>* f : {&g.height, &g.slope, &g.woods, &g.oldWood, &g.marsh}) {
        *f = Grid<float>(g.w, g.h);
    }
    Grid<unsigned char> sea(g.w, g.h, 0);
    Grid<unsigned char> lake(g.w, g.h, 0);
    Grid<unsigned char> heights(g.w, g.h, 0);
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            const int x = std::min(i * kSiteCell, t.width() - 1);
            const int y = std::min(j * kSiteCell, t.height() - 1);
            g.height(i, j) = t(x, y);
            g.slope(i, j) = std::hypot(t.clamped(x + 4, y) - t.clamped(x - 4, y),
                                       t.clamped(x, y + 4) - t.clamped(x, y - 4)) /
                            8.0f;
            g.woods(i, j) = terrain.woods(x, y);
            g.marsh(i, j) = terrain.marsh(x, y) / 255.0f;
            sea(i, j) = t(x, y) < 0.0f && terrain.lake(x, y) == 0;
            lake(i, j) = terrain.lake(x, y) > 127;
            heights(i, j) = t(x, y) >= kHeightsHeight + 0.03f;
            double reach = 9.0;
            for (const Wood& wd : layout.woods) {
                reach = std::min(reach, wd.reach(QPointF(x, y)));
            }
            g.oldWood(i, j) = reach < 0.8 ? 1.0f : 0.0f;
        }
    }
    g.toSea = inPixels(distanceTo(sea, 50.0f));
    g.toLake = inPixels(distanceTo(lake, 50.0f));
    g.toHeights = inPixels(distanceTo(heights, 50.0f));
    g.toRiver = distanceToLines(water.rivers, g.w, g.h);
    g.cliff = highestWithin(g.height, static_cast<int>(kCliffReach) / kSiteCell);
    for (const RiverLine& r : water.rivers) {
        if (r.toSea) {
            g.mouths.push_back({r.name, r.points.back()});
        }
    }
    g.toBrook = distanceToLines(water.brooks, g.w, g.h);
    Grid<unsigned char> marsh(g.w, g.h, 0);
    for (std::size_t i = 0; i < marsh.cells().size(); ++i) {
        marsh.cells()[i] = g.marsh.cells()[i] > kMarshCover && g.height.cells()[i] > 0.0f;
    }
    g.toMarsh = distanceToMask(marsh);
    // The land joined to the capital's, cell to cell.
    g.mainland = Grid<unsigned char>(g.w, g.h, 0);
    std::vector<int> open{(kCapital.y / kSiteCell) * g.w + kCapital.x / kSiteCell};
    g.mainland.cells()[static_cast<std::size_t>(open.back())] = 1;
    while (!open.empty()) {
        const int c = open.back();
        open.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int x = c % g.w + dx;
            const int y = c / g.w + dy;
            if (g.height.contains(x, y) && !g.mainland(x, y) && g.height(x, y) > 0.0f) {
                g.mainland(x, y) = 1;
                open.push_back(y * g.w + x);
            }
        }
    }
    // The coast's shape: the sea's share round each cell (two box blurs, about a disc), and the
    // land the mainland does not reach.
    Grid<float> wet(g.w, g.h);
    Grid<unsigned char> island(g.w, g.h, 0);
    for (std::size_t i = 0; i < wet.cells().size(); ++i) {
        wet.cells()[i] = sea.cells()[i] ? 1.0f : 0.0f;
        island.cells()[i] = g.height.cells()[i] > 0.0f && !g.mainland.cells()[i];
    }
    const int shape = static_cast<int>(kShapeReach) / kSiteCell / 2;
    g.seaShare = boxBlur(boxBlur(wet, shape), shape);
    g.toIsland = inPixels(distanceTo(island, 100.0f));
    Grid<unsigned char> crag(g.w, g.h, 0);
    Grid<unsigned char> wood(g.w, g.h, 0);
    Grid<unsigned char> dry(g.w, g.h, 0);
    for (std::size_t i = 0; i < crag.cells().size(); ++i) {
        crag.cells()[i] = g.height.cells()[i] >= kHillHeight;
        wood.cells()[i] = g.woods.cells()[i] >= kWoodCover;
        dry.cells()[i] = g.mainland.cells()[i];
    }
    g.toCrag = distanceToMask(crag);
    g.toWood = distanceToMask(wood);
    for (std::size_t i = 0; i < wood.cells().size(); ++i) {
        wood.cells()[i] = wood.cells()[i] || g.oldWood.cells()[i] > 0.5f;
    }
    g.woodId = components(wood);
    // A range's rough ground: its crest's flanks and their foot, to the nearest crest. The
    // foothills beyond take the caves and mines a range has no share left for.
    g.rangeId = Grid<int>(g.w, g.h, -1);
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            double best = std::numeric_limits<double>::max();
            for (std::size_t r = 0; r < layout.ridges.size(); ++r) {
                const Ridge& ridge = layout.ridges[r];
                const double d =
                    distanceToPolyline(QPointF(i * kSiteCell, j * kSiteCell), ridge.crest);
                if (d < ridge.halfWidth + 48.0 && d < best) {
                    best = d;
                    g.rangeId(i, j) = static_cast<int>(r);
                }
            }
        }
    }
    g.toValley = distanceToMask(valleyFloors(g.height));
    std::vector<float> slopes;
    for (std::size_t i = 0; i < g.slope.cells().size(); ++i) {
        if (g.height.cells()[i] >= kCaveFaceHeight) {
            slopes.push_back(g.slope.cells()[i]);
        }
    }
    float faceSlope = kCaveFaceSlope;
    if (!slopes.empty()) {
        const auto steepest =
            slopes.begin() + static_cast<std::ptrdiff_t>(slopes.size() * 86 / 100);
        std::nth_element(slopes.begin(), steepest, slopes.end());
        faceSlope = std::max(faceSlope, *steepest);
    }
    Grid<unsigned char> face(g.w, g.h, 0);
    for (std::size_t i = 0; i < face.cells().size(); ++i) {
        face.cells()[i] = g.height.cells()[i] >= kCaveFaceHeight && g.slope.cells()[i] >= faceSlope;
    }
    g.toFace = distanceToMask(face);
    g.bayWrap = bayWrap(sea, g.mainland, distanceToMask(dry),
                        static_cast<int>(kOffHead + 104.0f) / kSiteCell);
    // What names can refer to: each named river as drawn, each lake, each range's crest.
    for (const RiverCourse& course : layout.rivers) {
        if (std::any_of(g.features.begin(), g.features.end(),
                        [&](const NamedFeature& f) { return f.name == course.name; })) {
            continue;
        }
        std::vector<RiverLine> lines;
        std::copy_if(water.rivers.begin(), water.rivers.end(), std::back_inserter(lines),
                     [&](const RiverLine& r) { return r.name == course.name; });
        g.features.push_back(
            {course.name, course.name.toStdString(), distanceToLines(lines, g.w, g.h), 30.0f});
    }
    for (std::size_t l = 0; l < water.lakes.size(); ++l) {
        Grid<unsigned char> mask(g.w, g.h, 0);
        for (int j = 0; j < g.h; ++j) {
            for (int i = 0; i < g.w; ++i) {
                const QPointF at(i * kSiteCell, j * kSiteCell);
                mask(i, j) = lake(i, j) && water.lakeAt(at) == static_cast<int>(l);
            }
        }
        g.features.push_back(
            {water.lakes[l].name, water.lakes[l].name.toStdString(), distanceToMask(mask), 40.0f});
    }
    for (const Ridge& r : layout.ridges) {
        Grid<unsigned char> mask(g.w, g.h, 0);
        for (int j = 0; j < g.h; ++j) {
            for (int i = 0; i < g.w; ++i) {
                mask(i, j) = distanceToPolyline(QPointF(i * kSiteCell, j * kSiteCell), r.crest) <
                             r.halfWidth * 0.8;
            }
        }
        g.features.push_back({r.name, rangeStem(r.name), distanceToMask(mask), 0.0f});
    }
    for (const RiverLine& r : water.rivers) {
        if (const int l = water.lakeAt(r.points.front()); l >= 0) {
            g.outflows.push_back({water.lakes[static_cast<std::size_t>(l)].name, r.points.front()});
            g.sources.push_back({r.name, water.lakes[static_cast<std::size_t>(l)].name});
        }
    }
    // A tarn: a lake whose shore meets the heights.
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            const QPointF at(i * kSiteCell, j * kSiteCell);
            const int l = lake(i, j) ? water.lakeAt(at) : -1;
            if (l >= 0 && g.toHeights(i, j) <= 2 * kSiteCell) {
                const QString& name = water.lakes[static_cast<std::size_t>(l)].name;
                if (std::find(g.tarns.begin(), g.tarns.end(), name) == g.tarns.end()) {
                    g.tarns.push_back(name);
                }
            }
        }
    }
    return g;
}

bool namesOutflow(const std::string& name, PlaceKind kind, QString* lake) {
    if ((kind != PlaceKind::Town && kind != PlaceKind::Settlement) || !name.ends_with("weir")) {
        return false;
    }
    const QString stem = QString::fromStdString(name.substr(0, name.size() - 4));
    for (const Lake& l : provinceLayout().lakes) {
        if (lake && l.name.startsWith(stem)) {
            *lake = l.name;
        }
    }
    return true;
}

QString mouthOf(const std::string& name, PlaceKind kind) {
    if ((kind != PlaceKind::Town && kind != PlaceKind::Settlement) || !name.ends_with("mouth")) {
        return {};
    }
    const QString stem = QString::fromStdString(name.substr(0, name.size() - 5));
    const ProvinceLayout& layout = provinceLayout();
    for (const RiverCourse& r : layout.rivers) {
        if (r.name.startsWith(stem)) {
            return r.name;
        }
    }
    return {};
}

Promise promiseOf(const std::string& name, PlaceKind kind) {
    // A town's "mouth" is a river's; a cave's is its own.
    if ((kind == PlaceKind::Town || kind == PlaceKind::Settlement) && contains(name, "mouth")) {
        return Promise::Water;
    }
    if (contains(name, "Bay") || contains(name, "Cove") || contains(name, "Gulf")) {
        return Promise::Bay;
    }
    for (std::string_view w : {"Ness", "Head", "Point"}) {
        if (contains(name, w)) {
            return Promise::Headland;
        }
    }
    if (name.ends_with("sey") || contains(name, "Isle") || contains(name, "Skerr")) {
        return Promise::Island;
    }
    for (std::string_view w :
         {"haven",  "Sands",      "Gull",  "Salt",   "Brine",        "Tide",      "Kelp",
          "Beach",  "Wreck",      "Seal",  "Smuggl", "Lantern Rock", "Driftwood", "Herring",
          "Anchor", "Tarred Oar", "Shore", "spray",  "Marram",       "Strand",    "strand"}) {
        if (contains(name, w)) {
            return Promise::Sea;
        }
    }
    for (std::string_view w :
         {"Ford", "Ferry", "Barge", "bridge", "Broken Span", "cross", "Torrent"}) {
        if (contains(name, w)) {
            return Promise::River;
        }
    }
    for (std::string_view w :
         {"mere", "holm", "hythe", "weir", "Reed", "Heron", "Fisher", "Goose", "Sunken Belfry"}) {
        if (contains(name, w)) {
            return Promise::Water;
        }
    }
    for (std::string_view w :
         {"Tor", "Crag", "Cleft", "High", "Ridge", "ridge", "Fell", "crest", "spire"}) {
        if (contains(name, w)) {
            return Promise::Height;
        }
    }
    return Promise::None;
}

bool promisesSea(Promise p) {
    return p == Promise::Sea || p == Promise::Bay || p == Promise::Headland || p == Promise::Island;
}

bool promisesMarsh(const std::string& name) {
    return std::any_of(std::begin(kMarshWords), std::end(kMarshWords),
                       [&](std::string_view w) { return contains(name, w); });
}

unsigned groundWordsOf(const std::string& name) {
    const std::string n = lower(name);
    const auto any = [&](const auto& words, auto match) {
        return std::any_of(std::begin(words), std::end(words),
                           [&](std::string_view w) { return match(n, w); });
    };
    const auto within = [](const std::string& s, std::string_view w) { return contains(s, w); };
    unsigned out = 0;
    out |= any(kCragWords, within) ? kCragWord : 0u;
    out |= any(kWoodWords, within) ? kWoodWord : 0u;
    out |= any(kValleyWords, endsAWord) ? kValleyWord : 0u;
    out |= any(kMoorWords, within) ? kMoorWord : 0u;
    out |= contains(n, "tarn") ? kTarnWord : 0u;
    out |= contains(n, "gorge") ? kGorgeWord : 0u;
    out |= any(kIslandEndings, endsAWord) ? kIslandWord : 0u;
    out |= contains(n, "ford") ? kFordWord : 0u;
    out |= contains(n, "bridge") ? kBridgeWord : 0u;
    out |= contains(n, "haven") || contains(n, "hythe") ? kHavenWord : 0u;
    return out;
}

std::string namesake(const std::string& name, const std::vector<ProvincePlace>& places) {
    for (const ProvincePlace& p : places) {
        if ((p.kind == PlaceKind::Settlement || p.kind == PlaceKind::Town ||
             p.kind == PlaceKind::City) &&
            namedAfter(name, p.name)) {
            return p.name;
        }
    }
    return {};
}

std::vector<std::string> siteFaults(const ProvincePlace& place, const Ground& g,
                                    const std::vector<ProvincePlace>& places) {
    std::vector<std::string> faults;
    const QPointF p(place.at.x, place.at.y);
    auto fault = [&](const std::string& what) { faults.push_back(place.name + ": " + what); };
    const float h = g.at(g.height, p);
    const bool town = place.kind == PlaceKind::Town || place.kind == PlaceKind::City;
    // A city stands where its own map has it, at the water's edge if a port.
    if (place.kind != PlaceKind::City && (h <= 0.0f || g.at(g.toLake, p) < 4.0f)) {
        fault("stands in water");
    }
    const unsigned words = groundWordsOf(place.name);
    // A gorge is the water's own cleft.
    if (!town && !(words & kGorgeWord) && std::min(g.at(g.toRiver, p), g.at(g.toBrook, p)) < 4.0f) {
        fault("stands in a river");
    }
    const Promise promise = promiseOf(place.name, place.kind);
    switch (place.kind) {
        case PlaceKind::Cave:
            // A cave opens in a steep face: a scarp in the hills or a foothill's, a valley's side,
            // a sea cliff.
            if (!promisesSea(promise) && !caveFace(g, p)) {
                fault("not by a steep face");
            }
            break;
        case PlaceKind::Mine:
            // A mine named after its village may stand on the heights above it.
            if (!promisesSea(promise) &&
                h < (namesake(place.name, places).empty() ? kHillHeight : kHeightsHeight)) {
                fault("not in the hills");
            }
            break;
        case PlaceKind::FortRuin:
            // A fort named for the sea watches it from the shore.
            if (!promisesSea(promise) && h < kHeightsHeight) {
                fault("not on a height");
            }
            break;
        case PlaceKind::ElvenRuin:
            // The old woods first, but a wood holds only a few; the rest stand in other woods,
            // on the heights or by a lake.
            if (g.at(g.oldWood, p) < 0.5f && g.at(g.woods, p) < kWoodCover && h < kHeightsHeight &&
                g.at(g.toLake, p) > 40.0f) {
                fault("neither in a wood, on the heights nor by a lake");
            }
            break;
        case PlaceKind::HeavenlyStone:
            if (h < kHillHeight) {
                fault("not on a crest");
            }
            break;
        case PlaceKind::Camp:
            if (g.toWater(p) > 60.0f && g.at(g.woods, p) < 0.3f && h < kHeightsHeight) {
                fault("neither by water, at a wood nor in the hills");
            }
            break;
        default:
            break;
    }
    if (promisesSea(promise)) {
        const float share = g.at(g.seaShare, p);
        if (g.at(g.toSea, p) > 24.0f) {
            fault("its name promises the sea");
        } else if (place.kind == PlaceKind::Cave && g.at(g.cliff, p) < kCliffHeight) {
            fault("a sea cave on a low shore, not in a cliff");
        } else if (promise == Promise::Bay && g.at(g.bayWrap, p) <= kBayWrap) {
            fault("its name promises a bay, but the coast does not wrap round the water");
        } else if (promise == Promise::Headland && share < kHeadlandShare) {
            fault("its name promises a headland, but the shore does not jut out");
        } else if (promise == Promise::Island && g.at(g.toIsland, p) > kIslandReach) {
            fault("its name promises an island, but none is near");
        }
    }
    switch (promise) {
        case Promise::Sea:
        case Promise::Bay:
        case Promise::Headland:
        case Promise::Island:
            break;
        case Promise::River:
            if (std::min(g.at(g.toRiver, p), g.at(g.toBrook, p)) > 24.0f) {
                fault("its name promises a river");
            }
            break;
        case Promise::Water:
            if (g.toWater(p) > 30.0f) {
                fault("its name promises water");
            }
            break;
        case Promise::Height:
            if (h < kHeightsHeight) {
                fault("its name promises a height");
            }
            break;
        case Promise::None:
            break;
    }
    // A span's broken arches stand on a river's bank, not by a brook near it.
    if (place.kind == PlaceKind::Landmark && contains(place.name, "Span") &&
        g.at(g.toRiver, p) > kSpanReach) {
        fault("its name promises a river's bridge, but no river runs beside it");
    }
    if (QString lake; namesOutflow(place.name, place.kind, &lake)) {
        const bool atOutflow =
            std::any_of(g.outflows.begin(), g.outflows.end(), [&](const RiverMouth& m) {
                return (lake.isEmpty() || m.river == lake) && length(m.at - p) <= kMouthReach;
            });
        if (!atOutflow) {
            fault("its name promises where a river leaves a lake");
        }
    }
    if (const QString river = mouthOf(place.name, place.kind); !river.isEmpty()) {
        const bool atMouth =
            std::any_of(g.mouths.begin(), g.mouths.end(), [&](const RiverMouth& m) {
                return m.river == river && length(m.at - p) <= kMouthReach;
            });
        if (!atMouth) {
            fault("its name promises the " + river.toStdString() + "'s mouth");
        }
    }
    if (promisesMarsh(place.name) && g.at(g.toMarsh, p) > 48.0f) {
        fault("its name promises a fen or reeds");
    }
    const bool seaCliff = g.at(g.toSea, p) <= 24.0f && g.at(g.cliff, p) >= kCliffHeight;
    if ((words & kCragWord) && g.at(g.toCrag, p) > kCragReach && !seaCliff) {
        fault("its name promises a crag, but the ground round it is low and level");
    }
    if ((words & kWoodWord) && g.at(g.toWood, p) > kWoodReach) {
        fault("its name promises a wood, but none is near");
    }
    if ((words & kValleyWord) && g.at(g.toValley, p) > kValleyReach) {
        fault("its name promises a valley, but the ground does not rise round it");
    }
    if ((words & kMoorWord) && g.at(g.woods, p) >= kMoorWoods) {
        fault("its name promises open moor, but it stands in a wood");
    }
    if (words & kTarnWord) {
        // A town at a river's mouth is named for where that river rises.
        const QString river = mouthOf(place.name, place.kind);
        const auto isTarn = [&](const QString& lake) {
            return std::find(g.tarns.begin(), g.tarns.end(), lake) != g.tarns.end();
        };
        const bool kept =
            river.isEmpty()
                ? std::any_of(g.features.begin(), g.features.end(),
                              [&](const NamedFeature& f) {
                                  return isTarn(f.name) && g.at(f.away, p) <= kTarnReach;
                              })
                : std::any_of(g.sources.begin(), g.sources.end(), [&](const RiverSource& s) {
                      return s.river == river && isTarn(s.lake);
                  });
        if (!kept) {
            fault("its name promises a tarn, but no lake among the heights is near or feeds it");
        }
    }
    // A haven by the sea lies in a bay's shelter or at a river's mouth; a hythe inland is a
    // river's or a lake's landing, which its water promise asks for.
    if ((words & kHavenWord) && g.at(g.toSea, p) <= 24.0f && g.at(g.bayWrap, p) <= kBayWrap &&
        std::none_of(g.mouths.begin(), g.mouths.end(),
                     [&](const RiverMouth& m) { return length(m.at - p) <= kMouthReach; })) {
        fault("its name promises a haven, but the coast offers neither a bay nor a river's mouth");
    }
    if ((words & kGorgeWord) && (std::min(g.at(g.toRiver, p), g.at(g.toBrook, p)) > kGorgeWater ||
                                 g.at(g.cliff, p) < kGorgeWall || h < kHillHeight)) {
        fault("its name promises a gorge, but no water cuts through high ground there");
    }
    if ((words & kIslandWord) && !g.mainland.cells().empty() &&
        g.mainland(std::clamp(static_cast<int>(std::lround(p.x() / kSiteCell)), 0, g.w - 1),
                   std::clamp(static_cast<int>(std::lround(p.y() / kSiteCell)), 0, g.h - 1))) {
        fault("its name makes it an island's, but it stands on the mainland");
    }
    // "mouth" in a town's name is a river's mouth at the sea.
    if ((place.kind == PlaceKind::Town || place.kind == PlaceKind::Settlement) &&
        place.name.ends_with("mouth") && mouthOf(place.name, place.kind).isEmpty()) {
        fault("its name promises a river's mouth at the sea, and no such river is named so");
    }
    // A name that refers to a river, lake or range lies by it; the cities stand where their maps
    // have them.
    for (const NamedFeature& f : g.features) {
        if (place.kind != PlaceKind::City && place.name != f.name.toStdString() &&
            place.name.starts_with(f.stem) && g.at(f.away, p) > f.reach + kSiteCell) {
            fault("its name refers to " + f.name.toStdString() + ", which is far");
        }
    }
    const bool isVillage = place.kind == PlaceKind::Settlement || place.kind == PlaceKind::Town;
    if (isVillage) {
        const bool bindsHills =
            std::any_of(places.begin(), places.end(), [&](const ProvincePlace& m) {
                return needsHills(m.kind) && namedAfter(m.name, place.name);
            });
        if (bindsHills && g.at(g.toHeights, p) > 100.0f) {
            fault("a mine, cave or fort is named after it, but no hills are near");
        }
    } else if (place.kind != PlaceKind::City) {
        const std::string village = namesake(place.name, places);
        for (const ProvincePlace& v : places) {
            if (!village.empty() && v.name == village &&
                length(QPointF(v.at.x, v.at.y) - p) > kNamesakeReach) {
                fault("far from " + village);
            }
        }
    }
    return faults;
}

}  // namespace marventa
