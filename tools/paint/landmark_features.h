#pragma once

#include <QPointF>
#include <string_view>
#include <vector>

#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

// What each landmark is, drawn round its point under the landmark symbol: the barrow's mound
// and stone ring, the salt pans by their creek, the rock and its beacon in the cove, the broken
// bridge over the Venn, the gorge's cliffs, the nine standing shards, the cleft crag, the belfry
// in its pool, and the tor's boulders.
void drawLandmarkFeatures(QPainter& painter, const ProvinceScene& scene);

// One landmark's drawing, by its name, round `at`; nothing for a name without one.
void drawLandmarkFeature(QPainter& painter, std::string_view name, QPointF at,
                         const Waterways& water);

// Whether a landmark's drawing stands out in the sea off its point (a rock by the shore), so that
// its name may as well be set on the water.
bool standsOffShore(std::string_view name);

// The ground drawn relief leaves to the landmarks, with the painter's brush: the gorge's cleft
// along its brook, so that its walls read between peaks rather than under them.
void markLandmarkClearings(QPainter& painter, const ProvinceScene& scene);

// Peaks to stand either side of the gorge's cleft, just beyond the ground kept clear along its
// brook, so that its walls read as cut between mountains; for the relief to place as it places its
// own, keeping clear of whatever they would meet.
std::vector<Peak> gorgeSidePeaks(const ProvinceScene& scene);

}  // namespace marventa
