#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "tools/common/world_places.h"

namespace marventa {

// Names the province once carried and what replaced them: names too close to another to tell
// apart, or too close to a famous published work. Applying them to names already renamed
// changes nothing.
const std::vector<std::pair<std::string_view, std::string_view>>& renames();

void applyRenames(std::vector<ProvincePlace>& places);

}  // namespace marventa
