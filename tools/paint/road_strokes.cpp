#include "tools/paint/road_strokes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

StrokedLine inStrokes(const std::vector<QPointF>& line, double reach) {
    StrokedLine out{line, std::vector<float>(line.size(), 1.0f)};
    if (line.size() < 3) {
        return out;
    }
    // The joints: where a broad field of the sheet changes sign along the line, no two closer
    // than a short stroke.
    constexpr double kShortest = 16.0;
    const Noise marks(0x4A4D'0101);
    const auto field = [&](QPointF q) {
        return marks.fbm(static_cast<float>(q.x() / 52.0), static_cast<float>(q.y() / 52.0), 2);
    };
    std::vector<std::size_t> knots{0};
    double since = 0.0;
    float was = field(line.front());
    for (std::size_t i = 1; i + 1 < line.size(); ++i) {
        since += length(line[i] - line[i - 1]);
        const float now = field(line[i]);
        if ((now < 0.0f) != (was < 0.0f) && since >= kShortest) {
            knots.push_back(i);
            since = 0.0;
        }
        was = now;
    }
    knots.push_back(line.size() - 1);
    for (std::size_t k = 0; k + 1 < knots.size(); ++k) {
        const std::size_t a = knots[k];
        const std::size_t b = knots[k + 1];
        const QPointF from = line[a];
        const QPointF chord = line[b] - from;
        const double span = length(chord);
        // Each stroke its own weight, from where it lies, a touch heavier or lighter.
        const QPointF mid = 0.5 * (line[a] + line[b]);
        const float weight = 1.0f + 0.12f * marks.fbm(static_cast<float>(mid.x() / 23.0) + 17.0f,
                                                      static_cast<float>(mid.y() / 23.0), 1);
        for (std::size_t i = a; i <= b; ++i) {
            const double t =
                span > 1e-6 ? std::clamp(QPointF::dotProduct(line[i] - from, chord) / (span * span),
                                         0.0, 1.0)
                            : 0.0;
            if (i > a && i < b && span > 1e-6) {
                // Toward the chord, most in the stroke's middle, never past `reach`.
                const QPointF toChord = from + chord * t - line[i];
                const double pull = 0.85 * std::sin(std::numbers::pi * t);
                QPointF move = toChord * pull;
                const double far = length(move);
                if (far > reach) {
                    move *= reach / far;
                }
                out.points[i] = line[i] + move;
            }
            out.press[i] = weight * static_cast<float>(1.06 - 0.12 * t);
        }
    }
    return out;
}

}  // namespace marventa
