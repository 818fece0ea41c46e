#include "siting.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kApart = 34.0;      // any two places
constexpr double kTownRoom = 72.0;   // nothing else this close to a town
constexpr double kTownsApart = 150;  // between towns
constexpr double kCavesApart = 48.0;
constexpr double kCaveNear = 250.0;  // how far a cave over its range's share may go
constexpr double kInnNear = 200.0;
constexpr double kEdge = 48.0;  // room for a road to reach a place by the sheet's edge

// Where the landmarks stand, by what each is: the barrow in the open country north of the
// capital's road, the gorge where a brook cuts down the Ironbacks, the shards on Hathmoor's moor,
// the crag in the Hollowspine, the tor on the Wether Fells. The salt pans, the rock, the span and
// the belfry follow their names (sea, river, water).
struct Anchor {
    const char* name;
    QPointF at;
    double within;
};
const Anchor kAnchors[] = {
    {"Barrow of the First Crown", {1630, 1040}, 220},
    {"Greywhite Salt Pans", {2450, 2290}, 300},
    {"Lantern Rock", {960, 2250}, 400},
    {"The Broken Span", {2100, 1700}, 300},
    {"The Hollering Gorge", {2850, 1000}, 420},
    {"The Nine Shards", {2000, 420}, 220},
    {"The Split Crag", {1150, 300}, 220},
    {"The Sunken Belfry", {975, 1290}, 260},
    {"The Thimble Tor", {660, 960}, 220},
    // Two shore towns renamed for a coast that showed no bay or island keep their old sites, at
    // the Cinderbrook's mouth and on the west shore; their new names ask only for the shore.
    {"Marramhythe", {1424, 2376}, 24},
    {"Rathstrand", {328, 1824}, 24},
};

bool isTown(PlaceKind k) {
    return k == PlaceKind::Town || k == PlaceKind::City;
}

struct Candidate {
    QPointF at;
    double score;
};

class Siter {
  public:
    // `pending` are the places still to be sited: a place sited anew keeps off their points,
    // or one spoiled point would push each of them off theirs in turn.
    Siter(const Ground& g, std::vector<ProvincePlace>& placed,
          const std::vector<ProvincePlace>& catalogue, const std::vector<ProvincePlace>& pending)
        : g_(g),
          placed_(placed),
          taken_(g.w, g.h, 0),
          nearTown_(g.w, g.h, 0),
          townZone_(g.w, g.h, 0),
          held_(g.w, g.h, 0) {
        for (const ProvincePlace& p : placed) {
            mark(p);
        }
        for (const ProvincePlace& p : pending) {
            hold(p, 1);
        }
        for (const ProvincePlace& p : catalogue) {
            if (p.kind == PlaceKind::Mine) {
                mines_.push_back(p);
            }
        }
    }

