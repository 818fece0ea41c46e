#include "tools/paint/tor_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/ink.h"

namespace marventa {

namespace {

// A block's sides lean in as they rise, worn rather than cut, never so sheer as a wall.
constexpr double kSideFall = 3.2;

struct Block {
    double left, right, bottom, top;
    double inset() const { return (bottom - top) / kSideFall; }
};

std::vector<Block> stack(const Peak& k) {
    Rng rng(k.seed ^ 0x70E5'B10Cull);
    const double w = k.width;
    const int tiers = k.width < 22 ? 2 : 2 + rng.below(k.width > 34 ? 3 : 2);
    std::vector<double> heights;
    double sum = 0;
    for (int i = 0; i < tiers; ++i) {
        heights.push_back(rng.range(0.75, 1.3) * (i == 0 ? 1.25 : 1.0));
        sum += heights.back();
    }
    std::vector<Block> blocks;
    double width = w * rng.range(0.9, 1.0);
    double centre = k.foot.x();
    double bottom = k.foot.y();
    for (int i = 0; i < tiers; ++i) {
        Block b{centre - width / 2, centre + width / 2, bottom,
                bottom - k.height * heights[i] / sum};
        blocks.push_back(b);
        const double room = b.right - b.left - 2 * b.inset();
        const double next = room * rng.range(0.58, 0.92);
        if (next < 5.0) {
            break;
        }
        // Set a little to one side on the block below, the pile's top kept over its middle.
        centre = std::clamp(centre + rng.range(-1.0, 1.0) * (room - next) / 2,
                            k.foot.x() - 0.22 * w, k.foot.x() + 0.22 * w);
        centre = std::clamp(centre, b.left + b.inset() + next / 2, b.right - b.inset() - next / 2);
        width = next;
        bottom = b.top;
    }
    return blocks;
}

// Each corner between the ends worn round: cut back along both its edges.
QPolygonF worn(const QPolygonF& line, double radius) {
    QPolygonF out;
    out << line.front();
    for (int i = 1; i + 1 < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF c = line[i];
        const QPointF b = line[i + 1];
        const double in = std::min(radius, 0.35 * length(c - a));
        const double on = std::min(radius, 0.35 * length(b - c));
        out << c + (a - c) * (in / std::max(length(c - a), 1e-9))
            << c + (b - c) * (on / std::max(length(b - c), 1e-9));
    }
    out << line.back();
    return out;
}

}  // namespace

TorShape torShape(const Peak& k) {
    const std::vector<Block> blocks = stack(k);
    Rng rng(k.seed ^ 0x70E5'D0E5ull);
    QPolygonF line;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& b = blocks[i];
        line << QPointF(b.left, b.bottom) << QPointF(b.left + b.inset(), b.top);
    }
    const Block& top = blocks.back();
    const double from = top.left + top.inset();
    const double to = top.right - top.inset();
    const QPointF crown(from + (to - from) * rng.range(0.35, 0.65), top.top - rng.range(0.4, 1.4));
    line << crown;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        line << QPointF(it->right - it->inset(), it->top) << QPointF(it->right, it->bottom);
    }
    TorShape s;
    s.outline = worn(line, std::clamp(0.1 * k.width, 1.0, 2.2));
    s.summit = crown;
    for (const Block& b : blocks) {
        s.blocks.push_back(QPolygonF{QPointF(b.left, b.bottom), QPointF(b.left + b.inset(), b.top),
                                     QPointF(b.right - b.inset(), b.top),
                                     QPointF(b.right, b.bottom)});
    }
    return s;
}

namespace {

// The part of a block turned from the light: from a line down its face to its right side.
QPolygonF shadedFace(const QPolygonF& block, double from) {
    const QPointF bl = block[0];
    const QPointF tl = block[1];
    const QPointF tr = block[2];
    const QPointF br = block[3];
    return QPolygonF{tl + (tr - tl) * from, tr, br, bl + (br - bl) * from};
}

double faceFrom(const Peak& k, std::size_t block) {
    return Rng(k.seed ^ (0x5A4Dull + block)).range(0.45, 0.66);
}

}  // namespace

std::vector<QLineF> torShadeStrokes(const Peak& k) {
    const TorShape s = torShape(k);
    std::vector<QLineF> strokes;
    for (std::size_t i = 0; i < s.blocks.size(); ++i) {
        const QPolygonF face = shadedFace(s.blocks[i], faceFrom(k, i));
        Rng rng(k.seed ^ (0x70E5'5EA7ull + i));
        const double top = face[0].y();
        const double bottom = face[3].y();
        const double tall = bottom - top;
        if (tall < 3.0) {
            continue;
        }
        const double across = face[1].x() - face[0].x();
        const int count = std::clamp(static_cast<int>(across / rng.range(1.7, 2.6)), 1, 6);
        for (int j = 0; j < count; ++j) {
            const double u = (j + rng.range(0.3, 0.7)) / count;
            // The block's side leans in: each stroke kept within the face at its top.
            const double x = face[0].x() + (face[1].x() - face[0].x()) * u;
            // Ending a pixel above the block's foot, never under it.
            const double reach = std::min(
                tall * (rng.chance(0.3) ? rng.range(0.4, 0.6) : rng.range(0.65, 0.9)), tall - 1.9);
            strokes.emplace_back(QPointF(x, top + 0.9),
                                 QPointF(x + rng.range(0.0, 0.12) * reach, top + 0.9 + reach));
        }
    }
    return strokes;
}

void drawTor(QPainter& p, const Peak& k) {
    const TorShape s = torShape(k);
    p.save();
    QPainterPath body;
    body.addPolygon(s.outline);
    body.closeSubpath();
    const QColor ground = k.ground.isValid() ? k.ground : QColor(206, 196, 170);
    // Dark volcanic rock: the lit faces a dull grey-brown, the shaded ones near black.
    const QColor lit =
        QColor::fromRgbF(0.5f * ground.redF() + 0.5f * 0.44f, 0.5f * ground.greenF() + 0.5f * 0.4f,
                         0.5f * ground.blueF() + 0.5f * 0.37f);
    p.setPen(Qt::NoPen);
    p.setBrush(lit);
    p.drawPath(body);
    p.setClipPath(body);
    for (std::size_t i = 0; i < s.blocks.size(); ++i) {
        p.setBrush(QColor(44, 36, 34, 120));
        p.drawPolygon(shadedFace(s.blocks[i], faceFrom(k, i)));
    }
    QColor hatch = kReliefInk;
    hatch.setAlpha(220);
    p.setBrush(hatch);
    Rng rng(k.seed ^ 0x70E5'1A4Dull);
    const double nib = rng.range(0.7, 0.95);
    for (const QLineF& stroke : torShadeStrokes(k)) {
        inkTaperedStroke(p, stroke, nib, 0.35);
    }
    // A crack across the larger blocks, or down the top one, as the rock is jointed.
    for (std::size_t i = 0; i < s.blocks.size(); ++i) {
        const QPolygonF& b = s.blocks[i];
        const double wide = b[3].x() - b[0].x();
        const double tall = b[0].y() - b[1].y();
        if (wide > 14 && tall > 5 && rng.chance(0.5)) {
            const double y = b[1].y() + tall * rng.range(0.4, 0.65);
            const double x0 = b[0].x() + wide * rng.range(0.1, 0.35);
            const double x1 = x0 + wide * rng.range(0.25, 0.45);
            inkReliefLine(
                p,
                QPolygonF{QPointF(x0, y), QPointF((x0 + x1) / 2, y + rng.range(-0.8, 0.8)),
                          QPointF(x1, y + rng.range(-0.6, 0.6))},
                0.7, k.seed ^ (0xC2ACull + i));
        } else if (i + 1 == s.blocks.size() && wide > 10 && rng.chance(0.4)) {
            const double x = b[0].x() + wide * rng.range(0.35, 0.6);
            inkReliefLine(p, QPolygonF{QPointF(x, b[1].y() + 0.5), QPointF(x + 0.6, b[0].y() - 1)},
                          0.7, k.seed ^ 0xC2ADull);
        }
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    inkReliefLine(p, s.outline, std::clamp(0.8 + k.width / 60, 0.95, 1.4) * rng.range(0.9, 1.1),
                  k.seed);
    p.restore();
}

}  // namespace marventa
