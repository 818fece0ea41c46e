#include "tools/paint/ink_knockout.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <utility>
#include <vector>

namespace marventa {

namespace {

// The ground is read this far either way round each pixel: wider than any line a name may sit
// on, narrow enough to follow a wash's changes.
constexpr int kWindow = 5;
// How much darker than its ground a pixel must be to count as ink, and by how much more it
// is wholly ink: the paper's grain and a wash's brush marks stay.
constexpr int kInkFrom = 10;
constexpr double kInkFull = 26.0;
// How much bluer than red the ink of a river's or a brook's banks is, and no other ink.
constexpr int kWaterBlue = 50;
// How much farther from the letters than other ink a line of water is broken: an area's name
// spaced wide would otherwise let a brook run on between its letters.
constexpr double kWaterReach = 3.5;
// Breaking water, its line's soft edge too, which is only a little bluer than the ground.
constexpr int kWaterEdgeBlue = 15;

int luma(QRgb c) {
    return (qRed(c) * 11 + qGreen(c) * 16 + qBlue(c) * 5) / 32;
}

}  // namespace

void knockOutInk(QPainter& painter, const QImage& sheet, const QPainterPath& glyphs, double reach,
                 bool water) {
    const double far = water ? reach + kWaterReach : reach;
    const QRect area = glyphs.boundingRect()
                           .adjusted(-far - 1, -far - 1, far + 1, far + 1)
                           .toAlignedRect()
                           .intersected(sheet.rect());
    if (area.isEmpty()) {
        return;
    }
    const auto cover = [&](double r) {
        QImage mask(area.size(), QImage::Format_Grayscale8);
        mask.fill(0);
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing);
        mp.translate(-area.topLeft());
        mp.setPen(QPen(Qt::white, 2 * r, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        mp.setBrush(Qt::white);
        mp.drawPath(glyphs);
        return mask;
    };
    const QImage mask = cover(reach);
    const QImage wide = water ? cover(far) : mask;
    const QRect read =
        area.adjusted(-kWindow, -kWindow, kWindow, kWindow).intersected(sheet.rect());
    const QImage ground = sheet.copy(read).convertToFormat(QImage::Format_RGB32);
    const auto at = [&](int x, int y) {
        return reinterpret_cast<const QRgb*>(ground.constScanLine(y - read.top()))[x - read.left()];
    };
    QImage patch(area.size(), QImage::Format_ARGB32_Premultiplied);
    patch.fill(Qt::transparent);
    std::vector<std::pair<int, QRgb>> window;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* near = mask.constScanLine(y - area.top());
        const uchar* wider = wide.constScanLine(y - area.top());
        auto* out = reinterpret_cast<QRgb*>(patch.scanLine(y - area.top()));
        for (int x = area.left(); x <= area.right(); ++x) {
            int m = near[x - area.left()];
            const QRgb own = at(x, y);
            // Running water's blue goes on under a place's name: broken, a river would read as
            // ending beside its symbol.
            if (qBlue(own) - qRed(own) > (water ? kWaterEdgeBlue : kWaterBlue)) {
                if (!water) {
                    continue;
                }
                m = wider[x - area.left()];
            }
            if (m == 0) {
                continue;
            }
            window.clear();
            for (int v = std::max(read.top(), y - kWindow);
                 v <= std::min(read.bottom(), y + kWindow); ++v) {
                for (int u = std::max(read.left(), x - kWindow);
                     u <= std::min(read.right(), x + kWindow); ++u) {
                    const QRgb c = at(u, v);
                    window.emplace_back(luma(c), c);
                }
            }
            // The ground: a light quarter of what lies round, so that lines thinner than the
            // window fall out of it and the wash's own tone stays.
            const auto light = window.begin() + static_cast<std::ptrdiff_t>(window.size() * 3 / 4);
            std::nth_element(window.begin(), light, window.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            const double ink =
                std::clamp((light->first - luma(own) - kInkFrom) / kInkFull, 0.0, 1.0);
            if (ink <= 0.0) {
                continue;
            }
            const int a = static_cast<int>(m * ink + 0.5);
            const QRgb c = light->second;
            out[x - area.left()] =
                qRgba(qRed(c) * a / 255, qGreen(c) * a / 255, qBlue(c) * a / 255, a);
        }
    }
    painter.drawImage(area.topLeft(), patch);
}

}  // namespace marventa
