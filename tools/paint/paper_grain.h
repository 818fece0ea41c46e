#pragma once

#include "tools/common/grid.h"

class QImage;

namespace marventa {

// The sheet's own surface, pixel by pixel, both roughly in [-1, 1] and free of any repeat,
// rougher over some stretches of the sheet than others.
struct PaperGrain {
    // The tooth as the light catches it: raised crests and stray fibres above 0, hollows below.
    Grid<float> tooth;
    // Where a wash's pigment settles as it dries: in the tooth's hollows and along the fibres,
    // gathered in clumps (above 0) and thin on the crests (below 0).
    Grid<float> settle;
    // Where a granulating pigment drops its grains as it dries, in [0, 1]: specks in the tooth's
    // hollows, gathered in clusters a few tens of pixels across with clear wash between them.
    // A heavy blue granulates most, an earth less, a green hardly at all.
    Grid<float> granules;
};

PaperGrain paperGrain(int width, int height);

// The ink drawn on `sheet` over its `washes` (the same sheet before the ink) skipping on the
// paper's tooth: on the tooth's crests the pen's ink lets a little of the wash under it through,
// a fleck of paper in a broad stroke and a slight break in a thin line.
void inkOnTooth(QImage& sheet, const QImage& washes, const PaperGrain& grain);

// The sheet aged as paper ages, over everything drawn on it: a warm tone that deepens and pales
// over broad stretches (the wash's even green calmed a little under it), toward the edges most;
// a scatter of fibres caught in the pulp; and foxing, small rust-brown spots in loose clusters,
// none alike. All of it broad or sparse, so that the picture's file grows little.
void ageSheet(QImage& sheet);

}  // namespace marventa
