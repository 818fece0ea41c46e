#pragma once

#include <vector>

#include "province_layout.h"
#include "tools/common/grid.h"
#include "tools/common/world_places.h"
#include "waterways.h"

namespace marventa {

// Heights the province is painted from, one per picture pixel: below zero is sea (the value is
// minus its depth), land runs from 0 at the shore to about 1 on the highest peaks.
struct Terrain {
    Grid<float> height;
    Grid<float> woods;         // wood density, 0 .. 1 (trees stand where it passes one half)
    Grid<unsigned char> lake;  // lake water cover, 0 .. 255
    Grid<unsigned char> moor;  // heather upland, 0 .. 255
    Grid<unsigned char> ash;   // volcanic ground, 0 .. 255
    std::vector<std::vector<float>> riverBeds;  // per river point: the height its water runs at
};

// Thresholds the shaping guarantees and the painting shows.
inline constexpr float kHillHeight = 0.36f;     // ochre from here up: caves and mines stand above
inline constexpr float kHeightsHeight = 0.27f;  // fort ruins stand above

// The layout roughened by seeded noise; river valleys cut with beds that fall all the way to the
// mouth; lakes levelled; then shaped round the places: hills raised under caves and mines,
// heights under fort ruins, level ground round towns, and always land under a place.
Terrain buildTerrain(const ProvinceLayout& layout, const Waterways& water,
                     const std::vector<ProvincePlace>& places, int width, int height);

}  // namespace marventa
