#include "view_mode.h"

std::uint8_t ViewMode = marventa::CityView;
