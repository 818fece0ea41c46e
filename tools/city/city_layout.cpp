#include "city_layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

using Points = std::vector<QPointF>;

// A hand-set line made irregular: each segment halved again and again, the middle pushed aside
// by a share of the segment's length.
Points roughen(const Points& line, std::uint64_t seed, double share = 0.18, int rounds = 4) {
    Rng rng(seed);
    Points pts = line;
    for (int round = 0; round < rounds; ++round) {
        Points next{pts.front()};
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            const QPointF a = pts[i];
            const QPointF b = pts[i + 1];
            const QPointF d = b - a;
            const QPointF normal(-d.y(), d.x());
            next.push_back((a + b) / 2 + normal * rng.range(-share, share));
            next.push_back(b);
        }
        pts = std::move(next);
    }
    return pts;
}

// Water beyond a shore: the roughened shore line, closed through the given corners.
Points shoreWater(const Points& shore, const Points& corners, std::uint64_t seed) {
    Points ring = roughen(shore, seed);
    ring.insert(ring.end(), corners.begin(), corners.end());
    return ring;
}

// An estuary beyond a shore: the roughened near shore, closed through the map's corner `corner`
// and back along the roughened far bank.
Points estuaryWater(const Points& shore, QPointF corner, const Points& far, std::uint64_t seed) {
    Points ring = roughen(shore, seed);
    ring.push_back(corner);
    const Points bank = roughen(far, seed + 1, 0.12, 3);
    ring.insert(ring.end(), bank.begin(), bank.end());
    return ring;
}

// A river along a roughened centre line, widening from `from` to `to` pixels.
Points river(const Points& course, double from, double to, std::uint64_t seed) {
    const Points line = resample(roughen(course, seed, 0.08, 3), 12.0);
    Points left;
    Points right;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const QPointF d = line[std::min(i + 1, line.size() - 1)] - line[i > 0 ? i - 1 : 0];
        const QPointF n = QPointF(-d.y(), d.x()) / length(d);
        const double t = static_cast<double>(i) / static_cast<double>(line.size() - 1);
        const double half = (from + (to - from) * t) / 2;
        left.push_back(line[i] + n * half);
        right.push_back(line[i] - n * half);
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    return left;
}

// A pond or lake: an ellipse with a wavering shore.
Points blob(QPointF centre, QSizeF radii, std::uint64_t seed) {
    Rng rng(seed);
    const double phase1 = rng.range(0, 6.28);
    const double phase2 = rng.range(0, 6.28);
    Points ring;
    for (int i = 0; i < 72; ++i) {
        const double a = i * 2 * 3.14159265358979 / 72;
        const double r = 1 + 0.12 * std::sin(3 * a + phase1) + 0.07 * std::sin(5 * a + phase2);
        ring.emplace_back(centre.x() + radii.width() * r * std::cos(a),
                          centre.y() + radii.height() * r * std::sin(a));
    }
    return ring;
}

