#include "tools/paint/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "tools/common/rng.h"

namespace marventa {

namespace {

// Towns and cities in the strongest ink and in colour; every lesser place in a thin brown ink
// over a pale fill, like the peaks and trees round it, so that the map reads by its towns
// first and the lesser marks belong to the drawing.
const QColor kInk(43, 33, 24);
const QColor kMinorInk(112, 86, 62);
constexpr double kMinorPen = 0.7;
// The lesser marks drawn a size under their rooms, so that the towns lead.
constexpr double kMinorShrink = 0.88;
const QColor kPaper(252, 246, 230);
// The pale fill keeps a shape whole over hatching without standing out as a badge.
const QColor kMinorFill(250, 243, 224, 100);
// A part laid in a thin wash of the ink: a roof, an altar, a flag.
const QColor kMinorWash(112, 86, 62, 100);

// The inked, filled shape, drawn straight onto the ground like the rest of the map.
void inked(QPainter& p, const QPainterPath& path, const QColor& fill, double pen = kMinorPen,
           const QColor& ink = kMinorInk) {
    p.setPen(QPen(ink, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first) {
            path.moveTo(pt);
            first = false;
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

QPainterPath star(double outer, double inner, int spikes) {
    QPainterPath path;
    for (int i = 0; i < 2 * spikes; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / spikes;
        const QPointF pt(r * std::cos(a), r * std::sin(a));
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

// An elven ruin: a slender pair of pillars on a plinth, the arch they carried broken off
// above the taller one and the other pillar snapped short; tall and open, unlike the low
// solid fort and cave.
void elvenRuin(QPainter& p, double s) {
    inked(p,
          polygon({{-0.66 * s, 0.95 * s},
                   {-0.66 * s, -0.42 * s},
                   {-0.4 * s, -0.42 * s},
                   {-0.4 * s, 0.95 * s}}),
          kMinorFill);
    inked(p,
          polygon({{0.4 * s, 0.95 * s},
                   {0.4 * s, -0.05 * s},
                   {0.52 * s, -0.2 * s},
                   {0.58 * s, 0.02 * s},
                   {0.66 * s, -0.1 * s},
                   {0.66 * s, 0.95 * s}}),
          kMinorFill);
    // The arch's stub springs from the taller pillar and ends in a clean break.
    QPainterPath arch;
    arch.moveTo(-0.66 * s, -0.42 * s);
    arch.cubicTo(-0.66 * s, -0.95 * s, -0.2 * s, -1.12 * s, 0.12 * s, -1.02 * s);
    arch.lineTo(0.08 * s, -0.8 * s);
    arch.cubicTo(-0.18 * s, -0.86 * s, -0.4 * s, -0.72 * s, -0.4 * s, -0.42 * s);
    arch.closeSubpath();
    inked(p, arch, kMinorFill);
    p.setPen(QPen(kMinorInk, kMinorPen, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-0.92 * s, 0.95 * s), QPointF(0.92 * s, 0.95 * s));
}

// An altar stone carrying a flame.
void shrine(QPainter& p, double s) {
    inked(p,
          polygon(
              {{-0.7 * s, 0.9 * s}, {-0.5 * s, 0.35 * s}, {0.5 * s, 0.35 * s}, {0.7 * s, 0.9 * s}}),
          kMinorWash);
    QPainterPath flame;
    flame.moveTo(0, 0.35 * s);
    flame.cubicTo(-0.75 * s, 0.3 * s, -0.35 * s, -0.45 * s, 0, -1.0 * s);
    flame.cubicTo(0.1 * s, -0.5 * s, 0.7 * s, -0.3 * s, 0, 0.35 * s);
    inked(p, flame, kMinorFill);
    QPainterPath core;
    core.moveTo(0, 0.2 * s);
    core.cubicTo(-0.3 * s, 0.15 * s, -0.15 * s, -0.2 * s, 0, -0.45 * s);
    core.cubicTo(0.05 * s, -0.2 * s, 0.3 * s, -0.1 * s, 0, 0.2 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorWash);
    p.drawPath(core);
}

void landmark(QPainter& p, double s) {
    inked(p, star(1.05 * s, 0.45 * s, 5), kMinorFill);
}

void settlement(QPainter& p, double s) {
    inked(p,
          polygon({{-0.62 * s, -0.05 * s},
                   {0.62 * s, -0.05 * s},
                   {0.62 * s, 0.85 * s},
                   {-0.62 * s, 0.85 * s}}),
          kMinorFill);
    inked(p, polygon({{-0.9 * s, 0.0}, {0, -0.9 * s}, {0.9 * s, 0.0}}), kMinorWash);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorInk);
    p.drawRect(QRectF(-0.15 * s, 0.35 * s, 0.3 * s, 0.5 * s));
}

// A fort ruin: a low wall under broad merlons, its far end broken down in steps; wide and
// square-toothed.
void fortRuin(QPainter& p, double s) {
    inked(p,
          polygon({{-1.0 * s, 0.8 * s},
                   {-1.0 * s, -0.85 * s},
                   {-0.62 * s, -0.85 * s},
                   {-0.62 * s, -0.42 * s},
                   {-0.3 * s, -0.42 * s},
                   {-0.3 * s, -0.85 * s},
                   {0.08 * s, -0.85 * s},
                   {0.08 * s, -0.42 * s},
                   {0.34 * s, -0.42 * s},
                   {0.34 * s, -0.62 * s},
                   {0.5 * s, -0.62 * s},
                   {0.58 * s, -0.12 * s},
                   {0.76 * s, -0.02 * s},
                   {0.84 * s, 0.38 * s},
                   {1.0 * s, 0.46 * s},
                   {1.0 * s, 0.8 * s}}),
          kMinorFill);
    p.setPen(QPen(kMinorInk, 0.55, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-1.0 * s, 0.2 * s), QPointF(0.8 * s, 0.2 * s));
}

// A cave: a dark arched mouth cut into a hillside, the slope's line falling across its brow and
// on past it, so that it sits in the ground rather than standing on it like the camp's tent.
void cave(QPainter& p, double s) {
    QPainterPath slope;
    slope.moveTo(-1.0 * s, -0.85 * s);
    slope.cubicTo(-0.4 * s, -0.6 * s, 0.3 * s, -0.1 * s, 1.0 * s, 0.75 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kMinorInk, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(slope);
    QPainterPath mouth;
    mouth.moveTo(-0.72 * s, 0.75 * s);
    mouth.cubicTo(-0.74 * s, -0.32 * s, 0.58 * s, -0.36 * s, 0.66 * s, 0.75 * s);
    mouth.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(mouth);
}

// Two crossed picks.
void mine(QPainter& p, double s) {
    for (int side : {-1, 1}) {
        p.setPen(QPen(kMinorInk, 0.95, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-side * 0.75 * s, 0.85 * s), QPointF(side * 0.55 * s, -0.55 * s));
        QPainterPath head;
        const QPointF top(side * 0.55 * s, -0.55 * s);
        head.moveTo(top + QPointF(-side * 0.75 * s, -0.2 * s));
        head.quadTo(top + QPointF(0.05 * side * s, -0.3 * s),
                    top + QPointF(side * 0.4 * s, 0.65 * s));
        p.setPen(QPen(kMinorInk, 0.9, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(head);
    }
}

void camp(QPainter& p, double s) {
    inked(p, polygon({{-0.95 * s, 0.8 * s}, {0, -0.85 * s}, {0.95 * s, 0.8 * s}}), kMinorFill);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorInk);
    p.drawPath(polygon({{-0.25 * s, 0.8 * s}, {0, 0.15 * s}, {0.25 * s, 0.8 * s}}));
    p.setPen(QPen(kMinorInk, 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -0.85 * s), QPointF(0, -1.15 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorWash);
    p.drawPath(polygon({{0, -1.15 * s}, {0.45 * s, -1.02 * s}, {0, -0.9 * s}}));
}

// A tankard with foam.
void inn(QPainter& p, double s) {
    QPainterPath handle;
    handle.addEllipse(QRectF(0.2 * s, -0.3 * s, 0.7 * s, 0.75 * s));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kMinorInk, 0.9));
    p.drawPath(handle);
    QPainterPath body;
    body.addRoundedRect(QRectF(-0.7 * s, -0.45 * s, 1.1 * s, 1.3 * s), 0.15 * s, 0.15 * s);
    inked(p, body, kMinorFill);
    QPainterPath foam;
    foam.addEllipse(QPointF(-0.45 * s, -0.55 * s), 0.3 * s, 0.26 * s);
    foam.addEllipse(QPointF(-0.1 * s, -0.68 * s), 0.32 * s, 0.3 * s);
    foam.addEllipse(QPointF(0.22 * s, -0.55 * s), 0.28 * s, 0.25 * s);
    foam.setFillRule(Qt::WindingFill);
    inked(p, foam.simplified(), kMinorFill);
}

// The settled places in flat ink with one flat red: a ring on the paper with a red heart, so
// that the map reads by its towns first without a badge or a halo round them.
const QColor kSettledRed(178, 38, 30);

void ringed(QPainter& p, double ring, double pen, double heart) {
    p.setPen(QPen(kInk, pen));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), ring, ring);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kSettledRed);
    p.drawEllipse(QPointF(0, 0), heart, heart);
}

// A town: a red dot in an inked ring.
void town(QPainter& p, double s) {
    ringed(p, 0.62 * s, 1.6, 0.3 * s);
}

// A city: a larger and heavier ring round a wider red heart.
void city(QPainter& p, double s) {
    ringed(p, 0.64 * s, 2.4, 0.36 * s);
}

// The capital: the city's ring doubled, a red star at its heart.
void capital(QPainter& p, double s) {
    p.setPen(QPen(kInk, 2.2));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), 0.76 * s, 0.76 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.0));
    p.drawEllipse(QPointF(0, 0), 0.54 * s, 0.54 * s);
    p.setPen(QPen(kInk, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSettledRed);
    p.drawPath(star(0.47 * s, 0.2 * s, 5));
}

QPainterPath standingStone(double s, bool pointed) {
    QPainterPath slab;
    slab.moveTo(-0.5 * s, 0.9 * s);
    slab.lineTo(-0.45 * s, -0.45 * s);
    if (pointed) {
        slab.lineTo(0, -1.05 * s);
    } else {
        slab.quadTo(-0.42 * s, -1.0 * s, 0, -1.0 * s);
        slab.quadTo(0.42 * s, -1.0 * s, 0.45 * s, -0.45 * s);
    }
    slab.lineTo(0.45 * s, -0.45 * s);
    slab.lineTo(0.5 * s, 0.9 * s);
    slab.closeSubpath();
    return slab;
}

// A round-topped stone with a four-pointed star cut into it.
void heavenlyStone(QPainter& p, double s) {
    inked(p, standingStone(s, false), kMinorFill);
    p.save();
    p.translate(0, -0.1 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorInk);
    p.drawPath(star(0.42 * s, 0.12 * s, 4));
    p.restore();
}

// A pointed stone marked with a ringed sign.
void signStone(QPainter& p, double s) {
    inked(p, standingStone(s, true), kMinorFill);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kMinorInk, 0.9));
    p.drawEllipse(QPointF(0, 0.05 * s), 0.24 * s, 0.24 * s);
    p.drawLine(QPointF(0, -0.45 * s), QPointF(0, 0.6 * s));
}

}  // namespace

