#include "renames.h"

namespace marventa {

const std::vector<std::pair<std::string_view, std::string_view>>& renames() {
    static const std::vector<std::pair<std::string_view, std::string_view>> kRenames{
        {"Saskven", "Morrowby"},
        {"Haskgarth", "Wrenfold"},
        {"Kestlecombe", "Thistlebury"},
        {"Reedmere", "Harrowfield"},
        {"Raskdorn", "Brockhurst"},
        {"Felgarth", "Oxlade"},
        {"Brenhal", "Tamsey"},
        {"Brenhal Mine", "Tamsey Mine"},
        {"Gullhaven", "Tidesend"},
        {"Brinestead", "Coppleby"},
        {"Lindorn", "Moddle"},
        {"Haldren", "Corrowdean"},
        {"Weatherglass Tor", "Grimble Tor"},
        {"Shrine of Oskreth", "Shrine of Vulmadh"},
        {"High Cleft Mine", "Whitewall Mine"},
        {"Ithrhis", "Seravenn"},
        {"Cainalith", "Talvireth"},
        {"Maeriquel", "Oloquel"},
        {"Zaerhis", "Denavyr"},
        {"Nainawyr", "Fennaquel"},
        {"Naiverhis", "Elvasse"},
        {"Quorhis", "Rhunaleth"},
        {"Ithrimaer", "Ostramaer"},
        {"Thesrithae", "Calvithae"},
        {"Vythirhis", "Essirhis"},
        {"Tarnholt", "Dunnock"},
        {"Tallow Watch", "Bracken Watch"},
        {"Tallow Cave", "Mutton Cave"},
        {"Shepherd's Cavern", "Shearling Cavern"},
        {"Ferrymen's Camp", "Bargemen's Camp"},
    };
    return kRenames;
}

void applyRenames(std::vector<ProvincePlace>& places) {
    for (ProvincePlace& p : places) {
        for (const auto& [from, to] : renames()) {
            if (p.name == from) {
                p.name = std::string(to);
            }
        }
    }
}

}  // namespace marventa
