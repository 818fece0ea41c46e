#pragma once

#include <array>
#include <string_view>

#include "catalogue.h"
#include "city_directory.h"

namespace marventa {

// The category buttons of the "Standard" page, RadioButton1 .. RadioButton10: caption and table.
struct CategoryButton {
    int radioButton;  // n of RadioButton<n>
    std::string_view caption;
    PlaceTableId table;
};

// In the order ListBox1Click tests them.
inline constexpr std::array<CategoryButton, 10> kCategoryButtons{{
    {1, "Elven Ruins", PlaceTableId::ElvenRuins},
    {2, "Landmarks", PlaceTableId::Landmarks},
    {3, "Vorthic Shrines", PlaceTableId::Shrines},
    {4, "Fort Ruins", PlaceTableId::FortRuins},
    {5, "Cities", PlaceTableId::Cities},
    {6, "Camps", PlaceTableId::Camps},
    {7, "Settlements", PlaceTableId::Settlements},
    {8, "Mines", PlaceTableId::Mines},
    {9, "Caves", PlaceTableId::Caves},
    {10, "Inns", PlaceTableId::Inns},
}};

enum class StoneTableId { Heavenly, Sign };

// The stone buttons of the "Extras" page, RadioButton11 and RadioButton12.
struct StoneButton {
    int radioButton;
    std::string_view caption;
    StoneTableId table;
};

// In the order ListBox2Click tests them.
inline constexpr std::array<StoneButton, 2> kStoneButtons{{
    {11, "Heavenly Lorestones", StoneTableId::Heavenly},
    {12, "Natalsign Lorestones", StoneTableId::Sign},
}};

// The caption of RadioButton<n>, whichever page it is on; empty for no such button.
constexpr std::string_view buttonCaption(int radioButton) {
    for (const CategoryButton& button : kCategoryButtons) {
        if (button.radioButton == radioButton) {
            return button.caption;
        }
    }
    for (const StoneButton& button : kStoneButtons) {
        if (button.radioButton == radioButton) {
            return button.caption;
        }
    }
    for (const CityEntry& city : kCityDirectory) {
        if (city.radioButton == radioButton) {
            return city.caption;
        }
    }
    return {};
}

}  // namespace marventa
