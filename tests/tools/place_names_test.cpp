#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "catalogue/button_directory.h"
#include "catalogue/catalogue.h"
#include "tools/common/world_places.h"

using namespace marventa;

namespace {

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// The word a name is known by: lower case, without "The", "Shrine of" and the like, and
// without what says its category ("Mine", "Keep", "Camp"...).
std::string core(const std::string& name) {
    static const std::vector<std::string> kGeneric{
        "the",      "shrine", "of",     "stone",  "sign",    "mine",   "pit",  "shaft",
        "workings", "keep",   "fort",   "tower",  "hold",    "watch",  "cave", "cavern",
        "grotto",   "den",    "hole",   "hollow", "camp",    "old",    "lead", "tin",
        "iron",     "silver", "copper", "coal",   "bastion", "chimney"};
    std::string out;
    std::string word;
    auto flush = [&] {
        if (!word.empty() && std::find(kGeneric.begin(), kGeneric.end(), word) == kGeneric.end()) {
            out += (out.empty() ? "" : " ") + word;
        }
        word.clear();
    };
    bool possessive = false;  // "Brennick's Hole" is Brennick's
    for (char c : name + " ") {
        if (c == ' ') {
            flush();
            possessive = false;
        } else if (c == '\'') {
            possessive = true;
        } else if (!possessive && std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

// Which names a reader compares with each other: the villages and towns, the elven ruins, the
// shrines. Among those, names may not share their first four letters, nor differ in two letters
// or less when they start alike; across all names, no two differ in one letter only. A cave or
// fort named after its village ("Kolvern", "Kolvern Watch") is meant.
int group(PlaceKind k) {
    switch (k) {
        case PlaceKind::Town:
        case PlaceKind::City:
        case PlaceKind::Settlement:
            return 1;
        case PlaceKind::ElvenRuin:
            return 2;
        case PlaceKind::Shrine:
            return 3;
        default:
            return 0;
    }
}

// The last word of a name in lower case ("hollow" of "Seal Hollow").
std::string lastWord(const std::string& name) {
    std::string word;
    for (char c : name) {
        word = c == ' ' ? std::string() : word + static_cast<char>(std::tolower(c));
    }
    return word;
}

// The longest run of letters two words have in the same order, not necessarily together.
std::size_t commonLetters(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (char c : a) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = c == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::size_t commonEnding(const std::string& a, const std::string& b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) {
        ++n;
    }
    return n;
}

bool confusable(const ProvincePlace& a, const ProvincePlace& b) {
    const std::string x = core(a.name);
    const std::string y = core(b.name);
    if (x.empty() || y.empty() || a.name == b.name) {
        return false;
    }
    const std::string ta = lastWord(a.name);
    const std::string tb = lastWord(b.name);
    // Two places known by one word, told apart only by look-alike words for what they are.
    if (x == y) {
        return ta != tb && ta.substr(0, 3) == tb.substr(0, 3);
    }
    if (x.rfind(y + " ", 0) == 0 || y.rfind(x + " ", 0) == 0) {
        return false;
    }
    // In one list, one-word names before the same word that begin alike, are of a length and
    // are mostly the same letters in the same order ("Seal", "Sallow"), or end in the same long
    // syllables ("Ironthroat", "Cinderthroat").
    const std::size_t shorter = std::min(x.size(), y.size());
    const std::size_t longer = std::max(x.size(), y.size());
    // Camps named for who keeps them ("Stonecutters'", "Woodcutters'") are meant to rhyme.
    const bool oneWord = x.find(' ') == std::string::npos && y.find(' ') == std::string::npos &&
                         a.name.find('\'') == std::string::npos &&
                         b.name.find('\'') == std::string::npos;
    if (a.kind == b.kind && ta == tb && x != ta && y != tb && oneWord && shorter >= 3 &&
        ((x.front() == y.front() && 2 * longer <= 3 * shorter &&
          4 * commonLetters(x, y) >= 3 * shorter) ||
         commonEnding(x, y) >= 6)) {
        return true;
    }
    const std::size_t d = editDistance(x, y);
    if (d <= 1) {
        return true;
    }
    // In a compared group, names that start and end alike ("Cainuel", "Caithinuel").
    return group(a.kind) != 0 && group(a.kind) == group(b.kind) &&
           (x.substr(0, 4) == y.substr(0, 4) || (d <= 2 && x[0] == y[0]) ||
            (x.substr(0, 3) == y.substr(0, 3) && commonEnding(x, y) >= 3));
}

}  // namespace

TEST(PlaceNames, NoTwoProvinceNamesAreTooAlike) {
    const std::vector<ProvincePlace> places = provincePlaces();
    for (std::size_t i = 0; i < places.size(); ++i) {
        for (std::size_t j = i + 1; j < places.size(); ++j) {
            EXPECT_FALSE(confusable(places[i], places[j]))
                << places[i].name << " / " << places[j].name;
        }
    }
}

TEST(PlaceNames, TheRuleTellsAlikeFromMeant) {
    auto alike = [](const char* a, PlaceKind ka, const char* b, PlaceKind kb) {
        return confusable({a, {}, ka}, {b, {}, kb});
    };
    EXPECT_TRUE(alike("Askven", PlaceKind::Town, "Saskven", PlaceKind::Settlement));
    EXPECT_TRUE(alike("Haskdorn", PlaceKind::Settlement, "Haskgarth", PlaceKind::Settlement));
    EXPECT_TRUE(alike("Ithras", PlaceKind::ElvenRuin, "Ithrhis", PlaceKind::ElvenRuin));
    EXPECT_TRUE(alike("Highcleft Keep", PlaceKind::FortRuin, "High Cleft Mine", PlaceKind::Mine));
    EXPECT_FALSE(alike("Kolvern", PlaceKind::Settlement, "Kolvern Watch", PlaceKind::FortRuin));
    EXPECT_FALSE(alike("Kolvern Cave", PlaceKind::Cave, "Kolvern Watch", PlaceKind::FortRuin));
    EXPECT_FALSE(alike("Goat Cave", PlaceKind::Cave, "Gull Cave", PlaceKind::Cave));
    // Pairs a reader took for each other in one list.
    EXPECT_TRUE(alike("Brennick Hold", PlaceKind::FortRuin, "Brennick's Hole", PlaceKind::Cave));
    EXPECT_TRUE(alike("Sallow Hold", PlaceKind::FortRuin, "Sallow Hollow", PlaceKind::Cave));
    EXPECT_TRUE(alike("Seal Hollow", PlaceKind::Cave, "Sallow Hollow", PlaceKind::Cave));
    EXPECT_TRUE(
        alike("Cinderthroat Cavern", PlaceKind::Cave, "Ironthroat Cavern", PlaceKind::Cave));
    EXPECT_TRUE(alike("Cainuel", PlaceKind::ElvenRuin, "Caithinuel", PlaceKind::ElvenRuin));
    EXPECT_FALSE(alike("Saltreach", PlaceKind::City, "The Salted Herring", PlaceKind::Inn));
}

// A renamed place keeps its row, so its new name must still fall in the list's alphabetical
// order, or the player finds it out of place in the list the category shows.
TEST(PlaceNames, EveryCategoryListsItsNamesAlphabetically) {
    const auto lower = [](std::string_view name) {
        std::string out(name);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    for (const CategoryButton& button : kCategoryButtons) {
        const auto rows = placeTable(button.table).rows();
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_LT(lower(rows[i - 1].name), lower(rows[i].name))
                << button.caption << ": " << rows[i - 1].name << " before " << rows[i].name;
        }
    }
}
