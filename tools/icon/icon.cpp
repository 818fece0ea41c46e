#include "icon.h"

#include "tools/paint/compass_rose.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace marventa {

namespace {

QPainterPath foldedSheet(double u) {
    // Three panels, the folds alternately raised and sunk.
    QPainterPath sheet;
    sheet.moveTo(2 * u, 8 * u);
    sheet.lineTo(11.3 * u, 5 * u);
    sheet.lineTo(20.6 * u, 8 * u);
    sheet.lineTo(30 * u, 5 * u);
    sheet.lineTo(30 * u, 26 * u);
    sheet.lineTo(20.6 * u, 29 * u);
    sheet.lineTo(11.3 * u, 26 * u);
    sheet.lineTo(2 * u, 29 * u);
    sheet.closeSubpath();
    return sheet;
}

void paintMap(QPainter& p, double u, bool smooth) {
    const QPainterPath sheet = foldedSheet(u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(241, 226, 184));
    p.drawPath(sheet);

    p.save();
    p.setClipPath(sheet);
    // Sea along the left panel, a green coast and a hill.
    p.setBrush(QColor(96, 156, 206));
    p.drawRect(QRectF(0, 0, 9 * u, 32 * u));
    QPainterPath land;
    land.moveTo(6 * u, 0);
    land.cubicTo(10 * u, 8 * u, 4 * u, 14 * u, 8 * u, 20 * u);
    land.cubicTo(10 * u, 24 * u, 6 * u, 28 * u, 7 * u, 32 * u);
    land.lineTo(32 * u, 32 * u);
    land.lineTo(32 * u, 0);
    land.closeSubpath();
    p.setBrush(QColor(150, 190, 110));
    p.drawPath(land);
    p.setBrush(QColor(198, 168, 110));
    p.drawEllipse(QPointF(25 * u, 23 * u), 5 * u, 3.2 * u);
    // Shade the middle panel: it slopes away from the light.
    p.setBrush(QColor(60, 40, 10, 46));
    p.drawPolygon(QPolygonF({QPointF(11.3 * u, 0), QPointF(20.6 * u, 0), QPointF(20.6 * u, 32 * u),
                             QPointF(11.3 * u, 32 * u)}));
    if (u >= 1.5) {  // too fine for the smallest sizes
        p.setPen(QPen(QColor(176, 38, 30), std::max(1.0, 1.3 * u), Qt::DotLine, Qt::RoundCap));
        QPainterPath route;
        route.moveTo(4 * u, 26 * u);
        route.cubicTo(10 * u, 30 * u, 12 * u, 20 * u, 18 * u, 25 * u);
        route.cubicTo(22 * u, 28 * u, 24 * u, 24 * u, 25 * u, 22 * u);
        p.setBrush(Qt::NoBrush);
        p.drawPath(route);
    }
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 62, 30), std::max(1.0, 1.1 * u), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(sheet);
    p.setPen(QPen(smooth ? QColor(90, 62, 30, 150) : QColor(90, 62, 30), std::max(0.8, 0.8 * u)));
    p.drawLine(QPointF(11.3 * u, 5 * u), QPointF(11.3 * u, 26 * u));
    p.drawLine(QPointF(20.6 * u, 8 * u), QPointF(20.6 * u, 29 * u));
}

struct Box {
    std::vector<QRgb> colours;
};

int channel(QRgb c, int axis) {
    return axis == 0 ? qRed(c) : axis == 1 ? qGreen(c) : qBlue(c);
}

// The channel with the widest spread, and that spread.
std::pair<int, int> widestAxis(const Box& box) {
    int best = 0;
    int spread = -1;
    for (int axis = 0; axis < 3; ++axis) {
        auto [lo, hi] = std::minmax_element(
            box.colours.begin(), box.colours.end(),
            [&](QRgb a, QRgb b) { return channel(a, axis) < channel(b, axis); });
        const int s = channel(*hi, axis) - channel(*lo, axis);
        if (s > spread) {
            spread = s;
            best = axis;
        }
    }
    return {best, spread};
}

