#pragma once

#include <vector>

#include "site_rules.h"
#include "tools/roads/roads.h"

namespace marventa {

// Sites every place of `catalogue` on the land, category by category: the eight cities stay at
// their overview markers; each other place keeps the point it has while that point is still a
// spot that keeps every rule, and otherwise goes to the best spot its rules allow, spread from
// its kind and clear of its neighbours. Inns wait for the roads (`siteInns`), and keep their
// points the same way.
std::vector<ProvincePlace> sitePlaces(const std::vector<ProvincePlace>& catalogue,
                                      const Ground& ground);

// The inns, each a few dozen pixels off a highway or lane (or a track, where none will do).
void siteInns(std::vector<ProvincePlace>& places, const std::vector<RoadLine>& roads,
              const Ground& ground);

}  // namespace marventa
