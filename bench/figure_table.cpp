#include "figure_table.h"

#include <algorithm>
#include <cstdio>

namespace marventa::bench {

double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

namespace {

std::string amount(double value, const std::string& unit) {
    char text[64];
    std::snprintf(text, sizeof text,
                  value >= 100 || value == static_cast<long long>(value) ? "%.0f %s" : "%.2f %s",
                  value, unit.c_str());
    return text;
}

double ratio(const Figure& figure) {
    return figure.reference && *figure.reference > 0 ? figure.ours / *figure.reference : 0;
}

}  // namespace

bool met(const Figure& figure) {
    return figure.goalIsRatio ? figure.reference && ratio(figure) <= figure.goal
                              : figure.ours <= figure.goal;
}

int printTable(const std::vector<Figure>& figures, const std::string& heading) {
    std::printf("%s\n", heading.c_str());
    std::printf("%-52s %14s  %-30s %6s  %-20s %s\n", "figure", "ours", "reference", "ratio", "goal",
                "met");
    int missed = 0;
    for (const Figure& figure : figures) {
        const std::string reference =
            figure.reference ? amount(*figure.reference, figure.unit) + " " + figure.referenceName
                             : std::string("-");
        char ratioText[16] = "-";
        if (figure.reference && *figure.reference > 0) {
            std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio(figure));
        }
        char goal[48];
        if (figure.goalIsRatio) {
            std::snprintf(goal, sizeof goal, "<= %.2f x reference", figure.goal);
        } else {
            std::snprintf(goal, sizeof goal, "<= %s", amount(figure.goal, figure.unit).c_str());
        }
        const bool ok = met(figure);
        missed += ok ? 0 : 1;
        std::printf("%-52s %14s  %-30s %6s  %-20s %s\n", figure.name.c_str(),
                    amount(figure.ours, figure.unit).c_str(), reference.c_str(), ratioText, goal,
                    ok ? "yes" : "NO");
        if (!figure.note.empty()) {
            std::printf("    %s\n", figure.note.c_str());
        }
    }
    return missed;
}

}  // namespace marventa::bench
