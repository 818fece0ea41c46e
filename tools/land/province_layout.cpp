#include "tools/land/province_layout.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"

namespace marventa {

double Wood::reach(QPointF p) const {
    if (lobes.empty()) {
        return shape.reach(p);
    }
    const double a =
        std::atan2((p.y() - shape.centre.y()) / shape.ry, (p.x() - shape.centre.x()) / shape.rx);
    double out = 1.0;
    double spread = 1.0;
    for (const OutlineLobes& l : lobes) {
        out += l.depth * std::cos(l.count * a + l.turn);
        spread += l.depth * l.depth / 2.0;
    }
    // The outline's radius scaled so the area stays the ellipse's, eased back onto the ellipse
    // over the kept arc.
    const double lobed = std::max(out, 0.2) / std::sqrt(spread);
    constexpr float kEase = 0.35f;
    const auto from = static_cast<float>(keptFrom);
    const auto to = static_cast<float>(keptTo);
    const auto at = static_cast<float>(a);
    const double kept =
        std::min(smoothstep(from - kEase, from, at), 1.0f - smoothstep(to, to + kEase, at));
    const double radius = lobed + (1.0 - lobed) * (keptTo > keptFrom ? kept : 0.0);
    return shape.reach(p) / (radius * radius);
}

const ProvinceLayout& provinceLayout() {
    static const ProvinceLayout layout{
        .coast = {{0, 1150},    {120, 1300},  {215, 1440},  {242, 1530},  {238, 1610},
                  {255, 1750},  {370, 1950},  {560, 2120},  {800, 2255},  {1100, 2330},
                  {1400, 2375}, {1700, 2410}, {1980, 2385}, {2120, 2320}, {2200, 2268},
                  {2270, 2266}, {2340, 2300}, {2450, 2360}, {2700, 2415}, {2950, 2470},
                  {3248, 2495}},
        .shores = {{400, 1300, 55}, {2750, 3200, 60}, {2000, 2500, 420}},
        .heldShore = {{240, 1560}, {2249, 2266}},
        .lakeTowns = {{1161, 1260}},
        .openSea = {{30, 2330, 500, 270}, {540, 2340, 200, 240}, {742, 2358, 620, 270}},
        .ridges =
            {
                {QStringLiteral("Hollowspine"),
                 {{820, 200}, {1150, 290}, {1470, 330}, {1640, 480}},
                 150,
                 1.0,
                 1.0,
                 false,
                 true},
                {QStringLiteral("Ironbacks"),
                 {{2700, 800}, {2850, 1100}, {2950, 1450}, {2900, 1750}},
                 170,
                 0.82,
                 0.9},
                {QStringLiteral("Wether Fells"),
                 {{500, 780}, {690, 1000}, {790, 1230}},
                 150,
                 0.5,
                 0.25},
                {QStringLiteral("Ashen Tors"),
                 {{1300, 1740}, {1550, 1850}, {1800, 1940}},
                 140,
                 0.62,
                 0.8,
                 true},
            },
        .uplands = {{{{2000, 350}, 330, 230}, 0.2}},
        .rivers =
            {
                {QStringLiteral("Venn"),
                 {{1560, 560},
                  {1700, 720},
                  {1870, 800},
                  {1930, 1000},
                  {1985, 1250},
                  {2028, 1420},
                  {2036, 1503},
                  {2062, 1610},
                  {2120, 1780},
                  {2165, 2080},
                  {2185, 2220},
                  {2195, 2330}},
                 3.0f,
                 10.0f,
                 true},
                {QStringLiteral("Vol"),
                 {{2720, 600},
                  {2600, 650},
                  {2480, 700},
                  {2400, 706},
                  {2300, 725},
                  {2150, 800},
                  {1918, 960}},
                 2.2f,
                 5.5f,
                 true},
                {QStringLiteral("Oll"),
                 {{1220, 420}, {1195, 640}, {1160, 880}, {1085, 1120}, {1040, 1230}},
                 2.2f,
                 5.0f,
                 true},
                {QStringLiteral("Oll"),
                 {{870, 1320}, {700, 1420}, {560, 1500}, {390, 1585}, {300, 1592}, {220, 1600}},
                 5.5f,
                 7.0f,
                 false},
                {QStringLiteral("Tarnbeck"),
                 {{2805, 1250},
                  {2740, 1420},
                  {2720, 1520},
                  {2640, 1800},
                  {2600, 2100},
                  {2595, 2240}},
                 2.5f,
                 6.0f,
                 true},
                {QStringLiteral("Cinderbrook"),
                 {{1540, 1905}, {1520, 1990}, {1480, 2100}, {1460, 2250}, {1450, 2380}},
                 2.0f,
                 4.0f,
                 true},
            },
        .lakes =
            {
                {{QStringLiteral("Orl Water")}, {{975, 1290}, 110, 75}},
                {{QStringLiteral("Dunmere")}, {{930, 540}, 85, 50}},
                {{QStringLiteral("Coldtarn")}, {{2805, 1250}, 42, 28}},
            },
        .woods =
            {
                {{QStringLiteral("Corrow Wood")}, {{760, 1790}, 310, 230}},
                {{QStringLiteral("Saelith Wood")},
                 {{2880, 330}, 300, 220},
                 {{2, 0.1, 0.7}, {3, 0.16, 2.1}, {5, 0.08, 4.0}, {7, 0.05, 1.3}},
                 0.6,
                 2.3},
                {{QStringLiteral("Ravelwood")}, {{2640, 1950}, 240, 200}},
            },
        .seaNames =
            {
                {QStringLiteral("Gulf of Ammerlay"), {2330, 2545}, -2, true},
                {QStringLiteral("Tolvane Sea"), {95, 1700}, -80, true},
            },
        .hillTowns = {QStringLiteral("Volmarren")},
    };
    return layout;
}

}  // namespace marventa
