#include "terrain_water.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/common/blend.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

// The lake (index) a river point lies in, or -1.
int lakeAt(const Waterways& water, QPointF p) {
    for (std::size_t i = 0; i < water.lakes.size(); ++i) {
        if (water.lakes[i].outline.containsPoint(p, Qt::OddEvenFill)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

Grid<unsigned char> lakeCover(const Waterways& water, int width, int height) {
    QImage mask(width, height, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const LakeShape& lake : water.lakes) {
        p.drawPolygon(lake.outline);
    }
    p.end();
    Grid<unsigned char> cover(width, height);
    for (int y = 0; y < height; ++y) {
        const uchar* row = mask.constScanLine(y);
        std::copy(row, row + width, &cover(0, y));
    }
    return cover;
}

std::vector<float> lakeLevels(const Waterways& water, const Grid<float>& h) {
    std::vector<float> levels;
    for (const LakeShape& lake : water.lakes) {
        float lowest = std::numeric_limits<float>::max();
        for (const QPointF& p : lake.outline) {
            lowest = std::min(lowest, h.clamped(static_cast<int>(p.x()), static_cast<int>(p.y())));
        }
        levels.push_back(std::max(0.01f, lowest - 0.006f));
    }
    return levels;
}

void fillLakes(const Waterways& water, const std::vector<float>& levels,
               const Grid<unsigned char>& cover, Grid<float>& h) {
    for (std::size_t i = 0; i < water.lakes.size(); ++i) {
        const QRectF box = water.lakes[i].outline.boundingRect().adjusted(-2, -2, 2, 2);
        for (int y = std::max(0, int(box.top())); y <= std::min(h.height() - 1, int(box.bottom()));
             ++y) {
            for (int x = std::max(0, int(box.left()));
                 x <= std::min(h.width() - 1, int(box.right())); ++x) {
                if (cover(x, y) > 0) {
                    h(x, y) = std::min(h(x, y), levels[i] - 0.01f * cover(x, y) / 255.0f);
                }
            }
        }
    }
}

std::vector<float> riverBed(const RiverLine& river, const Grid<float>& h, const Waterways& water,
                            const std::vector<float>& levels,
                            const std::vector<std::vector<float>>& earlierBeds) {
    const std::size_t n = river.points.size();
    std::vector<float> bed(n);
    float running = std::numeric_limits<float>::max();
    const int sourceLake = lakeAt(water, river.points.front());
    if (sourceLake >= 0) {
        running = levels[static_cast<std::size_t>(sourceLake)];
    }
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF p = river.points[i];
        running = std::min(running - 1e-6f, h.clamped(int(p.x()), int(p.y())) - 0.012f);
        bed[i] = running;
    }
    // The running minimum falls in steps wherever the noisy ground dips under the river, and each
    // step would show as a terrace across the valley; a moving average (still falling all the
    // way) spreads every step over some sixty pixels of river.
    constexpr std::size_t kWindow = 8;
    std::vector<float> smooth(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = i >= kWindow ? i - kWindow : 0;
        const std::size_t to = std::min(n - 1, i + kWindow);
        float sum = 0.0f;
        for (std::size_t k = from; k <= to; ++k) {
            sum += bed[k];
        }
        smooth[i] = std::min(sum / static_cast<float>(to - from + 1),
                             i > 0 ? smooth[i - 1] : std::numeric_limits<float>::max());
    }
    bed = smooth;
    float floor = -1.0f;
    const int mouthLake = lakeAt(water, river.points.back());
    if (mouthLake >= 0) {
        floor = levels[static_cast<std::size_t>(mouthLake)];
    }
    for (std::size_t r = 0; r < earlierBeds.size(); ++r) {
        // A tributary joins an earlier river: it may not fall below that river's bed there.
        const Nearest n2 = nearestOnPolyline(river.points.back(), water.rivers[r].points);
        if (n2.distance < 20.0) {
            floor = std::max(floor, earlierBeds[r][n2.segment]);
        }
    }
    for (float& b : bed) {
        b = std::max(b, floor);
    }
    return bed;
}

void cutValley(const RiverLine& river, const std::vector<float>& bed, float reach, Grid<float>& h) {
    Grid<float> nearest(h.width(), h.height(), std::numeric_limits<float>::max());
    Grid<int> which(h.width(), h.height(), -1);
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        around(nearest, river.points[i], reach, [&](int x, int y, float d) {
            if (d < nearest(x, y)) {
                nearest(x, y) = d;
                which(x, y) = static_cast<int>(i);
            }
        });
    }
    const std::size_t last = river.points.size() - 1;
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        around(nearest, river.points[i], reach, [&](int x, int y, float) {
            if (which(x, y) != static_cast<int>(i)) {
                return;
            }
            // The nearest point of the river's line itself (not only of its sample points), with
            // the bed and width there, so the valley's floor and walls run smoothly along it.
            const std::size_t a = i > 0 ? i - 1 : 0;
            const std::size_t b2 = std::min(last, i + 1);
            const std::vector<QPointF> piece(river.points.begin() + static_cast<long>(a),
                                             river.points.begin() + static_cast<long>(b2) + 1);
            const Nearest n = nearestOnPolyline(QPointF(x, y), piece);
            const std::size_t k = a + n.segment;
            const std::size_t k2 = std::min(last, k + 1);
            const auto t = static_cast<float>(n.along);
            const float b = bed[k] + (bed[k2] - bed[k]) * t;
            const float width = river.widths[k] + (river.widths[k2] - river.widths[k]) * t;
            const auto d = static_cast<float>(n.distance);
            const float keep = std::pow(smoothstep(width * 0.5f + 1.0f, reach, d), 0.8f);
            if (h(x, y) > b) {
                h(x, y) = b + (h(x, y) - b) * keep;
            }
        });
    }
}

void recutChannel(const RiverLine& river, const std::vector<float>& bed, Grid<float>& h) {
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        around(h, river.points[i], river.widths[i] * 0.5 + 0.5,
               [&](int x, int y, float) { h(x, y) = std::min(h(x, y), bed[i]); });
    }
}

}  // namespace marventa
