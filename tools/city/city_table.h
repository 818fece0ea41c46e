#pragma once

#include <string>

#include "catalogue/city_directory.h"
#include "tools/city/buildings/town.h"

namespace marventa {

// The city table's header as the plan has it: the table's names in their order, each row the
// point of its door.
std::string cityTableSource(const CityEntry& city, const plan::Town& town);

// Its file under the repository: catalogue/tables/<caption in lower case, '_' for spaces>.h
std::string cityTableFile(const CityEntry& city);

}  // namespace marventa