    // Best spot for `place` among `spots`; when none keeps every rule, the best that keeps the
    // spacing (and a warning says so).
    // `within`, when set, keeps the place that far of the point it had.
    bool site(ProvincePlace& place, const std::vector<QPointF>& spots, bool allowLoose = true,
              bool shares = true, double within = 0.0) {
        shares_ = shares;
        const QPointF had(place.at.x, place.at.y);
        const bool sited = place.at.x != 0 || place.at.y != 0;
        const Anchor* anchor = nullptr;
        for (const Anchor& a : kAnchors) {
            if (place.name == a.name) {
                anchor = &a;
            }
        }
        QPointF village;
        bool hasVillage = false;
        if (place.kind == PlaceKind::Mine) {
            const std::string v = namesake(place.name, placed_);
            for (const ProvincePlace& p : placed_) {
                if (!v.empty() && p.name == v) {
                    village = QPointF(p.at.x, p.at.y);
                    hasVillage = true;
                }
            }
        }
        const auto allowed = [&](QPointF at) {
            return roomFor(place.kind, at) &&
                   !(anchor && length(at - anchor->at) > anchor->within) &&
                   !(hasVillage && (length(at - village) > 180.0 || length(at - village) < 60.0));
        };
        // The places sited so far, and the mines still to come, whose names bind their villages.
        std::vector<ProvincePlace> context = placed_;
        context.insert(context.end(), mines_.begin(), mines_.end());
        // A place keeps the point it already has while that point is still one of the spots and
        // keeps every rule: a change to the land elsewhere must not hand its name to another
        // point (and the others' names round the map with it).
        for (const QPointF& at : spots) {
            if (static_cast<int>(at.x()) == place.at.x && static_cast<int>(at.y()) == place.at.y) {
                if (allowed(at) && siteFaults(place, g_, context).empty()) {
                    hold(place, -1);
                    placed_.push_back(place);
                    mark(place);
                    return true;
                }
                break;
            }
        }
        hold(place, -1);
        std::vector<Candidate> open;
        for (const QPointF& at : spots) {
            if (allowed(at) && !(sited && within > 0.0 && length(at - had) > within)) {
                // Another place's point only when nothing else will do.
                const double held =
                    held_.cells()[static_cast<std::size_t>(cellAt(at))] > 0 ? kHeldCost : 0.0;
                open.push_back({at, score(place, at) - held});
            }
        }
        std::stable_sort(open.begin(), open.end(),
                         [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
        double best = -std::numeric_limits<double>::max();
        const double bestLoose = open.empty() ? best : open.front().score;
        QPointF pick;
        const QPointF loose = open.empty() ? QPointF() : open.front().at;
        // A spoiled point gives way to a spot near it before one across the map, so the name
        // stays with its country.
        for (const double reach : {sited ? kNear : 0.0, sited ? 3.0 * kNear : 0.0, 0.0}) {
            for (const Candidate& c : open) {
                if (reach > 0.0 && length(c.at - had) > reach) {
                    continue;
                }
                ProvincePlace trial = place;
                trial.at = {static_cast<int>(c.at.x()), static_cast<int>(c.at.y())};
                if (siteFaults(trial, g_, context).empty()) {
                    best = c.score;
                    pick = c.at;
                    break;
                }
            }
            if (best > -std::numeric_limits<double>::max()) {
                break;
            }
        }
        const bool kept = best > -std::numeric_limits<double>::max();
        if (!kept && (!allowLoose || bestLoose == -std::numeric_limits<double>::max())) {
            return false;
        }
        const QPointF at = kept ? pick : loose;
        place.at = {static_cast<int>(at.x()), static_cast<int>(at.y())};
        placed_.push_back(place);
        mark(place);
        return kept;
    }

  private:
    static constexpr double kHeldCost = 100.0;
    static constexpr double kNear = 200.0;

    // Counts `p`'s point in, or out, of the points still waiting for their places.
    void hold(const ProvincePlace& p, int by) {
        if (p.kind == PlaceKind::City || (p.at.x == 0 && p.at.y == 0) ||
            (by < 0 && !released_.insert(p.name).second)) {
            return;
        }
        around(held_, QPointF(p.at.x, p.at.y) / kSiteCell, kApart / kSiteCell,
               [&](int x, int y, float) { held_(x, y) += by; });
    }

    int cellAt(QPointF at) const {
        return std::clamp(static_cast<int>(std::lround(at.y() / kSiteCell)), 0, g_.h - 1) * g_.w +
               std::clamp(static_cast<int>(std::lround(at.x() / kSiteCell)), 0, g_.w - 1);
    }

    // Stamps a new place's room on the lattices: its own, a town's wider one, and how far each
    // cell lies from the nearest place of its kind.
    void mark(const ProvincePlace& p) {
        const QPointF at(p.at.x, p.at.y);
        const auto c = static_cast<std::size_t>(cellAt(at));
        if (const int wood = g_.woodId.cells()[c]; wood >= 0) {
            ++inWood_[{p.kind, wood}];
        }
        if (const int range = g_.rangeId.cells()[c]; range >= 0) {
            ++inRange_[{p.kind, range}];
        }
        Grid<float>& spread = spread_.try_emplace(p.kind, g_.w, g_.h, 400.0f).first->second;
        around(spread, at / kSiteCell, 400.0 / kSiteCell, [&](int x, int y, float d) {
            spread(x, y) = std::min(spread(x, y), d * kSiteCell);
            const double px = d * kSiteCell;
            if (px < kApart) {
                taken_(x, y) = 1;
            }
            if (isTown(p.kind) && px < kTownRoom) {
                nearTown_(x, y) = 1;
            }
            // The towns keep their distance from one another and from the cities.
            if (isTown(p.kind) && px < kTownsApart) {
                townZone_(x, y) = 1;
            }
        });
    }

    bool roomFor(PlaceKind kind, QPointF at) const {
        if (at.x() < kEdge || at.y() < kEdge || at.x() > kProvinceWidthF - kEdge ||
            at.y() > kProvinceHeightF - kEdge) {
            return false;
        }
        // Out at sea in the south-west: the title, the compass rose and the key.
        for (const QRectF& r : provinceLayout().openSea) {
            if (r.contains(at)) {
                return false;
            }
        }
        const auto c = static_cast<std::size_t>(cellAt(at));
        if (kind == PlaceKind::Cave) {
            // Cave mouths a little apart, or the steep faces gather them in crowds.
            const auto it = spread_.find(kind);
            if (it != spread_.end() && it->second.cells()[c] < kCavesApart) {
                return false;
            }
        }
        return !taken_.cells()[c] && !nearTown_.cells()[c] &&
               !(isTown(kind) && townZone_.cells()[c]) && !(shares_ && full(kind, c));
    }

    // Whether the wood or the range at a cell already holds its share of `kind`.
    bool full(PlaceKind kind, std::size_t c) const {
        if (isTown(kind)) {
            return false;
        }
        const int wood = g_.woodId.cells()[c];
        const int range = g_.rangeId.cells()[c];
        const auto count = [&](const std::map<std::pair<PlaceKind, int>, int>& m, int id) {
            const auto it = m.find({kind, id});
            return it == m.end() ? 0 : it->second;
        };
        return (wood >= 0 && count(inWood_, wood) >= kPerWood) ||
               (range >= 0 &&
                count(inRange_, range) >=
                    perRange(kind, provinceLayout().ridges[static_cast<std::size_t>(range)]));
    }

    double spread(const ProvincePlace& place, QPointF at) const {
        const auto it = spread_.find(place.kind);
        return it == spread_.end()
                   ? 1.0
                   : it->second.cells()[static_cast<std::size_t>(cellAt(at))] / 400.0;
    }

    double score(const ProvincePlace& place, QPointF at) const {
        const double h = g_.at(g_.height, at);
        const double slope = g_.at(g_.slope, at) * 100.0;  // about 0 .. 1
        const double water = g_.toWater(at);
        const double woods = g_.at(g_.woods, at);
        const double jitter =
            0.25 *
            (noise_.at(static_cast<float>(at.x() / 37.0), static_cast<float>(at.y() / 37.0)) + 1.0);
        double s = jitter + 1.2 * spread(place, at);
        // Forts, caves and mines seek the heights but not the summits: those carry the drawn
        // peaks, which a crowd of symbols would crowd out.
        const double upland = h <= kSummits ? h : kSummits - 2.0 * (h - kSummits);
        switch (place.kind) {
            case PlaceKind::Town:
            case PlaceKind::Settlement:
                // By water, but not on a brook's bank, where its name would have to cover it.
                s += -2.0 * slope - 2.0 * h + (water < 60 && water > 16 ? 0.3 : 0.0) - 0.3 * woods;
                break;
            case PlaceKind::FortRuin:
                s += 0.6 * upland + 0.8 * std::min(slope, 1.0);
                break;
            case PlaceKind::Cave:
                s += 1.0 * std::min(slope, 1.5) + 0.3 * upland;
                break;
            case PlaceKind::Mine:
                s += 0.8 * upland;
                break;
            case PlaceKind::Camp:
                s += (water < 40 ? 0.4 : 0.0) + (woods > 0.3 && woods < 0.6 ? 0.4 : 0.0);
                break;
            case PlaceKind::HeavenlyStone:
                s += 3.0 * h;
                break;
            case PlaceKind::SignStone:
                s += -1.5 * h - woods - slope;
                break;
            case PlaceKind::ElvenRuin:
                s += 0.8 * std::max(woods, static_cast<double>(g_.at(g_.oldWood, at)));
                break;
            case PlaceKind::Shrine:
                s += 0.5 * std::max({h, woods, static_cast<double>(g_.at(g_.marsh, at))});
                break;
            default:
                break;
        }
        return s;
    }

    static constexpr double kSummits = 0.6;
    static constexpr double kProvinceWidthF = 3248;
    static constexpr double kProvinceHeightF = 2633;
    const Ground& g_;
    std::vector<ProvincePlace>& placed_;
    Grid<unsigned char> taken_;
    Grid<unsigned char> nearTown_;
    Grid<unsigned char> townZone_;
    Grid<int> held_;
    bool shares_ = true;
    std::set<std::string> released_;
    std::map<PlaceKind, Grid<float>> spread_;
    std::map<std::pair<PlaceKind, int>, int> inWood_;
    std::map<std::pair<PlaceKind, int>, int> inRange_;
    std::vector<ProvincePlace> mines_;
    Noise noise_{0x517E'0001};
};

std::vector<QPointF> lattice(const Ground& g) {
    std::vector<QPointF> spots;
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            if (g.mainland(i, j)) {
                spots.emplace_back(i * kSiteCell, j * kSiteCell);
            }
        }
    }
    return spots;
}

// Whether a name promises the water or a height: such places choose among fewer spots, so
// first. (A crag, wood or valley word narrows them less; ranking those earlier too would reshuffle
// every place after them.)
bool promises(const ProvincePlace& p) {
    return promiseOf(p.name, p.kind) != Promise::None;
}

double rank(const ProvincePlace& p) {
    // Towns first, those named for a river's mouth or a lake's outflow before those by other
    // water, then the rest; then the villages the mines are named after; then what needs the
    // rarest ground.
    if (p.kind != PlaceKind::City &&
        (!mouthOf(p.name, p.kind).isEmpty() || namesOutflow(p.name, p.kind))) {
        return 0.5;
    }
    switch (p.kind) {
        case PlaceKind::City:
            return 0;
        case PlaceKind::Town:
            return promises(p) ? 1 : 2;
        case PlaceKind::Settlement:
            return promises(p) ? 3 : 4;
        case PlaceKind::Landmark:
            return 5;
        case PlaceKind::HeavenlyStone:
            return 6;
        case PlaceKind::Mine:
            return 7;
        case PlaceKind::FortRuin:
            return 8;
        case PlaceKind::Cave:
            return promises(p) ? 9 : 10;
        case PlaceKind::ElvenRuin:
            return 11;
        case PlaceKind::Camp:
            return promises(p) ? 12 : 13;
        case PlaceKind::Shrine:
            return 14;
        case PlaceKind::SignStone:
            return 15;
        case PlaceKind::Inn:
            return 16;
    }
    return 16;
}

}  // namespace

