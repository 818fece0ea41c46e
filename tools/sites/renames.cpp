#include "renames.h"

namespace marventa {

const std::vector<std::pair<std::string_view, std::string_view>>& renames() {
    static const std::vector<std::pair<std::string_view, std::string_view>> kRenames{
        {"Saskven", "Skelby"},
        {"Haskgarth", "Heathby"},
        {"Kestlecombe", "Larkmoor"},
        {"Reedmere", "Quarnby"},
        {"Raskdorn", "Ravensey"},
        {"Felgarth", "Eskerby"},
        {"Brenhal", "Brenthorpe"},
        {"Brenhal Mine", "Brenthorpe Mine"},
        {"Gullhaven", "Gullwick"},
        {"Brinestead", "Chalkwell"},
        {"Lindorn", "Moddle"},
        {"Haldren", "Halbury"},
        {"Weatherglass Tor", "The Thimble Tor"},
        {"Shrine of Oskreth", "Shrine of Mulgath"},
        {"High Cleft Mine", "Hollin Mine"},
        {"Ithrhis", "Ithsaleth"},
        {"Cainalith", "Brysalith"},
        {"Maeriquel", "Maesyllin"},
        {"Zaerhis", "Zelanthir"},
        {"Nainawyr", "Naioleth"},
        {"Naiverhis", "Nyssavel"},
        {"Quorhis", "Quorravel"},
        {"Ithrimaer", "Ithuvane"},
        {"Thesrithae", "Ulvithae"},
        {"Vythirhis", "Vytselle"},
        {"Tarnholt", "Tanbury"},
        {"Tallow Watch", "Sunder Watch"},
        {"Tallow Cave", "Tanner's Cave"},
        {"Shepherd's Cavern", "Shiverstone Cavern"},
        {"Ferrymen's Camp", "Fen Cutters' Camp"},
        // Names a reader could take for one another in one list.
        {"Brennick's Hole", "Bramble Hole"},
        {"Sallow Hollow", "Saddleback Hollow"},
        {"Sallow Hold", "Sable Hold"},
        {"Seal Hollow", "Seaspray Hollow"},
        {"Vessel Hollow", "Vixen Hollow"},
        {"Ironthroat Cavern", "Ironwell Cavern"},
        {"Cainuel", "Caelith"},
        {"Maethiras", "Maewyth"},
        {"Barrowmouth Cave", "Badger Cave"},
        {"Caithinuel", "Caislaeth"},
        // A grotto named for Coldtarn would have to open by the tarn, whose valley has none.
        {"Coldtarn Grotto", "Coldside Grotto"},
        // A "mouth" is a river's at the sea; this town stands where the Oll leaves Orl Water.
        {"Orlmouth", "Osierweir"},
        // The coast at the Cinderbrook's mouth is straight: no bay to see, but dunes and a landing.
        {"Marram Bay", "Marramhythe"},
        // A fell is a hill, and the ground by Saelith Wood is level: a town known by its spire.
        {"Fellstow", "Fawnspire"},
        // "-sey" is an island's name, and the town stands on the mainland's shore.
        {"Ravensey", "Rathstrand"},
        // No bridge within sight of the village: a cottage hamlet by the carters' road.
        {"Wainbridge", "Waincott"},
        // The shore there bulges too faintly for a ness.
        {"Tarrow Ness", "Tarrow Shore"},
        // Ravelwood is dry oak, no fen.
        {"Fenholt", "Fernholt"},
        // One road runs by, and nothing crosses it.
        {"Sorrel Cross", "Sorrel Lea"},
        // The ragged shore left the town a straight beach and no sheltered water.
        {"Shellhaven", "Shellstrand"},
        // A scar is a rock face, and the village lies on the level meadow below Saelith Wood; its
        // mine and cavern keep its name.
        {"Stannscar", "Stannock"},
        {"Stannscar Tin Mine", "Stannock Tin Mine"},
        {"Stannscar Cavern", "Stannock Cavern"},
        // No spring rises by it: the cave opens in the south shore's cliffs, its pool still below
        // the surf.
        {"Steaming Hole", "Stillwave Hole"},
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
