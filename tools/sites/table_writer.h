#pragma once

#include <filesystem>
#include <vector>

#include "tools/common/world_places.h"

namespace marventa {

// Writes the sited names and points back into the province's tables under
// `root`/catalogue/tables/, record by record in table order; everything else in those files
// (comments, stone effects) stays as it is. Each file says at its top that the generator made it.
void writeProvinceTables(const std::filesystem::path& root,
                         const std::vector<ProvincePlace>& places);

}  // namespace marventa
