#pragma once

#include <QPointF>
#include <string>
#include <vector>

#include "tools/common/grid.h"
#include "tools/common/world_places.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/water/waterways.h"

namespace marventa {

// What the land offers round a point, on a lattice of `kSiteCell` pixels.
inline constexpr int kSiteCell = 8;

// Where a named river meets the sea.
struct RiverMouth {
    QString river;
    QPointF at;
};

struct Ground {
    int w = 0;
    int h = 0;
    Grid<float> height;
    Grid<float> slope;    // height per pixel
    Grid<float> toSea;    // pixels to the nearest sea
    Grid<float> toLake;   // pixels to the nearest lake
    Grid<float> toRiver;  // pixels to the nearest named river
    Grid<float> toBrook;  // pixels to the nearest brook
    Grid<float> woods;    // tree cover
    Grid<float> oldWood;  // 1 deep in one of the layout's old forests
    Grid<float> marsh;
    Grid<float> toHeights;  // pixels to the nearest ground above the lowland
    Grid<float> cliff;      // the highest ground within kCliffReach pixels
    std::vector<RiverMouth> mouths;

    float at(const Grid<float>& g, QPointF p) const;
    float toWater(QPointF p) const;
};

Ground surveyGround(const ProvinceLayout& layout, const Terrain& terrain, const Waterways& water);

// A cliff: ground this high within kCliffReach pixels of a spot by the sea. A low shore (beach,
// marsh) rises to it only a few hundred pixels inland.
inline constexpr float kCliffReach = 32.0f;
inline constexpr float kCliffHeight = 0.07f;

// The river whose mouth a place is named for, when it is; empty otherwise.
QString mouthOf(const std::string& name);

// What a place's name promises of its ground.
enum class Promise { None, Sea, River, Water, Height };
Promise promiseOf(const std::string& name, PlaceKind kind);

// The village or town a mine is named after, when it is; empty otherwise.
std::string namesake(const std::string& mine, const std::vector<ProvincePlace>& places);

// Every rule a place's site breaks, by its category and by its name; empty when it keeps them
// all. `places` holds the others (for namesakes).
std::vector<std::string> siteFaults(const ProvincePlace& place, const Ground& ground,
                                    const std::vector<ProvincePlace>& places);

}  // namespace marventa
