#include <gtest/gtest.h>

#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <algorithm>
#include <boost/geometry.hpp>
#include <cmath>
#include <numbers>

#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"
#include "tools/city/buildings/town.h"
#include "tools/city/city_checks.h"
#include "tools/city/city_layout.h"
#include "tools/city/city_table.h"
#include "tools/city/labels/city_names.h"
#include "tools/city/paint/city_painter.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"

using namespace marventa;

namespace {

struct Planned {
    plan::Town town;
    plan::NamePlan names;
};

// Each city grown once and shared by the tests: a few seconds for all eight.
const Planned& planned(const CityEntry& city) {
    static std::map<PlaceTableId, Planned> towns;
    auto it = towns.find(city.table);
    if (it == towns.end()) {
        plan::Town town =
            plan::buildTown(cityLayout(city.table), QSize(city.mapWidth, city.mapHeight),
                            cityBuildings(city.table));
        const QString title =
            QString::fromUtf8(city.caption.data(), static_cast<qsizetype>(city.caption.size()));
        plan::NamePlan names = plan::placeNames(town, title);
        it = towns.emplace(city.table, Planned{std::move(town), std::move(names)}).first;
    }
    return it->second;
}

// Each city's painted map, shared the same way.
const QImage& painted(const CityEntry& city) {
    static std::map<PlaceTableId, QImage> maps;
    auto it = maps.find(city.table);
    if (it == maps.end()) {
        const Planned& p = planned(city);
        const QString title =
            QString::fromUtf8(city.caption.data(), static_cast<qsizetype>(city.caption.size()));
        it = maps.emplace(city.table, paintCity(p.town, p.names, title)).first;
    }
    return it->second;
}

}  // namespace

// The plan's areas are cut on a grid of 1/256 px in integers: a cut along the map's edge lies
// on it, the two halves of a cut fill the whole again, a grown and shrunk block comes back, and
// a street's band is its strip and one round end's worth of disc.
TEST(PlanAreas, CutsAreExactOnTheGrid) {
    const plan::Area map = plan::toArea({{0, 0}, {1000, 0}, {1000, 700}, {0, 700}, {0, 0}});
    const plan::Area water =
        plan::toArea({{-37.3, -21.7}, {420.9, -3.1}, {611.4, 390.2}, {-12.6, 733.3}});
    const plan::Area wet = plan::intersect(water, map);
    int onEdge = 0;
    for (const plan::Pt& v : wet.front().outer()) {
        EXPECT_TRUE(v.x() >= 0 && v.y() >= 0 && v.y() <= 700) << v.x() << ", " << v.y();
        onEdge += v.x() == 0 || v.y() == 0 || v.y() == 700;
    }
    EXPECT_GE(onEdge, 4);

    const plan::Area dry = plan::subtract(map, water);
    EXPECT_EQ(plan::areaOf(dry) + plan::areaOf(wet), 700000.0);
    const plan::Area whole = plan::unite(dry, wet);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(plan::areaOf(whole), 700000.0);
    EXPECT_TRUE(whole.front().inners().empty());

    const plan::Area block =
        plan::toArea({{100, 100}, {180.5, 90.25}, {210, 160}, {150, 205.75}, {95, 170}});
    const plan::Area back = plan::grow(plan::grow(block, 8), -8);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_NEAR(plan::areaOf(back), plan::areaOf(block), 0.05);
    EXPECT_GT(plan::areaOf(plan::grow(block, 8)), plan::areaOf(block) + 8 * 300);
    for (const plan::Pt& v : back.front().outer()) {
        const auto& ring = block.front().outer();
        EXPECT_TRUE(std::any_of(ring.begin(), ring.end(),
                                [&](const plan::Pt& w) {
                                    return std::hypot(v.x() - w.x(), v.y() - w.y()) < 2.0 / 256;
                                }))
            << v.x() << ", " << v.y();
    }

    const plan::Area street = plan::band({{10, 20}, {110, 20}}, 5);
    const double disc = 8 * 25 * std::sin(2 * std::numbers::pi / 16);
    EXPECT_NEAR(plan::areaOf(street), 100 * 10 + disc, 0.05);
    EXPECT_TRUE(plan::contains(street, {112, 21}));
    EXPECT_FALSE(plan::contains(street, {60, 25.5}));
}

