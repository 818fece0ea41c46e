#pragma once

#include <vector>

#include "land.h"
#include "province_layout.h"
#include "tools/common/grid.h"
#include "tools/water/waterways.h"

namespace marventa {

// The ground the province is painted from, one value per picture pixel: below zero is sea (the
// value is minus its depth), land runs from 0 at the shore to about 1 on the highest peaks.
struct Terrain {
    Grid<float> height;
    Grid<float> woods;          // tree cover, 0 .. 1 (trees stand where it passes one half)
    Grid<unsigned char> lake;   // lake water cover, 0 .. 255
    Grid<unsigned char> moor;   // heather upland, 0 .. 255
    Grid<unsigned char> ash;    // volcanic ground, 0 .. 255
    Grid<unsigned char> marsh;  // reedy flats by the water, 0 .. 255
    std::vector<std::vector<float>> riverBeds;  // per named river point: its water's height
};

// Thresholds the painting shows and the siting of places relies on.
inline constexpr float kHillHeight = 0.36f;     // ochre from here up: hills and mountains
inline constexpr float kHeightsHeight = 0.27f;  // heights above the lowland

// The land at picture size with a fine grain, lakes levelled, the named rivers' channels cut;
// then the ground's cover from height, slope and wetness: woods (the layout's old forests and
// copses where the ground is moist and not too steep), heather moor on high rolling ground,
// ash on the volcanic range, marsh on wet flats by the sea, lakes and rivers.
Terrain buildTerrain(const ProvinceLayout& layout, const Land& land, const Waterways& water,
                     int width, int height);

}  // namespace marventa
