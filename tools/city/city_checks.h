#pragma once

#include <string>
#include <vector>

#include "tools/city/buildings/town.h"
#include "tools/city/labels/city_names.h"

namespace marventa {

// Checks a finished town, one line per fault: a door off its building's outline or not opening
// onto a street, a gate off the wall or where no street and road meet it, a street or road in
// the water away from a bridge, a name over the wall or over another building.
std::vector<std::string> checkTown(const plan::Town& town, const plan::NamePlan& names);

}  // namespace marventa
