#pragma once

#include <array>
#include <string_view>
#include <variant>

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

// The list a radio button's click fills: ListBox1 on the "Standard" page, ListBox2 on "Extras",
// ListBox3 on "Cities".
enum class ButtonList { Categories, Stones, CityBuildings };

// What RadioButton<n> stands for, whichever page it is on: its caption, the list it fills and
// the table whose names go into it.
struct ButtonEntry {
    int radioButton = 0;
    std::string_view caption;
    ButtonList list = ButtonList::Categories;
    std::variant<PlaceTableId, StoneTableId> table;
};

// RadioButton1 .. RadioButton20, in number order.
inline constexpr std::array<ButtonEntry, 20> kButtons = [] {
    std::array<ButtonEntry, 20> buttons{};
    const auto put = [&buttons](const ButtonEntry& entry) {
        buttons.at(static_cast<std::size_t>(entry.radioButton - 1)) = entry;
    };
    for (const CategoryButton& button : kCategoryButtons) {
        put({button.radioButton, button.caption, ButtonList::Categories, button.table});
    }
    for (const StoneButton& button : kStoneButtons) {
        put({button.radioButton, button.caption, ButtonList::Stones, button.table});
    }
    for (const CityEntry& city : kCityDirectory) {
        put({city.radioButton, city.caption, ButtonList::CityBuildings, city.table});
    }
    return buttons;
}();

// RadioButton<n>'s entry; std::out_of_range for no such button.
constexpr const ButtonEntry& buttonEntry(int radioButton) {
    return kButtons.at(static_cast<std::size_t>(radioButton - 1));
}

}  // namespace marventa