QRgb average(const Box& box) {
    long r = 0, g = 0, b = 0;
    for (QRgb c : box.colours) {
        r += qRed(c);
        g += qGreen(c);
        b += qBlue(c);
    }
    const long n = static_cast<long>(box.colours.size());
    return qRgb(static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n),
                static_cast<int>((b + n / 2) / n));
}

// Qt's own conversion takes a SIMD path chosen by the CPU, whose rounding of part-covered
// edge pixels differs by a unit between machines; plain integer division does not.
QImage unpremultiplied(const QImage& premultiplied) {
    QImage out(premultiplied.size(), QImage::Format_ARGB32);
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const int a = qAlpha(in[x]);
            const auto channel = [a](int c) {
                return a == 0 ? 0 : std::min(255, (c * 255 + a / 2) / a);
            };
            row[x] = qRgba(channel(qRed(in[x])), channel(qGreen(in[x])), channel(qBlue(in[x])), a);
        }
    }
    return out;
}

}  // namespace

QImage paintIcon(int size, bool smooth) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    const double u = size / 32.0;
    paintMap(p, u, smooth);
    drawCompassRose(p, QPointF(17 * u, 16 * u), u, size >= 48);
    p.end();
    return unpremultiplied(image);
}

IconImage quantiseIcon(const QImage& argb, int bits) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    const int maxColours = (1 << bits) - 1;  // one entry stays for transparency
    std::vector<Box> boxes(1);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = src.pixel(x, y);
            if (qAlpha(c) >= 128) {
                boxes[0].colours.push_back(qRgb(qRed(c), qGreen(c), qBlue(c)));
            }
        }
    }
    std::vector<QRgb> distinct;
    for (QRgb c : boxes[0].colours) {
        if (std::find(distinct.begin(), distinct.end(), c) == distinct.end()) {
            distinct.push_back(c);
        }
    }
    if (static_cast<int>(distinct.size()) <= maxColours) {
        boxes.clear();
        for (QRgb c : distinct) {
            boxes.push_back(Box{{c}});
        }
    }
    // Split the box with the widest channel spread at its median until the palette is full.
    while (static_cast<int>(boxes.size()) < maxColours) {
        int pick = -1;
        int pickAxis = 0;
        int pickSpread = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const auto [axis, spread] = widestAxis(boxes[i]);
            if (spread > pickSpread) {
                pick = static_cast<int>(i);
                pickAxis = axis;
                pickSpread = spread;
            }
        }
        if (pick < 0) {
            break;
        }
        Box& box = boxes[static_cast<std::size_t>(pick)];
        std::stable_sort(box.colours.begin(), box.colours.end(), [&](QRgb a, QRgb b) {
            return channel(a, pickAxis) < channel(b, pickAxis);
        });
        const auto half = box.colours.begin() + static_cast<std::ptrdiff_t>(box.colours.size() / 2);
        Box upper{std::vector<QRgb>(half, box.colours.end())};
        box.colours.erase(half, box.colours.end());
        boxes.push_back(std::move(upper));
    }

    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    for (const Box& box : boxes) {
        if (!box.colours.empty()) {
            table.push_back(average(box));
        }
    }
    QImage indexed(src.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = src.pixel(x, y);
            int index = 0;
            if (qAlpha(c) >= 128) {
                int bestDistance = 1 << 30;
                for (int i = 1; i < table.size(); ++i) {
                    const int dr = qRed(c) - qRed(table[i]);
                    const int dg = qGreen(c) - qGreen(table[i]);
                    const int db = qBlue(c) - qBlue(table[i]);
                    const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                    if (d < bestDistance) {
                        bestDistance = d;
                        index = i;
                    }
                }
            }
            indexed.setPixel(x, y, static_cast<uint>(index));
        }
    }
    return {indexed, bits};
}

}  // namespace marventa
