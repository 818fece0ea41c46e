#pragma once

#include "catalogue/records.h"

namespace marventa {

// Natalsign lorestones, in open country, in the order of the year's signs.
// clang-format off
inline constexpr SignStoneRecord kSignStones[] = {
    {"Sign of the Loom", "596", "497",
     {"+5 to Wits", "+10 to Herbcraft"}},
    {"Sign of the Heron", "1045", "1090",
     {"+10 to Swiftness"}},
    {"Sign of the Twin Keys", "1049", "2067",
     {"+15 to Lockpicking", "+5 to Grace", "-5 to Might"}},
    {"Sign of the Broken Crown", "1894", "1627",
     {"+10 to Might", "+10 to Swordplay", "Resist Fear 25%", "-10 to Haggling"}},
    {"Sign of the Salt Wife", "3060", "639",
     {"Resist Frost 25%", "Swim 30% faster"}},
    {"Sign of the Ferryman", "2024", "2032",
     {"+10 to Resolve", "Resist Poison 15%", "Once a day: walk on water for 30 s"}},
    {"Sign of the Bramble Hare", "2444", "1649",
     {"Reflect 10% of melee damage"}},
    {"Sign of the Lamplighter", "2748", "771",
     {"+10 to Spirit", "Light spells cost nothing", "See in darkness at night",
      "Weakness to Frost 10%"}},
    {"Sign of the Ewe", "2770", "1507",
     {"+10 to Endurance", "Regenerate 1 Health per 15 s"}},
    {"Sign of the Hollow Drum", "2562", "185",
     {"+10 to Persuasion", "+5 to Luck", "Calm animals nearby"}},
    {"Sign of the Red Kite", "1625", "813",
     {"+10 to Archery"}},
    {"Sign of the Millwheel", "240", "633",
     {"Carry 30 more pounds", "+5 to Endurance"}},
    {"Sign of the Drowned Bell", "2432", "798",
     {"Breathe underwater", "Resist Lightning 20%", "-5 to Grace"}},
};
// clang-format on

}  // namespace marventa