// Doors on their buildings' outlines opening onto streets, gates on the wall where a street
// and a road meet it, no street in the water off a bridge, no name over the wall or over
// another building: every city passes every check.
TEST(CityPlans, EveryTownPassesItsChecks) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        for (const std::string& fault : checkTown(p.town, p.names)) {
            ADD_FAILURE() << city.caption << ": " << fault;
        }
    }
}

// The shipped tables are what the generator writes: one row per door, names in the table's
// order, each point where the plan put that door.
TEST(CityPlans, ShippedTablesMatchThePlans) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        const std::vector<CityBuilding> table = cityBuildings(city.table);
        ASSERT_EQ(p.town.named.size(), table.size()) << city.caption;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const plan::Building& b = p.town.named[i];
            EXPECT_EQ(b.name.toStdString(), table[i].name);
            ASSERT_EQ(b.doors.size(), table[i].entrances.size()) << table[i].name;
            for (std::size_t d = 0; d < b.doors.size(); ++d) {
                EXPECT_LE(std::abs(b.doors[d].at.x() - table[i].entrances[d].x), 1.0)
                    << city.caption << ": " << table[i].name << " (regenerate the world)";
                EXPECT_LE(std::abs(b.doors[d].at.y() - table[i].entrances[d].y), 1.0)
                    << city.caption << ": " << table[i].name;
            }
        }
    }
}

// Buildings are what their names say: the keep, castle or citadel on its rise, gates on the
// wall, temples with a nave, and every name is shown on its map.
TEST(CityPlans, BuildingsTakeTheShapeOfWhatTheyAre) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        EXPECT_EQ(p.names.names.size(), p.town.named.size()) << city.caption;
        for (const plan::Building& b : p.town.named) {
            const std::string name = b.name.toStdString();
            if (name.ends_with(" Gate")) {
                EXPECT_EQ(b.shape, plan::Shape::Gatehouse) << name;
            }
            if (name.starts_with("Temple")) {
                EXPECT_EQ(b.shape, plan::Shape::Church) << name;
            }
            if (name.ends_with("Keep") || name.ends_with("Castle") || name.ends_with("Citadel")) {
                EXPECT_EQ(b.shape, plan::Shape::Keep) << name;
                const QPointF top = cityLayout(city.table).stronghold;
                EXPECT_LT(plan::distanceTo(b.body, top), 160) << name << " is off its rise";
            }
        }
    }
}

// A player picks a row and looks under its label: every row's point shows a door mark on the
// edge of the building of that name, right at the point.
TEST(CityPlans, EveryRowShowsItsDoorOnItsBuilding) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        const QImage& map = painted(city);
        for (const PlaceRecord& row : placeTable(city.table).rows()) {
            const QPointF at(parseCoordinate(row.x), parseCoordinate(row.y));
            const auto own = std::find_if(
                p.town.named.begin(), p.town.named.end(),
                [&](const plan::Building& b) { return b.name.toStdString() == row.name; });
            ASSERT_NE(own, p.town.named.end()) << row.name;
            EXPECT_LT(plan::distanceTo(own->body, at), 1.5)
                << city.caption << ": " << row.name << " at (" << at.x() << ", " << at.y()
                << ") is off its building";
            int marked = 0;
            for (int dy = -3; dy <= 3; ++dy) {
                for (int dx = -3; dx <= 3; ++dx) {
                    const QColor c = map.pixelColor(static_cast<int>(at.x()) + dx,
                                                    static_cast<int>(at.y()) + dy);
                    marked += std::abs(c.red() - kDoor.red()) +
                                          std::abs(c.green() - kDoor.green()) +
                                          std::abs(c.blue() - kDoor.blue()) <
                                      30
                                  ? 1
                                  : 0;
                }
            }
            EXPECT_GE(marked, 8) << city.caption << ": " << row.name << " at (" << at.x() << ", "
                                 << at.y() << ") shows no door";
        }
    }
}

