#include "town.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <stdexcept>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa::plan {

namespace {

enum class Role {
    Gate,
    Tower,
    Stronghold,
    Church,
    Arena,
    Court,
    Garden,
    MarketHall,
    Yard,  // shipyards and docks, first to the water's edge
    Water,
    GateSide,
    Street,
    Any
};

bool has(const QString& name, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* w) { return name.contains(QLatin1String(w)); });
}

Role roleOf(const QString& name, std::size_t doors) {
    if (has(name, {" Gate"})) {
        return Role::Gate;
    }
    if (has(name, {"Lighthouse", "Tower"})) {
        return Role::Tower;
    }
    if (has(name, {"Keep", "Castle", "Citadel", "Royal Palace"})) {
        return Role::Stronghold;
    }
    if (has(name, {"Temple", "Chapel", "Cloister", "Shrine"})) {
        return Role::Church;
    }
    if (has(name, {"Arena"})) {
        return Role::Arena;
    }
    if (has(name, {"Gardens"})) {
        return Role::Garden;
    }
    if (has(name, {"Market Hall", "Wool Hall", "Moot Hall", "Town Hall", "Fishmarket Hall",
                   "Lamp Market", "Ore Market", "Weighhouse"})) {
        return Role::MarketHall;
    }
    if (doors >= 3 || has(name, {"Barracks", "Prison", "Jail", "Armoury", "Treasury"})) {
        return Role::Court;
    }
    if (has(name, {"Shipyard", "Shipwright", "Dock", "Boat"})) {
        return Role::Yard;
    }
    if (has(name, {"Dock",    "Shipyard",    "Boat",      "Ferry",      "Pier", "Harbour",
                   "Customs", "Fish",        "Warehouse", "Salt Works", "Rope", "Smokehouse",
                   "Mill",    "Sail",        "Netmender", "Chandler",   "Eel",  "Shipwright",
                   "Salters", "Reedweavers", "Exchange"})) {
        return Role::Water;
    }
    if (has(name, {"Smith", "Armourer", "Stables", "Drovers", "Horse", "Tanner", "Bowyer",
                   "Saddler", "Cooper", "Smelting", "Peat", "Granary", "Dyers"})) {
        return Role::GateSide;
    }
    if (name.startsWith(QLatin1String("House of"))) {
        return Role::Any;
    }
    return Role::Street;
}

Area circle(QPointF c, double r, int n = 28) {
    std::vector<QPointF> ring;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        ring.push_back(c + QPointF(std::cos(a), std::sin(a)) * r);
    }
    return toArea(ring);
}

Area ellipse(QPointF c, QPointF u, double ru, double rv, int n = 48) {
    const QPointF v(-u.y(), u.x());
    std::vector<QPointF> ring;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        ring.push_back(c + u * (ru * std::cos(a)) + v * (rv * std::sin(a)));
    }
    return toArea(ring);
}

// A box in the frame (u, v) about `c`: half-lengths hu along u, hv along v.
Area box(QPointF c, QPointF u, double hu, double hv) {
    const QPointF v(-u.y(), u.x());
    return toArea({c - u * hu - v * hv, c + u * hu - v * hv, c + u * hu + v * hv,
                   c - u * hu + v * hv, c - u * hu - v * hv});
}

// A block's frame: its longest edge's direction, its middle and half-extents along and across.
struct Frame {
    QPointF c;
    QPointF u;
    double hu;
    double hv;
};

