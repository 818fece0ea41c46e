#include "site_rules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

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
struct AtMouth {
    std::string_view place;
    const char* river;
};
constexpr AtMouth kAtMouths[] = {{"Tarnmouth", "Tarnbeck"}};
constexpr float kMouthReach = 60.0f;

}  // namespace

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
                reach = std::min(reach, wd.shape.reach(QPointF(x, y)));
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
    return g;
}

QString mouthOf(const std::string& name) {
    for (const AtMouth& m : kAtMouths) {
        if (name == m.place) {
            return QString::fromLatin1(m.river);
        }
    }
    return {};
}

Promise promiseOf(const std::string& name, PlaceKind kind) {
    // A town's "mouth" is a river's; a cave's is its own.
    if ((kind == PlaceKind::Town || kind == PlaceKind::Settlement) && contains(name, "mouth")) {
        return Promise::Water;
    }
    for (std::string_view w : {"haven", "Bay", "Sands", "Ness", "Gull", "Salt", "Brine", "Tide",
                               "Kelp", "Beach", "Wreck", "Seal", "Smuggl", "Lantern Rock",
                               "Driftwood", "Herring", "Anchor", "Tarred Oar"}) {
        if (contains(name, w)) {
            return Promise::Sea;
        }
    }
    for (std::string_view w : {"Ford", "Ferry", "Barge", "bridge", "Broken Span", "Venncross"}) {
        if (contains(name, w)) {
            return Promise::River;
        }
    }
    for (std::string_view w :
         {"mere", "holm", "hythe", "Reed", "Heron", "Fisher", "Goose", "Sunken Belfry"}) {
        if (contains(name, w)) {
            return Promise::Water;
        }
    }
    for (std::string_view w : {"Tor", "Crag", "Cleft", "High", "Ridge", "Fell"}) {
        if (contains(name, w)) {
            return Promise::Height;
        }
    }
    return Promise::None;
}

std::string namesake(const std::string& mine, const std::vector<ProvincePlace>& places) {
    for (const ProvincePlace& p : places) {
        if ((p.kind == PlaceKind::Settlement || p.kind == PlaceKind::Town) &&
            mine.find(p.name + " ") != std::string::npos) {
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
    if (!town && std::min(g.at(g.toRiver, p), g.at(g.toBrook, p)) < 4.0f) {
        fault("stands in a river");
    }
    const Promise promise = promiseOf(place.name, place.kind);
    switch (place.kind) {
        case PlaceKind::Cave:
        case PlaceKind::Mine:
            // A mine named after its village may stand on the heights above it.
            if (promise != Promise::Sea &&
                h < (namesake(place.name, places).empty() ? kHillHeight : kHeightsHeight)) {
                fault("not in the hills");
            }
            break;
        case PlaceKind::FortRuin:
            // A fort named for the sea watches it from the shore.
            if (promise != Promise::Sea && h < kHeightsHeight) {
                fault("not on a height");
            }
            break;
        case PlaceKind::ElvenRuin:
            if (g.at(g.oldWood, p) < 0.5f) {
                fault("not in an old wood");
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
    switch (promise) {
        case Promise::Sea:
            if (g.at(g.toSea, p) > 24.0f) {
                fault("its name promises the sea");
            } else if (place.kind == PlaceKind::Cave && g.at(g.cliff, p) < kCliffHeight) {
                fault("a sea cave on a low shore, not in a cliff");
            }
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
    if (const QString river = mouthOf(place.name); !river.isEmpty()) {
        const bool atMouth =
            std::any_of(g.mouths.begin(), g.mouths.end(), [&](const RiverMouth& m) {
                return m.river == river && length(m.at - p) <= kMouthReach;
            });
        if (!atMouth) {
            fault("its name promises the " + river.toStdString() + "'s mouth");
        }
    }
    if (place.kind == PlaceKind::Settlement || place.kind == PlaceKind::Town) {
        const bool minesNearby =
            std::any_of(places.begin(), places.end(), [&](const ProvincePlace& m) {
                return m.kind == PlaceKind::Mine &&
                       m.name.find(place.name + " ") != std::string::npos;
            });
        if (minesNearby && g.at(g.toHeights, p) > 100.0f) {
            fault("a mine is named after it, but no hills are near");
        }
    }
    if (place.kind == PlaceKind::Mine) {
        const std::string village = namesake(place.name, places);
        for (const ProvincePlace& v : places) {
            if (!village.empty() && v.name == village &&
                length(QPointF(v.at.x, v.at.y) - p) > 200.0) {
                fault("far from " + village);
            }
        }
    }
    return faults;
}

}  // namespace marventa