// The water is where the site draws it, and nothing built stands in it: the town's ground, quay,
// walls and buildings keep to the bank, and streets and roads cross only on bridges.
TEST(CityPlans, NothingBuiltStandsInTheWater) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        const plan::TownPlan& plan = p.town.plan;
        for (const auto& ring : plan.site->waters) {
            QPainterPath drawn;
            drawn.setFillRule(Qt::WindingFill);
            drawn.addPolygon(QPolygonF(QList<QPointF>(ring.begin(), ring.end())));
            for (int y = 4; y < plan.size.height(); y += 12) {
                for (int x = 4; x < plan.size.width(); x += 12) {
                    const QPointF at(x, y);
                    if (drawn.contains(at) && !plan::contains(plan.water, at) &&
                        plan::distanceTo(plan.water, at) > 1) {
                        ADD_FAILURE() << city.caption << ": (" << x << ", " << y
                                      << ") is drawn as water but planned as land";
                    }
                }
            }
        }
        EXPECT_LT(plan::areaOf(plan::intersect(plan.town, plan.water)), 1.0) << city.caption;
        for (const auto& run : plan.wall) {
            for (const QPointF& at : resample(run, 4)) {
                EXPECT_GT(plan::distanceTo(plan.water, at), 2.0)
                    << city.caption << ": the wall stands in the water at (" << at.x() << ", "
                    << at.y() << ")";
            }
        }
        auto dry = [&](const plan::Area& body, const std::string& what) {
            EXPECT_LT(plan::areaOf(plan::intersect(body, plan.water)), 1.0)
                << city.caption << ": " << what << " stands in the water";
        };
        for (const plan::Lot& h : p.town.houses) {
            dry(h.body, "a house");
        }
        for (const plan::Building& b : p.town.named) {
            // A lighthouse may stand at the end of its mole.
            plan::Area body = b.body;
            for (const auto& mole : plan.site->moles) {
                body = plan::subtract(body, plan::band(mole, 16));
            }
            dry(body, b.name.toStdString());
            // Only a shipyard runs out over the water, on its slipways, which start at its own
            // edge close to the bank and reach just so far past it.
            const bool yard = b.name.contains(QLatin1String("Shipyard")) ||
                              b.name.contains(QLatin1String("Shipwright")) ||
                              b.name.contains(QLatin1String("Boatwright"));
            EXPECT_TRUE(yard || b.slipways.empty()) << city.caption << ": " << b.name.toStdString();
            if (b.name == QLatin1String("Shipyard")) {
                EXPECT_FALSE(b.slipways.empty()) << city.caption << ": its shipyard stands inland";
            }
            for (const auto& [from, to] : b.slipways) {
                EXPECT_TRUE(plan::contains(b.body, from) && plan::contains(plan.water, to))
                    << city.caption << ": a slipway of " << b.name.toStdString();
                const double wet =
                    plan::areaOf(plan::intersect(plan::band({from, to}, plan::kSlipwayHalfWidth),
                                                 plan.water)) /
                    (2 * plan::kSlipwayHalfWidth);
                EXPECT_LT(wet, plan::kSlipwayReach + 6) << city.caption << ": slipway too long";
                EXPECT_LT(length(to - from) - wet, 44)
                    << city.caption << ": yard far from the bank";
            }
        }
        // As painted: open water shows water, with no roof, wall, quay or tree over it. Bridges,
        // landings, piers and the lettering over the water are left aside.
        const QImage& map = painted(city);
        plan::Area aside;
        const auto around = [](QPointF c, double r) {
            return plan::band({c, c + QPointF(0.1, 0)}, r);
        };
        for (const plan::Bridge& b : plan.bridges) {
            aside = plan::unite(aside, plan::band({b.from, b.to}, plan::kRoad + 8));
        }
        for (const QPointF& l : plan.landings) {
            aside = plan::unite(aside, around(l, 48));
        }
        for (const auto& mole : plan.site->moles) {
            aside = plan::unite(aside, plan::band(mole, 14));
        }
        for (const plan::Building& b : p.town.named) {
            for (const auto& [from, to] : b.slipways) {
                aside = plan::unite(aside, plan::band({from, to}, plan::kSlipwayHalfWidth + 3));
            }
        }
        for (const plan::Building& b : p.town.named) {
            for (const plan::Door& d : b.doors) {
                aside = plan::unite(aside, around(d.at, 8));
            }
        }
        std::vector<QRectF> lettering{p.names.title.adjusted(-4, -4, 4, 4)};
        for (const plan::NamePlacement& n : p.names.names) {
            lettering.push_back(n.box.adjusted(-4, -4, 4, 4));
            if (n.leader) {
                aside = plan::unite(aside, plan::band({n.leaderFrom, n.leaderTo}, 4));
            }
        }
        const plan::Area open = plan::subtract(plan::grow(plan.water, -3), aside);
        int wrong = 0;
        for (int y = 8; y < plan.size.height() - 8; y += 3) {
            for (int x = 8; x < plan.size.width() - 8; x += 3) {
                const QPointF at(x, y);
                if (!plan::contains(open, at) ||
                    std::any_of(lettering.begin(), lettering.end(),
                                [&](const QRectF& r) { return r.contains(at); })) {
                    continue;
                }
                const QColor c = map.pixelColor(x, y);
                if (c.blue() < c.red() + 12 && ++wrong <= 5) {
                    ADD_FAILURE() << city.caption << ": (" << x << ", " << y
                                  << ") in the water is painted " << c.name().toStdString();
                }
            }
        }
        EXPECT_EQ(wrong, 0) << city.caption;
    }
}

