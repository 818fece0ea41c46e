#pragma once

#include <optional>
#include <string>
#include <vector>

namespace marventa::bench {

// The median of some samples (the mean of the middle two for an even count); 0 for none.
double median(std::vector<double> samples);

// One line of the table: our figure beside its references and its goal. The reference is djpeg
// on the very bytes we decode, so its ratio shows our decoder's overhead; the default-script
// reference is djpeg on the same picture written in libjpeg's default progressive scan script,
// so its ratio also shows what the scan script we ship saves. A ratio goal compares ours with
// the default-script reference where there is one (unless goalOnSameBytes), otherwise with the
// reference; an absolute goal compares ours itself.
struct Figure {
    std::string name;
    std::string unit;  // of `ours` and `reference`
    double ours = 0;
    std::optional<double> reference;  // measured in the same run
    std::string referenceName;
    double goal = 0;
    bool goalIsRatio = false;
    std::string note;                       // printed under the line, e.g. CPU-time ratios
    std::optional<double> defaultScript{};  // measured in the same run
    bool goalOnSameBytes = false;
};

bool met(const Figure& figure);

// Prints the table and returns how many goals were missed.
int printTable(const std::vector<Figure>& figures, const std::string& heading);

}  // namespace marventa::bench