double symbolRadius(PlaceKind kind) {
    switch (kind) {
        case PlaceKind::City:
            return 13.0;
        case PlaceKind::Town:
            return 9.0;
        case PlaceKind::HeavenlyStone:
        case PlaceKind::SignStone:
            return 6.0;
        default:
            return 5.6;
    }
}

void drawPlaceSymbol(QPainter& painter, PlaceKind kind, QPointF at) {
    painter.save();
    painter.translate(at);
    double s = symbolRadius(kind);
    if (kind != PlaceKind::Town && kind != PlaceKind::City) {
        // A lesser mark a size under its room, drawn each time by hand: its strokes a little
        // heavier or lighter, the whole set a few degrees askew and a little larger or smaller,
        // so that no two read as one stamp yet each keeps its category's shape. The painter
        // scales the strokes; the size is held to the shrink and its own small swing.
        Rng hand(mix64(static_cast<std::uint64_t>(std::llround(at.x() * 8)) * 0x9E37u ^
                       static_cast<std::uint64_t>(std::llround(at.y() * 8))));
        const double stroke = hand.range(0.9, 1.1);
        const double size = hand.range(0.92, 1.05);
        painter.rotate(hand.range(-8.0, 8.0));
        painter.scale(stroke, stroke);
        s *= kMinorShrink * size / stroke;
    }
    switch (kind) {
        case PlaceKind::ElvenRuin:
            elvenRuin(painter, s);
            break;
        case PlaceKind::Shrine:
            shrine(painter, s);
            break;
        case PlaceKind::Landmark:
            landmark(painter, s);
            break;
        case PlaceKind::Settlement:
            settlement(painter, s);
            break;
        case PlaceKind::FortRuin:
            fortRuin(painter, s);
            break;
        case PlaceKind::Cave:
            cave(painter, s);
            break;
        case PlaceKind::Mine:
            mine(painter, s);
            break;
        case PlaceKind::Camp:
            camp(painter, s);
            break;
        case PlaceKind::Inn:
            inn(painter, s);
            break;
        case PlaceKind::Town:
            town(painter, s);
            break;
        case PlaceKind::City:
            city(painter, s);
            break;
        case PlaceKind::HeavenlyStone:
            heavenlyStone(painter, s);
            break;
        case PlaceKind::SignStone:
            signStone(painter, s);
            break;
    }
    painter.restore();
}

void drawCapitalSymbol(QPainter& painter, QPointF at) {
    painter.save();
    painter.translate(at);
    capital(painter, symbolRadius(PlaceKind::City));
    painter.restore();
}

}  // namespace marventa
