#include "province.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>

#include "catalogue/city_directory.h"
#include "tools/land/province_layout.h"
#include "tools/paint/province_painter.h"
#include "tools/sites/crossing_rules.h"
#include "tools/sites/renames.h"
#include "tools/sites/siting.h"

namespace marventa {

namespace {

using Clock = std::chrono::steady_clock;

void stage(const char* name, Clock::time_point since) {
    const std::chrono::duration<double> took = Clock::now() - since;
    std::printf("  %-22s %22.1f s\n", name, took.count());
    std::fflush(stdout);
}

}  // namespace

Province makeProvince() {
    const auto start = Clock::now();
    const ProvinceLayout& layout = provinceLayout();
    Province p;
    p.land = raiseLand(layout, kProvinceWidth, kProvinceHeight);
    stage("land", start);
    p.water = drainLand(p.land, layout);
    p.terrain = buildTerrain(layout, p.land, p.water, kProvinceWidth, kProvinceHeight);
    stage("water", start);
    std::vector<ProvincePlace> catalogue = provincePlaces();
    applyRenames(catalogue);
    const Ground ground = surveyGround(layout, p.terrain, p.water);
    p.places = sitePlaces(catalogue, ground);
    stage("places", start);
    // The inns wait for the highways; until then they are left out, so no road bends to them.
    std::vector<ProvincePlace> withoutInns;
    std::copy_if(p.places.begin(), p.places.end(), std::back_inserter(withoutInns),
                 [](const ProvincePlace& place) { return place.kind != PlaceKind::Inn; });
    siteInns(p.places, planRoads(withoutInns, p.terrain, p.water), ground);
    p.roads = finishRoads(planRoads(p.places, p.terrain, p.water), p.places, p.terrain, p.water);
    stage("roads", start);
    for (const ProvincePlace& place : p.places) {
        for (const std::string& fault : siteFaults(place, ground, p.places)) {
            std::printf("  warning: %s\n", fault.c_str());
        }
        for (const std::string& fault : crossingFaults(place, p.roads, p.water)) {
            std::printf("  warning: %s\n", fault.c_str());
        }
    }
    p.map = paintProvince({layout, p.terrain, p.water, p.roads, p.places, p.land.craters});
    stage("painting", start);
    return p;
}

}  // namespace marventa
