#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"

namespace marventa {
namespace {

struct Point {
    std::string_view name;
    int x;
    int y;
};

template <class Record>
std::vector<Point> pointsOf(const PlaceTable<Record>& table) {
    std::vector<Point> points;
    for (const Record& r : table.rows()) {
        points.push_back({r.name, parseCoordinate(r.x), parseCoordinate(r.y)});
    }
    return points;
}

const PlaceTableId kProvinceTables[] = {
    PlaceTableId::ElvenRuins,  PlaceTableId::Shrines,   PlaceTableId::Landmarks,
    PlaceTableId::Settlements, PlaceTableId::FortRuins, PlaceTableId::Caves,
    PlaceTableId::Mines,       PlaceTableId::Camps,     PlaceTableId::Inns,
    PlaceTableId::Cities,
};

std::vector<Point> provincePoints() {
    std::vector<Point> all = pointsOf(heavenlyStones());
    const auto signs = pointsOf(signStones());
    all.insert(all.end(), signs.begin(), signs.end());
    for (const auto id : kProvinceTables) {
        const auto points = pointsOf(placeTable(id));
        all.insert(all.end(), points.begin(), points.end());
    }
    return all;
}

void expectInside(const std::vector<Point>& points, int width, int height, int margin) {
    for (const Point& p : points) {
        EXPECT_TRUE(p.x >= margin && p.x < width - margin && p.y >= margin && p.y < height - margin)
            << p.name << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST(Content, ProvincePointsStayOffTheEdgesAndApart) {
    const auto points = provincePoints();
    ASSERT_EQ(points.size(), 370u);
    expectInside(points, kProvinceWidth, kProvinceHeight, 20);
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            const int dx = points[i].x - points[j].x;
            const int dy = points[i].y - points[j].y;
            EXPECT_GE(dx * dx + dy * dy, 25 * 25) << points[i].name << " / " << points[j].name;
        }
    }
}

TEST(Content, CityPointsLieOnTheirOwnMap) {
    for (const CityEntry& city : kCityDirectory) {
        SCOPED_TRACE(std::string(city.caption));
        expectInside(pointsOf(placeTable(city.table)), city.mapWidth, city.mapHeight, 30);
    }
}

TEST(Content, EachCityStandsInsideItsOverviewMarker) {
    const auto cities = pointsOf(placeTable(PlaceTableId::Cities));
    for (const CityEntry& city : kCityDirectory) {
        int found = 0;
        for (const Point& p : cities) {
            if (p.name != city.caption) {
                continue;
            }
            ++found;
            const int x = p.x * 200 / kProvinceWidth;
            const int y = p.y * 162 / kProvinceHeight;
            EXPECT_TRUE(x >= city.marker.x1 && x < city.marker.x2 && y >= city.marker.y1 &&
                        y < city.marker.y2)
                << city.caption << " lands on (" << x << ", " << y << ")";
        }
        EXPECT_EQ(found, 1) << city.caption;
    }
}

TEST(Content, ProvinceNamesAreUniqueWithinATable) {
    for (const auto id : kProvinceTables) {
        std::set<std::string_view> seen;
        for (const auto name : placeTable(id).names()) {
            EXPECT_TRUE(seen.insert(name).second) << name;
        }
    }
}

}  // namespace
}  // namespace marventa
