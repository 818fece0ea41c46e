#include "figure_table.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

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

std::optional<double> ratio(double ours, const std::optional<double>& reference) {
    if (!reference || *reference <= 0) {
        return std::nullopt;
    }
    return ours / *reference;
}

bool judgedOnDefaultScript(const Figure& figure) {
    return figure.defaultScript && !figure.goalOnSameBytes;
}

std::string ratioText(const std::optional<double>& value) {
    char text[16] = "-";
    if (value) {
        std::snprintf(text, sizeof text, "%.2f", *value);
    }
    return text;
}

}  // namespace

bool met(const Figure& figure) {
    if (!figure.goalIsRatio) {
        return figure.ours <= figure.goal;
    }
    const std::optional<double> judged =
        ratio(figure.ours, judgedOnDefaultScript(figure) ? figure.defaultScript : figure.reference);
    return judged && *judged <= figure.goal;
}

int printTable(const std::vector<Figure>& figures, const std::string& heading) {
    std::printf("%s\n", heading.c_str());
    std::printf("%-52s %14s  %-30s %6s  %-14s %6s  %-28s %s\n", "figure", "ours",
                "reference, same bytes", "ratio", "default script", "ratio", "goal", "met");
    int missed = 0;
    for (const Figure& figure : figures) {
        const std::string reference =
            figure.reference ? amount(*figure.reference, figure.unit) + " " + figure.referenceName
                             : std::string("-");
        const std::string defaultScript =
            figure.defaultScript ? amount(*figure.defaultScript, figure.unit) : std::string("-");
        char goal[48];
        if (figure.goalIsRatio) {
            std::snprintf(goal, sizeof goal, "<= %.2f x %s", figure.goal,
                          judgedOnDefaultScript(figure) ? "default script"
                          : figure.goalOnSameBytes      ? "same bytes"
                                                        : "reference");
        } else {
            std::snprintf(goal, sizeof goal, "<= %s", amount(figure.goal, figure.unit).c_str());
        }
        const bool ok = met(figure);
        missed += ok ? 0 : 1;
        std::printf("%-52s %14s  %-30s %6s  %-14s %6s  %-28s %s\n", figure.name.c_str(),
                    amount(figure.ours, figure.unit).c_str(), reference.c_str(),
                    ratioText(ratio(figure.ours, figure.reference)).c_str(), defaultScript.c_str(),
                    ratioText(ratio(figure.ours, figure.defaultScript)).c_str(), goal,
                    ok ? "yes" : "NO");
        if (!figure.note.empty()) {
            std::printf("    %s\n", figure.note.c_str());
        }
    }
    return missed;
}

}  // namespace marventa::bench
