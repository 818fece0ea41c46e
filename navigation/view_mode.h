#pragma once

#include <cstdint>

namespace marventa {

inline constexpr std::uint8_t CityView = 0;
inline constexpr std::uint8_t ProvinceView = 1;

}  // namespace marventa

// Which map is in the main view: ProvinceView or CityView; 0 while the window is being built.
extern std::uint8_t ViewMode;