std::vector<CityLayout> makeLayouts() {
    std::vector<CityLayout> all;
    // Tolvane: the bay to the west, the Lower Oll's estuary along the south with its far bank.
    all.push_back({
        .table = PlaceTableId::Tolvane,
        .seed = 0x701,
        // The near bank is quayed straight under the harbour, and winds in points and bights
        // either side of it.
        .waters = {estuaryWater(
            {{1500, 726}, {1440, 698}, {1390, 676}, {1330, 694}, {1260, 702}, {1190, 680},
             {1100, 664}, {800, 648},  {600, 652},  {520, 668},  {450, 676},  {390, 650},
             {330, 622},  {250, 636},  {160, 618},  {110, 600},  {180, 470},  {250, 380},
             {215, 260},  {255, 120},  {230, -12}},
            {-12, -12},
            // The far bank falls back in coves toward the mouth, where the
            // estuary opens to the bay.
            {{-12, 842},
             {240, 842},
             {330, 822},
             {470, 806},
             {560, 818},
             {690, 798},
             {820, 804},
             {930, 780},
             {1060, 788},
             {1180, 760},
             {1290, 766},
             {1400, 742},
             {1500, 752}},
            11)},
        .marshes = {},
        .centre = {840, 380},
        .radii = {470, 330},
        .market = {820, 380},
        .stronghold = {820, 380},
        .gates = {{QStringLiteral("Land Gate"), {1500, 300}},
                  {QStringLiteral("Harbour Gate"), {150, 560}}},
        .crossings = {},
        .rises = {{{760, 90}, 300, 0.5}},
        .moles = {{{640, 650}, {630, 735}}, {{960, 655}, {975, 740}}},
        .lighthouse = {168, 580},
        .cellSize = 92,
    });
    // Merrowick: on the west bank of the Venn, which runs north to south past its east side.
    all.push_back({
        .table = PlaceTableId::Merrowick,
        .seed = 0x702,
        .waters = {river(
            {{1220, -30}, {1260, 220}, {1205, 470}, {1250, 720}, {1220, 920}, {1260, 1110}}, 96,
            120, 12)},
        .marshes = {},
        .centre = {720, 540},
        .radii = {590, 440},
        .market = {690, 530},
        .stronghold = {690, 530},
        .gates = {{QStringLiteral("North Gate"), {640, -12}},
                  {QStringLiteral("South Gate"), {720, 1090}},
                  {QStringLiteral("Ferry Gate"), {1566, 380}}},
        .crossings = {},
        .rises = {{{330, 260}, 320, 0.35}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 92,
    });
    // Hathmoor: moorland, a pond to the south-west, the keep on its crag to the north-east.
    all.push_back({
        .table = PlaceTableId::Hathmoor,
        .seed = 0x703,
        .waters = {blob({210, 1080}, {120, 90}, 13)},
        .marshes = {},
        .centre = {540, 610},
        .radii = {360, 480},
        .market = {520, 650},
        .stronghold = {770, 260},
        .gates = {{QStringLiteral("Crag Gate"), {900, -12}},
                  {QStringLiteral("Moor Gate"), {560, 1270}}},
        .crossings = {},
        .rises = {{{800, 230}, 280, 0.9, true}, {{200, 300}, 260, 0.3}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 88,
    });
    // Volmarren: the hill town, its citadel at the top, the Vol along the bottom.
    all.push_back({
        .table = PlaceTableId::Volmarren,
        .seed = 0x704,
        .waters = {river({{-30, 1480}, {300, 1450}, {700, 1490}, {1000, 1440}, {1330, 1470}}, 100,
                         118, 14)},
        .marshes = {},
        .centre = {650, 730},
        .radii = {470, 570},
        .market = {640, 830},
        .stronghold = {650, 320},
        .gates = {{QStringLiteral("Upper Gate"), {600, -12}},
                  {QStringLiteral("Lower Gate"), {1316, 1330}}},
        .crossings = {},
        .rises = {{{650, 340}, 640, 1.5}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 90,
    });
    // Dunmaris: the Oll along the east side, marsh to the north-west, the castle on its rise.
    all.push_back({
        .table = PlaceTableId::Dunmaris,
        .seed = 0x705,
        .waters = {river({{1570, -30}, {1610, 300}, {1545, 600}, {1610, 900}, {1575, 1200}}, 116,
                         130, 15)},
        .marshes = {roughen(
            {{-12, -12}, {470, -12}, {420, 150}, {300, 290}, {130, 380}, {-12, 400}}, 16)},
        .centre = {880, 640},
        .radii = {560, 420},
        .market = {900, 660},
        .stronghold = {860, 300},
        .gates = {{QStringLiteral("North Gate"), {760, -12}},
                  {QStringLiteral("Marsh Gate"), {-12, 760}},
                  {QStringLiteral("Bridge Gate"), {1856, 640}}},
        .crossings = {},
        .rises = {{{860, 270}, 320, 0.6}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 96,
    });
    // Crown City: the capital on the west bank of the Venn, the palace on its hill.
    all.push_back({
        .table = PlaceTableId::CrownCity,
        .seed = 0x706,
        .waters = {river(
            {{1880, -30}, {1930, 400}, {1870, 800}, {1940, 1200}, {1890, 1600}, {1950, 2200}}, 160,
            190, 17)},
        .marshes = {},
        .centre = {1100, 1100},
        .radii = {940, 900},
        .market = {1080, 1160},
        .stronghold = {960, 470},
        .gates = {{QStringLiteral("North Gate"), {1000, -12}},
                  {QStringLiteral("West Gate"), {-12, 1100}},
                  {QStringLiteral("South Gate"), {1040, 2180}},
                  {QStringLiteral("River Gate"), {1760, -12}},
                  {QStringLiteral("Water Gate"), {1780, 2180}}},
        .crossings = {{{1790, 1180}, {2172, 1200}}},
        .rises = {{{960, 470}, 480, 0.7}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 150,
    });
    // Saltreach: the sea to the south with its harbour basin, the Venn's estuary to the west.
    all.push_back({
        .table = PlaceTableId::Saltreach,
        .seed = 0x707,
        .waters = {shoreWater({{170, -12},
                               {215, 200},
                               {265, 450},
                               {330, 700},
                               {390, 900},
                               {440, 1060},
                               {620, 1130},
                               {900, 1160},
                               {1200, 1140},
                               {1500, 1175},
                               {1792, 1150}},
                              {{1792, 1468}, {-12, 1468}, {-12, -12}}, 18)},
        .marshes = {roughen(
            {{330, 720}, {520, 830}, {610, 1000}, {560, 1100}, {430, 1040}, {360, 880}}, 19, 0.1)},
        .centre = {1040, 700},
        .radii = {560, 560},
        .market = {1000, 700},
        .stronghold = {1000, 700},
        .gates = {{QStringLiteral("North Gate"), {1000, -12}},
                  {QStringLiteral("River Gate"), {-12, 420}},
                  {QStringLiteral("Sea Gate"), {1792, 980}}},
        .crossings = {},
        .rises = {},
        .moles = {{{860, 1150}, {830, 1290}, {960, 1350}},
                  {{1170, 1140}, {1190, 1300}, {1080, 1345}}},
        .lighthouse = {1190, 1300},
        .cellSize = 96,
    });
    // Orlheim: Orl Water along the west side, the keep on a rise at the north end.
    all.push_back({
        .table = PlaceTableId::Orlheim,
        .seed = 0x708,
        .waters = {shoreWater(
            {{190, -12}, {240, 200}, {205, 420}, {270, 640}, {230, 860}, {262, 1060}, {200, 1272}},
            {{-12, 1272}, {-12, -12}}, 20)},
        .marshes = {},
        .centre = {600, 690},
        .radii = {420, 540},
        .market = {620, 700},
        .stronghold = {610, 210},
        .gates = {{QStringLiteral("Hill Gate"), {800, -12}},
                  {QStringLiteral("East Gate"), {1032, 720}},
                  {QStringLiteral("Lake Gate"), {-12, 560}}},
        .crossings = {},
        .rises = {{{610, 180}, 280, 0.7}},
        .moles = {},
        .lighthouse = {},
        .cellSize = 88,
    });
    return all;
}

}  // namespace

const std::vector<CityLayout>& cityLayouts() {
    static const std::vector<CityLayout> layouts = makeLayouts();
    return layouts;
}

const CityLayout& cityLayout(PlaceTableId table) {
    for (const CityLayout& l : cityLayouts()) {
        if (l.table == table) {
            return l;
        }
    }
    throw std::logic_error("no site for a city");
}

}  // namespace marventa
