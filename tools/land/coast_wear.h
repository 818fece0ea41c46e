#pragma once

#include <QPointF>
#include <QRectF>
#include <vector>

#include "tools/common/grid.h"

namespace marventa {

struct WornCoast {
    Grid<float> shore;     // signed pixels from the shore, negative at sea
    Grid<float> hardness;  // the rock, 0 soft .. 1 hard
    Grid<float> toChange;  // pixels to the nearest cell the sea took or left
};

// The coast as the sea leaves it, on the land's lattice of `cell` pixels. `shore` is each cell's
// signed distance from the first shore. Waves eat the shore wherever its rock is softer than
// its exposure to the open sea demands, so soft ground wears back into bays until they are
// sheltered enough, and hard bands stand out as headlands; hard rock on the shallow floor
// offshore stands as islands and skerries. The coast stays where it is near `held`, and no
// island rises inside `openSea`.
WornCoast wearCoast(const Grid<float>& shore, int cell, const std::vector<QPointF>& held,
                    const std::vector<QRectF>& openSea);

// Lays the worn coast into the ground the rivers have cut: the sea where it took the land,
// islands where it left rock, the shore sloping down to the new waterline near them and the floor
// shoaling toward it; elsewhere the ground stays as it was.
void wearShore(Grid<float>& height, const WornCoast& coast);

}  // namespace marventa