std::vector<ProvincePlace> sitePlaces(const std::vector<ProvincePlace>& catalogue,
                                      const Ground& ground) {
    std::vector<std::size_t> order(catalogue.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // A cave or mine named after its village must stand by it, so it goes before the others of
    // its kind fill that range's share.
    std::vector<double> ranks;
    for (const ProvincePlace& p : catalogue) {
        const bool bound = (p.kind == PlaceKind::Cave || p.kind == PlaceKind::Mine) &&
                           !namesake(p.name, catalogue).empty();
        // A cave named after its range goes before that range's share of caves is taken.
        const bool ranged =
            p.kind == PlaceKind::Cave &&
            std::any_of(ground.features.begin(), ground.features.end(), [&](const NamedFeature& f) {
                return p.name != f.name.toStdString() && p.name.starts_with(f.stem);
            });
        ranks.push_back(rank(p) - (bound || ranged ? 0.5 : 0.0));
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
    // The cities are held at their overview markers, and every other place keeps its room round
    // them.
    std::vector<ProvincePlace> placed;
    std::copy_if(catalogue.begin(), catalogue.end(), std::back_inserter(placed),
                 [](const ProvincePlace& p) { return p.kind == PlaceKind::City; });
    std::vector<ProvincePlace> out = catalogue;
    std::vector<ProvincePlace> pending;
    std::copy_if(catalogue.begin(), catalogue.end(), std::back_inserter(pending),
                 [](const ProvincePlace& p) { return p.kind != PlaceKind::City; });
    Siter siter(ground, placed, catalogue, pending);
    const std::vector<QPointF> spots = lattice(ground);
    for (std::size_t i : order) {
        ProvincePlace& p = out[i];
        if (p.kind == PlaceKind::City || p.kind == PlaceKind::Inn) {
            continue;
        }
        // A cave keeps to its own heights: over its range's share it takes a steep face near its
        // point, a little farther if none is free, before going anywhere else.
        if (p.kind == PlaceKind::Cave && (p.at.x != 0 || p.at.y != 0) &&
            (siter.site(p, spots, false, true, kCaveNear) ||
             siter.site(p, spots, false, true, 2.0 * kCaveNear) ||
             siter.site(p, spots, false, true, 3.0 * kCaveNear))) {
            continue;
        }
        if (!siter.site(p, spots, p.kind != PlaceKind::Cave) && p.kind == PlaceKind::Cave) {
            siter.site(p, spots, true, false);
        }
    }
    return out;
}

void siteInns(std::vector<ProvincePlace>& places, const std::vector<RoadLine>& roads,
              const Ground& ground) {
    // Spots beside the highways and lanes; where an inn's name asks for what none of them
    // passes (the sea shore, say), beside a track.
    std::vector<QPointF> spots;
    std::vector<QPointF> byTracks;
    for (const RoadLine& r : roads) {
        const std::vector<QPointF> pts = resample(r.points, 12.0);
        for (std::size_t i = 2; i + 2 < pts.size(); ++i) {
            const QPointF along = pts[i + 2] - pts[i - 2];
            const QPointF across = QPointF(-along.y(), along.x()) / std::max(1e-9, length(along));
            for (double side : {-24.0, 24.0}) {
                (r.kind == RoadClass::Track ? byTracks : spots).push_back(pts[i] + across * side);
            }
        }
    }
    std::vector<ProvincePlace> placed;
    for (const ProvincePlace& p : places) {
        if (p.kind != PlaceKind::Inn) {
            placed.push_back(p);
        }
    }
    std::vector<ProvincePlace> pending;
    std::copy_if(places.begin(), places.end(), std::back_inserter(pending),
                 [](const ProvincePlace& p) { return p.kind == PlaceKind::Inn; });
    Siter siter(ground, placed, {}, pending);
    std::vector<std::size_t> inns;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].kind == PlaceKind::Inn) {
            inns.push_back(i);
        }
    }
    // Inns with a promise first: they have the fewest spots to choose from.
    std::stable_sort(inns.begin(), inns.end(), [&](std::size_t a, std::size_t b) {
        return promiseOf(places[a].name, PlaceKind::Inn) != Promise::None &&
               promiseOf(places[b].name, PlaceKind::Inn) == Promise::None;
    });
    const std::vector<QPointF> anywhere = lattice(ground);
    // Near the inn's old point by any road first, then by the highways and lanes anywhere.
    for (std::size_t i : inns) {
        if (!siter.site(places[i], spots, false, true, kInnNear) &&
            !siter.site(places[i], byTracks, false, true, kInnNear) &&
            !siter.site(places[i], spots, false) && !siter.site(places[i], byTracks, false)) {
            siter.site(places[i], anywhere);
        }
    }
}

}  // namespace marventa
