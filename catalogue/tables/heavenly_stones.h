#pragma once

#include "catalogue/records.h"

namespace marventa {

// Heavenly lorestones, on the crests of the highland ranges, by fame needed.
// clang-format off
inline constexpr HeavenlyStoneRecord kHeavenlyStones[] = {
    {"Stone of the Morning Ember", "932", "197", "10",
     {"+5 to Endurance", "Resist Frost 10%"}},
    {"Stone of the Wandering Moon", "2776", "952", "20",
     {"+5 to Grace", "+10 to Stealth", "See in darkness at night"}},
    {"Stone of the Seventh Star", "689", "1087", "30",
     {"+10 to Wits", "+15 to Spirit", "-5% Spell Cost", "Weakness to Lightning 10%"}},
    {"Stone of the Veiled Comet", "1624", "496", "40",
     {"+10 to Swiftness", "+10 to Archery", "Resist Poison 25%", "Jump 20% higher",
      "-5 to Resolve"}},
    {"Stone of the Twin Lanterns", "1652", "1883", "50",
     {"+10 to Resolve", "+10 to Might", "Regenerate 1 Health per 10 s", "Resist Fire 20%",
      "+10 to Haggling", "Glow softly after dusk"}},
    {"Stone of the Ninefold Sky", "2984", "1439", "60",
     {"+10 to all Resistances", "+15 to Wits", "+15 to Spirit", "Reflect 5% of spells",
      "Breathe underwater", "+5 to Luck", "Weakness to Fire 15%"}},
    {"Stone of the Crowned Dusk", "537", "803", "70",
     {"+20 to Luck", "+25 Fame in every city", "Once a day: call a spectral hound"}},
};
// clang-format on

}  // namespace marventa
