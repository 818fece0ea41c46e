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

// A named feature of the land that a place's name can refer to ("Venncross", "Coldtarn Grotto",
// "Hollowspine Watch"), with how far from each sheet point it lies.
struct NamedFeature {
    QString name;
    std::string stem;  // what a name starts with when it refers to the feature
    Grid<float> away;  // pixels to the feature
    float reach;       // a place so named lies at most this far from it
};

// A river that leaves a lake, and the lake.
struct RiverSource {
    QString river;
    QString lake;
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
    Grid<float> toHeights;         // pixels to the nearest ground above the lowland
    Grid<float> cliff;             // the highest ground within kCliffReach pixels
    Grid<float> toMarsh;           // pixels to the nearest marsh, fen or reed bed
    Grid<float> seaShare;          // the sea's share of the ground within kShapeReach pixels
    Grid<float> toIsland;          // pixels to the nearest island
    Grid<float> toCrag;            // pixels to the hills
    Grid<float> toWood;            // pixels to a wood
    Grid<float> toValley;          // pixels to a valley floor: ground rising on two sides
    Grid<float> toFace;            // pixels to a steep face a cave can open in
    Grid<float> bayWrap;           // on the sea by a shore, how much of the compass is land
    Grid<unsigned char> mainland;  // 1 on the land the roads reach, 0 at sea and on islands
    std::vector<RiverMouth> mouths;
    std::vector<RiverMouth> outflows;  // where a river leaves a named lake, by the lake's name
    std::vector<RiverSource> sources;
    std::vector<QString> tarns;  // the lakes that lie among the heights
    Grid<int> woodId;  // which wood a cell lies in (one id per joined stretch of thick wood), or -1
    Grid<int> rangeId;  // which range's rough ground a cell lies on, or -1
    std::vector<NamedFeature> features;

    float at(const Grid<float>& g, QPointF p) const;
    float toWater(QPointF p) const;
};

Ground surveyGround(const ProvinceLayout& layout, const Terrain& terrain, const Waterways& water);

// A cliff: ground this high within kCliffReach pixels of a spot by the sea. A low shore (beach,
// marsh) rises to it only a few hundred pixels inland.
inline constexpr float kCliffReach = 32.0f;
inline constexpr float kCliffHeight = 0.07f;

// The river whose mouth at the sea a town or village is named for ("Tarnmouth": the
// Tarnbeck's), when it is; empty otherwise.
QString mouthOf(const std::string& name, PlaceKind kind);

// Whether a town or village is named for where a river leaves a lake ("Osierweir"); `lake`
// is then that lake when the name begins with one's, empty when any lake will do.
bool namesOutflow(const std::string& name, PlaceKind kind, QString* lake = nullptr);

// What a place's name promises of its ground. A bay, a headland and an island are the sea's
// too: a place so named stands on the shore of a bay, at the tip of a headland, or looking out
// to an island.
enum class Promise { None, Sea, Bay, Headland, Island, River, Water, Height };
Promise promiseOf(const std::string& name, PlaceKind kind);
bool promisesSea(Promise p);

// The coast's shape round a shore spot, read from the sea's share of the ground within
// kShapeReach pixels: a straight shore has about half; the head of a bay, with land round it on
// three sides, at most kBayShare; a headland, with sea on three sides, at least kHeadlandShare.
inline constexpr float kShapeReach = 120.0f;
inline constexpr float kBayShare = 0.36f;
inline constexpr float kHeadlandShare = 0.58f;
// A place named for an island lies within this many pixels of one.
inline constexpr float kIslandReach = 320.0f;

// Whether a name promises a fen or reed bed ("Fen Cutters' Camp").
bool promisesMarsh(const std::string& name);

// Words that promise the lie of the land near a place, whatever else its name promises: a crag
// or scar (hills near), a wood, a valley (ground rising on two sides), a moor (open
// ground, no wood). A name may carry several ("Skarholt").
// A fell or a spur is a hill and reads as a crag does; a tarn is a lake among the heights (or, for
// a river's mouth, where that river rises); a gorge is cut by running water through high ground;
// "-ey" and "-sey" are islands, so no mainland place carries them. A ford is a road crossing
// running water, a bridge a road's bridge, both read once the roads are laid (`crossingFaults`);
// a haven or hythe on the coast is a bay's or a river mouth's.
enum GroundWord : unsigned {
    kCragWord = 1,
    kWoodWord = 2,
    kValleyWord = 4,
    kMoorWord = 8,
    kTarnWord = 16,
    kGorgeWord = 32,
    kIslandWord = 64,
    kFordWord = 128,
    kBridgeWord = 256,
    kHavenWord = 512,
};
unsigned groundWordsOf(const std::string& name);

// How near a place so named the crag, the wood or the valley floor lies.
inline constexpr float kCragReach = 120.0f;
inline constexpr float kWoodReach = 96.0f;
inline constexpr float kValleyReach = 48.0f;
inline constexpr float kTarnReach = 120.0f;
// A ford's or bridge's crossing lies within this many pixels of the place.
inline constexpr float kCrossingReach = 24.0f;
// A span's river runs within this many pixels of its symbol.
inline constexpr float kSpanReach = 10.0f;
// A gorge's water runs within this many pixels of its symbol, over hill ground with a mountain's
// (this high) within kCliffReach: a cleft in the range itself, not a brook's head below it.
inline constexpr float kGorgeWater = 12.0f;
inline constexpr float kGorgeWall = 0.5f;

// How many places of one category one wood holds, and one range's rough ground (caves, mines),
// so a reader does not meet a crowd of one symbol.
inline constexpr int kPerWood = 4;
int perRange(PlaceKind kind, const Ridge& range);

// Ground a cave's mouth opens in: a sea cliff, or within kCaveFaceReach pixels of a steep face
// (a scarp, a valley's side) above the wettest flats. The faces are the steepest seventh of that
// ground, and at least kCaveFaceSlope per pixel, so that caves gather where the land breaks and
// leave the even slopes between them bare, in the hills as below them.
inline constexpr float kCaveFaceSlope = 0.002f;
inline constexpr float kCaveFaceHeight = 0.1f;
inline constexpr float kCaveFaceReach = 14.0f;
bool caveFace(const Ground& g, QPointF p);

// A bay a reader sees: from water off its head, land meets more than half of the compass within
// kBayReach pixels (the sea's names keep the same rule).
inline constexpr double kBayReach = 600.0;
inline constexpr double kBayWrap = 0.5;

// The village or town a place is named after ("Kolvern Cave"), when it is; empty otherwise.
std::string namesake(const std::string& name, const std::vector<ProvincePlace>& places);

// A place named after a village or town lies within this many pixels of it.
inline constexpr double kNamesakeReach = 200.0;

// Every rule a place's site breaks, by its category and by its name; empty when it keeps them
// all. `places` holds the others (for namesakes).
std::vector<std::string> siteFaults(const ProvincePlace& place, const Ground& ground,
                                    const std::vector<ProvincePlace>& places);

}  // namespace marventa