// A name stands within reach of what it names, and its leader line crosses no other leader and
// no other name.
TEST(CityPlans, NamesStandByTheirBuildings) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        const auto& names = p.names.names;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const plan::NamePlacement& n = names[i];
            const plan::Building& b = p.town.named[static_cast<std::size_t>(n.building)];
            const plan::Area box =
                plan::toArea({n.box.topLeft(), n.box.topRight(), n.box.bottomRight(),
                              n.box.bottomLeft(), n.box.topLeft()});
            // A name inside a ring (the arena's floor, a court's yard) stands on what it names.
            plan::Area filled;
            for (const QPolygonF& ring : plan::outers(b.body)) {
                filled.push_back(plan::toPoly(ring));
            }
            const double gap = plan::bg::distance(box, filled);
            EXPECT_LT(gap, 80) << city.caption << ": " << b.name.toStdString() << " is named "
                               << gap << " px away";
            if (!n.leader) {
                continue;
            }
            const QLineF leader(n.leaderFrom, n.leaderTo);
            for (std::size_t j = 0; j < names.size(); ++j) {
                if (j == i) {
                    continue;
                }
                const plan::NamePlacement& o = names[j];
                const std::string pair =
                    std::string(city.caption) + ": " + b.name.toStdString() + " and " +
                    p.town.named[static_cast<std::size_t>(o.building)].name.toStdString();
                if (o.leader) {
                    EXPECT_NE(leader.intersects(QLineF(o.leaderFrom, o.leaderTo), nullptr),
                              QLineF::BoundedIntersection)
                        << pair << ": leader lines cross";
                }
                const QRectF inside = o.box.adjusted(1, 1, -1, -1);
                const std::vector<QPointF> along = resample({leader.p1(), leader.p2()}, 1.5);
                EXPECT_TRUE(std::none_of(along.begin(), along.end(),
                                         [&](QPointF q) { return inside.contains(q); }))
                    << pair << ": a leader line crosses a name";
            }
        }
    }
}