Frame frameOf(const Poly& p) {
    const auto& r = p.outer();
    QPointF u(1, 0);
    double longest = 0;
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        const QPointF d(r[i + 1].x() - r[i].x(), r[i + 1].y() - r[i].y());
        if (length(d) > longest) {
            longest = length(d);
            u = d / length(d);
        }
    }
    const QPointF v(-u.y(), u.x());
    double u0 = 1e9, u1 = -1e9, v0 = 1e9, v1 = -1e9;
    for (const Pt& q : r) {
        const QPointF x(q.x(), q.y());
        u0 = std::min(u0, QPointF::dotProduct(x, u));
        u1 = std::max(u1, QPointF::dotProduct(x, u));
        v0 = std::min(v0, QPointF::dotProduct(x, v));
        v1 = std::max(v1, QPointF::dotProduct(x, v));
    }
    if (u1 - u0 < v1 - v0) {
        std::swap(u0, v0);
        std::swap(u1, v1);
        // Along the old v, which becomes u; across is the old u, which becomes -v.
        const QPointF oldU = u;
        u = v;
        const double a = -v1, b = -v0;
        v0 = a;
        v1 = b;
        return {oldU * (-(v0 + v1) / 2) + u * (u0 + u1) / 2, u, (u1 - u0) / 2, (v1 - v0) / 2};
    }
    return {u * (u0 + u1) / 2 + v * (v0 + v1) / 2, u, (u1 - u0) / 2, (v1 - v0) / 2};
}

// Where the ray from `c` along `dir` last leaves the body's outline; `c` itself when it never
// crosses it.
QPointF exitPoint(const Area& body, QPointF c, QPointF dir) {
    double last = -1;
    for (const QPolygonF& ring : outers(body)) {
        last = std::max(last, lastRayCrossing(ring, c, dir));
    }
    return last > 0 ? c + dir * last : c;
}

// A great building's ranges round its court, laid out by what it is, in the frame (u, v) about
// `c` with half-extents a along u and b across; `front` is the side of v toward the street it
// faces. Returns the footprint; the roofed ranges go to `wings`, towers and domes to `rounds`.
Area compound(const QString& name, QPointF c, QPointF u, double a, double b, double front,
              std::vector<Wing>& wings, Area& rounds) {
    const QPointF v = QPointF(-u.y(), u.x()) * front;
    const double wf = std::min(22.0, b * 0.5);  // the front range, deeper than the others
    const double w = std::min(16.0, b * 0.4);
    const auto range = [&](QPointF at, QPointF along, double hu, double hv) {
        wings.push_back({at, along, hu, hv});
    };
    const auto frontRange = [&] { range(c + v * (b - wf / 2), u, a, wf / 2); };
    const auto backRange = [&] { range(c - v * (b - w / 2), u, a, w / 2); };
    const auto sideWings = [&](double from, std::initializer_list<int> sides) {
        // From the front range back to `from` (a distance along -v from the front).
        const double len = (from - wf) / 2;
        for (int side : sides) {
            // A pixel into the ranges they join, so the court is closed.
            range(c + u * (side * (a - w / 2)) + v * (b - wf - len), v, len + 1, w / 2);
        }
    };
    Area extra;
    if (name.contains(QLatin1String("Barracks"))) {
        // Long ranges round a drill yard, open at one end.
        frontRange();
        backRange();
        sideWings(2 * b - w, {1});
    } else if (name.contains(QLatin1String("Library"))) {
        // Wings back from the front, a domed reading room at their middle.
        frontRange();
        sideWings(2 * b * 0.85, {-1, 1});
        extra = circle(c + v * (b - wf * 0.3), wf * 0.8, 24);
    } else {
        frontRange();
        backRange();
        sideWings(2 * b - w, {-1, 1});
        if (name.contains(QLatin1String("Armoury"))) {
            for (int i : {-1, 1}) {
                for (int j : {-1, 1}) {
                    extra = unite(extra, circle(c + u * (i * (a - 3)) + v * (j * (b - 3)), 9, 20));
                }
            }
        } else if (name.contains(QLatin1String("Prison"))) {
            extra = circle(c - v * (wf - w) / 2, std::min(a, b) * 0.3, 24);
        } else if (name.contains(QLatin1String("Treasury"))) {
            range(c - v * (wf - w) / 2, u, a * 0.3, (b - wf) * 0.45);
        }
    }
    rounds = extra;
    Area body = extra;
    for (const Wing& g : wings) {
        body = unite(body, box(g.c, g.u, g.hu, g.hv));
    }
    return body;
}

QPointF unit(QPointF v) {
    const double l = length(v);
    return l > 0 ? v / l : QPointF(1, 0);
}

