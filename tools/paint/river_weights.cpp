#include "tools/paint/river_weights.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

std::vector<float> taperedFromSource(const RiverLine& r, bool fromLake, const Taper& taper) {
    std::vector<float> widths = r.widths;
    if (widths.empty() || widths.size() != r.points.size()) {
        return widths;
    }
    for (std::size_t i = 1; i < widths.size(); ++i) {
        widths[i] = std::max(widths[i], widths[i - 1]);
    }
    for (std::size_t i = widths.size(); i-- > 0;) {
        widths[i] += taper.grow * std::min(widths[i] - widths.front(), 2.0f);
    }
    const Noise hand(0x1A4E'0002);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const QPointF q = r.points[i];
        widths[i] *= 1.0f + 0.15f * hand.fbm(static_cast<float>(q.x() / 60.0),
                                             static_cast<float>(q.y() / 60.0), 2);
    }
    if (fromLake || r.points.size() < 2) {
        return widths;
    }
    double total = 0.0;
    for (std::size_t i = 1; i < r.points.size(); ++i) {
        total += length(r.points[i] - r.points[i - 1]);
    }
    const double reach = std::min(taper.longest, 0.4 * total);
    double along = 0.0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0) {
            along += length(r.points[i] - r.points[i - 1]);
        }
        const double f =
            taper.floor + (1.0 - taper.floor) * (taper.wholeCourse
                                                     ? along / std::max(total, 1.0)
                                                     : smoothstep(0.0f, static_cast<float>(reach),
                                                                  static_cast<float>(along)));
        const double fadeIn = taper.rise > 0.0
                                  ? 0.1 + 0.9 * smoothstep(0.0f, static_cast<float>(taper.rise),
                                                           static_cast<float>(along))
                                  : 1.0;
        widths[i] = static_cast<float>(widths[i] * f * fadeIn);
    }
    return widths;
}

std::vector<float> ownWidthToTheEnd(const RiverLine& r, double reach) {
    std::vector<float> widths = r.widths;
    if (r.points.size() < 2 || widths.size() != r.points.size()) {
        return widths;
    }
    std::size_t from = r.points.size() - 1;
    for (double run = 0.0; from > 0 && run < reach; --from) {
        run += length(r.points[from] - r.points[from - 1]);
    }
    for (std::size_t i = from + 1; i < widths.size(); ++i) {
        widths[i] = std::min(widths[i], widths[from]);
    }
    return widths;
}

std::vector<float> funnelShare(const std::vector<QPointF>& pts, const std::vector<float>& widths) {
    std::vector<float> share(pts.size(), 0.0f);
    if (pts.size() < 2 || widths.size() != pts.size()) {
        return share;
    }
    std::size_t up = pts.size() - 1;
    for (double run = 0.0; up > 0 && run < 240.0; --up) {
        run += length(pts[up] - pts[up - 1]);
    }
    const float narrow = std::max(1.0f, widths[up]);
    double toMouth = 0.0;
    for (std::size_t i = pts.size(); i-- > up;) {
        if (i + 1 < pts.size()) {
            toMouth += length(pts[i + 1] - pts[i]);
        }
        share[i] = smoothstep(1.6f * narrow, 3.2f * narrow, widths[i]) *
                   smoothstep(0.0f, 16.0f, static_cast<float>(toMouth));
    }
    return share;
}

}  // namespace marventa