class Builder {
  public:
    Builder(const CityLayout& site, QSize size) : rng_(mix64(site.seed ^ 0xB17D)) {
        town_.plan = planTown(site, size);
        lots_ = packBlocks(town_.plan, mix64(site.seed ^ 0x107));
        std::vector<Lot> road = lineRoads(town_.plan, mix64(site.seed ^ 0x2AD));
        lots_.insert(lots_.end(), road.begin(), road.end());
        const TownPlan& plan = town_.plan;
        town_.market = intersect(
            grow(plan.cells[static_cast<std::size_t>(plan.market)].shape, -kLane / 2), plan.town);
        town_.market = subtract(town_.market, plan.quay);
    }

    Town build(const std::vector<CityBuilding>& table) {
        std::vector<std::pair<Role, const CityBuilding*>> todo;
        for (const CityBuilding& b : table) {
            todo.push_back({roleOf(QString::fromStdString(b.name), b.entrances.size()), &b});
        }
        std::stable_sort(todo.begin(), todo.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        town_.named.resize(table.size());
        // The market hall stands in the square.
        for (const auto& [role, b] : todo) {
            Building out;
            out.name = QString::fromStdString(b->name);
            out.number = b->number;
            place(role, b->entrances.size(), out);
            // Only those who build hulls launch them; docks and boathouses keep to the quay.
            if (role == Role::Yard && !town_.plan.water.empty() &&
                has(out.name, {"Shipyard", "Shipwright", "Boatwright"})) {
                addSlipways(out);
            }
            taken_.push_back(centreOf(out.body));
            town_.named[static_cast<std::size_t>(b->number - 1)] = std::move(out);
        }
        for (Lot& l : lots_) {
            if (!l.body.empty()) {
                town_.houses.push_back(std::move(l));
            }
        }
        Area named;
        for (const Building& b : town_.named) {
            named = unite(named, b.body);
        }
        for (Lot& l :
             yardBuildings(town_.plan, town_.houses, named, mix64(town_.plan.site->seed ^ 0x3A8))) {
            town_.houses.push_back(std::move(l));
        }
        return std::move(town_);
    }

  private:
    static QPointF centreOf(const Area& a) {
        return a.empty() ? QPointF() : centroidOf(largest(a));
    }

    double crowding(QPointF p) const {
        double penalty = 0;
        for (const QPointF& t : taken_) {
            const double d = length(t - p);
            if (d < 110) {
                penalty += (110 - d) * 12;
            }
        }
        return penalty;
    }

    void place(Role role, std::size_t doors, Building& out) {
        switch (role) {
            case Role::Gate:
                return placeGate(out);
            case Role::Tower:
                return placeTower(out);
            case Role::Stronghold:
            case Role::Church:
            case Role::Arena:
            case Role::Court:
            case Role::Garden:
                return placeLandmark(role, doors, out);
            case Role::MarketHall:
                return placeMarketHall(doors, out);
            default:
                return placeOnLots(role, doors, out);
        }
    }

    void placeGate(Building& out) {
        const auto& gates = town_.plan.gates;
        const auto g = std::find_if(gates.begin(), gates.end(),
                                    [&](const Gate& x) { return x.name == out.name; });
        if (g == gates.end()) {
            throw std::runtime_error("no gate site for " + out.name.toStdString());
        }
        out.shape = Shape::Gatehouse;
        out.body = box(g->at, g->inward, 14, 12);
        out.doors.push_back({g->at + g->inward * 14, g->inward});
    }

    void placeTower(Building& out) {
        const TownPlan& plan = town_.plan;
        out.shape = Shape::Tower;
        QPointF c;
        QPointF door;
        double r = 11;
        if (out.name.contains(QLatin1String("Lighthouse"))) {
            c = plan.site->lighthouse;
            r = 13;
            door = unit(plan.site->centre - c);
            // Onto the path that ends at it, if one does.
            for (const auto& road : plan.roads) {
                if (road.size() > 1 && length(road.back() - c) < 1) {
                    door = unit(road.front() - c);
                }
            }
        } else if (out.name.contains(QLatin1String("Bridge")) && !plan.bridges.empty()) {
            const Bridge& b = plan.bridges.front();
            const QPointF along = unit(b.to - b.from);
            const QPointF side(-along.y(), along.x());
            c = b.to + along * 24 + side * (kRoad / 2 + r + 3);
            door = -side;
        } else {
            // On the wall: the beacon nearest the high ground, a watch tower far from the gates.
            const bool beacon = out.name.contains(QLatin1String("Beacon"));
            double best = -1e18;
            for (const QPointF& t : plan.towers) {
                if (distanceTo(plan.water, t) < 12) {
                    continue;  // a wall's last tower on the bank is too small to be named
                }
                double score = 0;
                if (beacon) {
                    score = -length(t - plan.site->stronghold);
                } else {
                    score = 1e9;
                    for (const Gate& g : plan.gates) {
                        score = std::min(score, length(g.at - t));
                    }
                    score -= crowding(t);
                }
                if (score > best) {
                    best = score;
                    c = t;
                }
            }
            // The door opens square off the wall, into the lane behind it.
            door = unit(plan.site->centre - c);
            for (const auto& run : plan.wall) {
                const Nearest n = nearestOnPolyline(c, run);
                if (n.distance < 1 && n.segment + 1 < run.size()) {
                    const QPointF d = unit(run[n.segment + 1] - run[n.segment]);
                    const QPointF normal(-d.y(), d.x());
                    door = QPointF::dotProduct(normal, door) >= 0 ? normal : -normal;
                }
            }
            r = 10;
        }
        out.body = circle(c, r);
        out.doors.push_back({c + door * r, door});
    }

    // The first hall of trade stands in the market square; any other goes where halls go.
    void placeMarketHall(std::size_t doors, Building& out) {
        if (marketUsed_ || town_.market.empty()) {
            return doors >= 3 ? placeLandmark(Role::Court, doors, out)
                              : placeOnLots(Role::Street, doors, out);
        }
        marketUsed_ = true;
        Area square;
        square.push_back(largest(town_.market));
        const Frame f = frameOf(square.front());
        out.shape = Shape::Court;
        out.body =
            intersect(box(f.c, f.u, std::min(f.hu * 0.42, 60.0), std::min(f.hv * 0.36, 28.0)),
                      grow(square, -14));
        std::erase_if(out.body, [](const Poly& p) { return areaOf(p) < 30; });
        doorsAround(out, centreOf(out.body), f.u, doors);
    }

    static void doorsAround(Building& out, QPointF centre, QPointF first, std::size_t doors) {
        const double a0 = std::atan2(first.y(), first.x());
        for (std::size_t k = 0; k < doors; ++k) {
            const double a =
                a0 + 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(doors);
            const QPointF dir(std::cos(a), std::sin(a));
            out.doors.push_back({exitPoint(out.body, centre, dir), dir});
        }
    }

    void placeLandmark(Role role, std::size_t doors, Building& out) {
        TownPlan& plan = town_.plan;
        int cell = -1;
        if (role == Role::Stronghold && plan.stronghold >= 0 && !strongholdUsed_) {
            cell = plan.stronghold;
            strongholdUsed_ = true;
        } else {
            const double need = role == Role::Arena ? 16000 : role == Role::Church ? 7000 : 6000;
            const QPointF market = plan.cells[static_cast<std::size_t>(plan.market)].seed;
            double best = 1e18;
            for (std::size_t i = 0; i < plan.cells.size(); ++i) {
                const Cell& c = plan.cells[i];
                if (c.ward != Ward::Houses || plan.blocks[i].empty()) {
                    continue;
                }
                const double area = areaOf(largest(plan.blocks[i]));
                if (area < need) {
                    continue;
                }
                const double d = length(c.seed - market);
                double score = crowding(c.seed) - area * 0.01;
                score += role == Role::Church ? d * 0.8 : role == Role::Arena ? -d * 0.3 : d * 0.2;
                if (score < best) {
                    best = score;
                    cell = static_cast<int>(i);
                }
            }
        }
        if (cell < 0) {
            return placeOnLots(Role::Street, doors, out);
        }
        Cell& c = plan.cells[static_cast<std::size_t>(cell)];
        c.ward = Ward::Court;
        // A great building or the arena keeps the houses of its ward that stand clear of it; any
        // other landmark has its block to itself.
        const bool ward = role == Role::Court || role == Role::Arena;
        if (!ward) {
            std::erase_if(lots_, [&](const Lot& l) { return l.cell == cell; });
        }
        Area block = plan.blocks[static_cast<std::size_t>(cell)];
        if (block.empty()) {
            block = intersect(grow(c.shape, -kLane / 2), plan.town);
        }
        Area piece;
        piece.push_back(largest(block));
        const Frame f = frameOf(piece.front());
        const double hu = std::max(20.0, f.hu - 14);
        const double hv = std::max(16.0, f.hv - 14);
        Area shape;
        switch (role) {
            case Role::Stronghold: {
                const double s = std::min({hu, hv, 70.0});
                out.shape = Shape::Keep;
                shape = box(f.c, f.u, s * 0.8, s * 0.8);
                const QPointF v(-f.u.y(), f.u.x());
                for (int i : {-1, 1}) {
                    for (int j : {-1, 1}) {
                        shape = unite(
                            shape, circle(f.c + f.u * (i * s * 0.8) + v * (j * s * 0.8), s * 0.22));
                    }
                }
                if (out.name.contains(QLatin1String("Palace"))) {
                    out.shape = Shape::Palace;
                    shape = subtract(box(f.c, f.u, hu * 0.85, hv * 0.85),
                                     box(f.c, f.u, hu * 0.45, hv * 0.4));
                }
                break;
            }
            case Role::Church: {
                out.shape = Shape::Church;
                const double len = std::min(hu * 0.85, 90.0);
                const double w = std::min(hv * 0.45, 24.0);
                shape = box(f.c - f.u * (w * 0.5), f.u, len - w * 0.5, w);
                shape = unite(shape, circle(f.c + f.u * (len - w), w, 24));
                shape = unite(shape, box(f.c + f.u * (len * 0.35), f.u, w * 0.7,
                                         std::min(hv * 0.8, w * 2.0)));
                break;
            }
            case Role::Arena:
                out.shape = Shape::Arena;
                shape = subtract(ellipse(f.c, f.u, hu * 0.95, hv * 0.95),
                                 ellipse(f.c, f.u, hu * 0.95 - 22, hv * 0.95 - 22));
                break;
            case Role::Garden:
                out.shape = Shape::Garden;
                shape = grow(piece, -3);
                break;
            default: {
                // Set against the side toward the market, its ward's houses and a garden behind.
                out.shape = Shape::Court;
                const QPointF v(-f.u.y(), f.u.x());
                const QPointF market = plan.cells[static_cast<std::size_t>(plan.market)].seed;
                const double front = QPointF::dotProduct(market - f.c, v) >= 0 ? 1 : -1;
                const double a = std::min(hu * 0.8, 72.0);
                const double b = std::min(hv * 0.7, 46.0);
                shape = compound(out.name, f.c + v * (front * (hv - b)), f.u, a, b, front,
                                 out.wings, out.rounds);
                break;
            }
        }
        out.body = intersect(shape, grow(piece, role == Role::Garden ? -2 : -9));
        std::erase_if(out.body, [](const Poly& p) { return areaOf(p) < 30; });
        const QPointF centre =
            role == Role::Arena || role == Role::Garden ? f.c : centreOf(out.body);
        const QPointF market = plan.cells[static_cast<std::size_t>(plan.market)].seed;
        if (!ward) {
            town_.grounds.push_back({subtract(piece, out.body), out.shape});
            doorsAround(out, centre, market - centre, doors);
            return;
        }
        // Its doors round it, the first facing the market, each with a lane out to the street.
        doorsAround(out, centre, market - centre, doors);
        Area clear = grow(out.body, 14);
        for (const Door& d : out.doors) {
            clear = unite(clear, band({d.at, d.at + d.outward * 90}, 9));
        }
        std::erase_if(lots_, [&](const Lot& l) {
            return l.cell == cell && !intersect(l.body, clear).empty();
        });
        Area houses;
        for (const Lot& l : lots_) {
            if (l.cell == cell) {
                houses = unite(houses, grow(l.body, 1));
            }
        }
        const Area open = subtract(subtract(piece, out.body), houses);
        // Paved round the building and in its courts; the rest of the ward a garden.
        Area whole;
        for (const QPolygonF& ring : outers(out.body)) {
            whole = unite(whole, toArea(std::vector<QPointF>(ring.begin(), ring.end())));
        }
        const Area yard = intersect(open, grow(whole, 24));
        town_.grounds.push_back({yard, Shape::Court});
        town_.grounds.push_back({subtract(open, yard), Shape::Garden});
    }

    // Three ramps from the yard's side nearest the water, down that side's fall to the water and
    // kSlipwayReach past the bank, so hulls can be launched.
    void addSlipways(Building& out) const {
        const Area& water = town_.plan.water;
        QPointF near;
        double best = 1e9;
        for (const QPolygonF& ring : outers(out.body)) {
            for (const QPointF& q : resample(std::vector<QPointF>(ring.begin(), ring.end()), 2)) {
                const double d = distanceTo(water, q);
                if (d < best) {
                    best = d;
                    near = q;
                }
            }
        }
        const auto fall = [&](QPointF q) {
            const double h = 1;
            return QPointF(
                distanceTo(water, q + QPointF(h, 0)) - distanceTo(water, q - QPointF(h, 0)),
                distanceTo(water, q + QPointF(0, h)) - distanceTo(water, q - QPointF(0, h)));
        };
        QPointF g = fall(near);
        if (best > 60 || length(g) < 1e-6) {
            return;
        }
        // Square to the bank where the ramps meet it.
        QPointF bank = near;
        while (!contains(water, bank) && length(bank - near) < 80) {
            bank -= g / length(g);
        }
        g = fall(bank + g / length(g) * 3);
        if (length(g) < 1e-6) {
            return;
        }
        const QPointF d = -g / length(g);
        const QPointF n(-d.y(), d.x());
        for (int k = -1; k <= 1; ++k) {
            const QPointF foot = bank + n * (11.0 * k);
            // Back up the ramp's line into the yard, then out past the bank.
            QPointF from = foot;
            while (!contains(out.body, from) && length(from - foot) < 80) {
                from -= d;
            }
            if (!contains(out.body, from)) {
                continue;
            }
            QPointF to = from;
            while (!contains(water, to) && length(to - from) < 120) {
                to += d;
            }
            // A ramp whose line meets the yard far back from the bank (past a corner of it) is
            // left out: a slipway starts close to the water.
            if (!contains(water, to) || length(to - from) > 38) {
                continue;
            }
            // Under the yard's roof a little, and on a narrow river short of the far bank.
            const QPointF start = contains(out.body, from - d * 4) ? from - d * 4 : from;
            double reach = kSlipwayReach;
            while (reach > 6 && !contains(water, to + d * reach)) {
                reach -= 2;
            }
            out.slipways.push_back({start, to + d * reach});
        }
    }

    void placeOnLots(Role role, std::size_t doors, Building& out) {
        // A run whose frontage the doors cannot reach (a clipped corner plot) is passed over.
        while (!tryLots(role, doors, out)) {
        }
    }

    bool tryLots(Role role, std::size_t doors, Building& out) {
        const TownPlan& plan = town_.plan;
        const double need = doors > 1 ? 18.0 * static_cast<double>(doors) + 8 : 0;
        double best = 1e18;
        std::size_t bestFirst = 0;
        std::size_t bestLast = 0;
        for (std::size_t i = 0; i < lots_.size(); ++i) {
            if (lots_[i].body.empty() || rejected_.count(i)) {
                continue;
            }
            // A run of neighbouring plots on one frontage, wide enough for the doors.
            std::size_t j = i;
            double width = length(lots_[i].frontB - lots_[i].frontA);
            while (width < need && j + 1 < lots_.size() && !lots_[j + 1].body.empty() &&
                   lots_[j + 1].cell == lots_[i].cell && lots_[j + 1].edge == lots_[i].edge &&
                   length(lots_[j + 1].frontA - lots_[j].frontB) < 1) {
                ++j;
                width += length(lots_[j].frontB - lots_[j].frontA);
            }
            if (width < need) {
                continue;
            }
            const QPointF front = (lots_[i].frontA + lots_[j].frontB) / 2;
            double score = crowding(front) + rng_.range(0, 30);
            const double toMain = mainStreetDistance(front);
            switch (role) {
                case Role::Yard:
                case Role::Water:
                    // Harbour trades stand on the water's edge, whatever the crowding there,
                    // and inside the wall where the quay is.
                    score += distanceTo(plan.water, front) * 40 + (lots_[i].cell < 0 ? 2000 : 0);
                    break;
                case Role::GateSide: {
                    double g = 1e9;
                    for (const Gate& gate : plan.gates) {
                        g = std::min(g, length(gate.at - front));
                    }
                    score += g * 2;
                    break;
                }
                case Role::Street:
                    score +=
                        (toMain < kMainStreet ? 0 : 300) +
                        length(front - plan.cells[static_cast<std::size_t>(plan.market)].seed) *
                            0.4;
                    break;
                default:
                    score += lots_[i].cell < 0 ? 300 : 0;
                    break;
            }
            if (score < best) {
                best = score;
                bestFirst = i;
                bestLast = j;
            }
        }
        if (best >= 1e18) {
            throw std::runtime_error("no plot for " + out.name.toStdString());
        }
        Area body;
        Area back;
        for (std::size_t k = bestFirst; k <= bestLast; ++k) {
            body = unite(body, grow(lots_[k].body, 0.3));
        }
        body = grow(body, -0.3);
        // The doors spaced evenly along the plots' frontage, each where a ray from just behind the
        // street meets `outline`.
        const QPointF a = lots_[bestFirst].frontA;
        const QPointF b = lots_[bestLast].frontB;
        const QPointF outward = lots_[bestFirst].outward;
        const auto doorsOn = [&](const Area& outline) {
            std::vector<std::pair<QPointF, QPointF>> points;  // (ray start, door)
            for (std::size_t k = 0; k < doors; ++k) {
                const QPointF along =
                    a + (b - a) * ((static_cast<double>(k) + 1) / (static_cast<double>(doors) + 1));
                const QPointF from = along - outward * 10;
                points.emplace_back(from, exitPoint(outline, from, outward));
            }
            return points;
        };
        for (const auto& [from, door] : doorsOn(body)) {
            if (length(door - from) < 1e-9 || blocked(door + outward * 4, bestFirst, bestLast)) {
                rejected_.insert(bestFirst);
                return false;
            }
        }
        body.clear();
        for (std::size_t k = bestFirst; k <= bestLast; ++k) {
            body = unite(body, grow(lots_[k].body, 0.3));
            back = unite(back, lots_[k].back);
            lots_[k].body.clear();
        }
        out.shape = doors > 1 ? Shape::Hall : Shape::House;
        out.body = grow(body, -0.3);
        out.back = back;
        // Onto the frontage itself: the outline's point nearest the street there.
        for (const auto& point : doorsOn(out.body)) {
            out.doors.push_back({point.second, outward});
        }
        return true;
    }

    // Whether the ground outside a door is taken: water, another plot or a building placed before.
    bool blocked(QPointF p, std::size_t first, std::size_t last) const {
        if (contains(town_.plan.water, p)) {
            return true;
        }
        for (std::size_t k = 0; k < lots_.size(); ++k) {
            if ((k < first || k > last) && !lots_[k].body.empty() && contains(lots_[k].body, p)) {
                return true;
            }
        }
        return std::any_of(town_.named.begin(), town_.named.end(),
                           [&](const Building& b) { return contains(b.body, p); });
    }

    double mainStreetDistance(QPointF p) const {
        double d = 1e9;
        for (const auto& s : town_.plan.mainStreets) {
            if (s.size() > 1) {
                d = std::min(d, distanceToPolyline(p, s));
            }
        }
        return d;
    }

    Town town_;
    std::vector<Lot> lots_;
    std::vector<QPointF> taken_;
    Rng rng_;
    bool strongholdUsed_ = false;
    bool marketUsed_ = false;
    std::set<std::size_t> rejected_;
};

}  // namespace

Town buildTown(const CityLayout& site, QSize size, const std::vector<CityBuilding>& table) {
    return Builder(site, size).build(table);
}

}  // namespace marventa::plan
