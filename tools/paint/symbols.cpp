#include "tools/paint/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "tools/common/rng.h"
#include "tools/paint/ink.h"

namespace marventa {

namespace {

// Towns and cities in the strongest ink and in madder; every lesser place in the peaks' ink,
// a little thinned, in a fine open line a little broken like the peaks and trees round it, so
// that the map reads by its towns and its relief and the lesser marks read as ink, not as
// smudges of the ground.
const QColor kInk(43, 33, 24);
const QColor kMinorInk(kReliefInk.red(), kReliefInk.green(), kReliefInk.blue(), 225);
constexpr double kMinorPen = 0.8;
// The lesser marks drawn a little over their radius, into the margin their rooms keep, so that
// each reads by its shape at full size; still well under a town's ring.
constexpr double kMinorScale = 1.12;
const QColor kPaper(252, 246, 230);
// A faint paper fill keeps a shape whole over hatching without reading as a badge.
const QColor kMinorFill(250, 243, 224, 45);
// A part laid in a thin wash of the ink: a roof, an altar, a flag.
const QColor kMinorWash(kReliefInk.red(), kReliefInk.green(), kReliefInk.blue(), 48);

// The pen of one lesser mark: a fine line that the nib lifts off now and then, each mark's
// breaks falling in its own places.
struct Hand {
    double breakAt = 0;

    QPen pen(double width = kMinorPen) const {
        QPen pen(kMinorInk, width, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
        // In pen widths: about 8 px of line to a 1 px lift at the finest pen.
        pen.setDashPattern({15.0, 2.2, 9.0, 1.8});
        pen.setDashOffset(breakAt);
        return pen;
    }
};

// The inked shape, drawn straight onto the ground like the rest of the map.
void inked(QPainter& p, const QPainterPath& path, const QColor& fill, const Hand& hand,
           double width = kMinorPen) {
    p.setPen(hand.pen(width));
    p.setBrush(fill);
    p.drawPath(path);
}

void stroke(QPainter& p, const QPainterPath& path, const Hand& hand, double width = kMinorPen) {
    p.setPen(hand.pen(width));
    p.setBrush(Qt::NoBrush);
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

QPainterPath line(QPointF from, QPointF to) {
    QPainterPath path(from);
    path.lineTo(to);
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
// fort and the cave's mouth.
void elvenRuin(QPainter& p, double s, const Hand& hand) {
    inked(p,
          polygon({{-0.66 * s, 0.95 * s},
                   {-0.66 * s, -0.42 * s},
                   {-0.4 * s, -0.42 * s},
                   {-0.4 * s, 0.95 * s}}),
          kMinorFill, hand);
    inked(p,
          polygon({{0.4 * s, 0.95 * s},
                   {0.4 * s, -0.05 * s},
                   {0.52 * s, -0.2 * s},
                   {0.58 * s, 0.02 * s},
                   {0.66 * s, -0.1 * s},
                   {0.66 * s, 0.95 * s}}),
          kMinorFill, hand);
    // The arch's stub springs from the taller pillar and ends in a clean break.
    QPainterPath arch;
    arch.moveTo(-0.66 * s, -0.42 * s);
    arch.cubicTo(-0.66 * s, -0.95 * s, -0.2 * s, -1.12 * s, 0.12 * s, -1.02 * s);
    arch.lineTo(0.08 * s, -0.8 * s);
    arch.cubicTo(-0.18 * s, -0.86 * s, -0.4 * s, -0.72 * s, -0.4 * s, -0.42 * s);
    arch.closeSubpath();
    inked(p, arch, kMinorFill, hand);
    stroke(p, line({-0.92 * s, 0.95 * s}, {0.92 * s, 0.95 * s}), hand);
}

// An altar stone carrying a flame.
void shrine(QPainter& p, double s, const Hand& hand) {
    inked(p,
          polygon(
              {{-0.7 * s, 0.9 * s}, {-0.5 * s, 0.35 * s}, {0.5 * s, 0.35 * s}, {0.7 * s, 0.9 * s}}),
          kMinorWash, hand);
    QPainterPath flame;
    flame.moveTo(0, 0.35 * s);
    flame.cubicTo(-0.75 * s, 0.3 * s, -0.35 * s, -0.45 * s, 0, -1.0 * s);
    flame.cubicTo(0.1 * s, -0.5 * s, 0.7 * s, -0.3 * s, 0, 0.35 * s);
    inked(p, flame, kMinorFill, hand);
    QPainterPath core;
    core.moveTo(0, 0.2 * s);
    core.cubicTo(-0.3 * s, 0.15 * s, -0.15 * s, -0.2 * s, 0, -0.45 * s);
    core.cubicTo(0.05 * s, -0.2 * s, 0.3 * s, -0.1 * s, 0, 0.2 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorWash);
    p.drawPath(core);
}

void landmark(QPainter& p, double s, const Hand& hand) {
    inked(p, star(1.05 * s, 0.45 * s, 5), kMinorFill, hand);
}

void settlement(QPainter& p, double s, const Hand& hand) {
    inked(p,
          polygon({{-0.62 * s, -0.05 * s},
                   {0.62 * s, -0.05 * s},
                   {0.62 * s, 0.85 * s},
                   {-0.62 * s, 0.85 * s}}),
          kMinorFill, hand);
    inked(p, polygon({{-0.9 * s, 0.0}, {0, -0.9 * s}, {0.9 * s, 0.0}}), kMinorWash, hand);
    // The door an open outline, not a block of ink.
    QPainterPath door(QPointF(-0.15 * s, 0.85 * s));
    door.lineTo(-0.15 * s, 0.35 * s);
    door.lineTo(0.15 * s, 0.35 * s);
    door.lineTo(0.15 * s, 0.85 * s);
    stroke(p, door, hand, 0.45);
}

// A fort ruin: a low wall under broad merlons, its far end broken down in steps; wide and
// square-toothed.
void fortRuin(QPainter& p, double s, const Hand& hand) {
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
          kMinorWash, hand);
    stroke(p, line({-1.0 * s, 0.2 * s}, {0.8 * s, 0.2 * s}), hand, 0.45);
    // A gate's dark in the wall's foot, so that the low mark reads as a building's ruin.
    QPainterPath gate(QPointF(-0.52 * s, 0.8 * s));
    gate.lineTo(-0.52 * s, 0.42 * s);
    gate.quadTo(-0.36 * s, 0.26 * s, -0.2 * s, 0.42 * s);
    gate.lineTo(-0.2 * s, 0.8 * s);
    inked(p, gate, kMinorWash, hand, 0.5);
}

// A cave: an inked arch of a mouth in a hillside, its dark given by a few strokes hatched down
// inside it, the slope's line falling across its brow and on past it, so that it sits in the
// ground rather than standing on it like the camp's tent, and stays open like the hill marks.
void cave(QPainter& p, double s, const Hand& hand) {
    QPainterPath slope;
    slope.moveTo(-1.0 * s, -0.85 * s);
    slope.cubicTo(-0.4 * s, -0.6 * s, 0.3 * s, -0.1 * s, 1.0 * s, 0.75 * s);
    stroke(p, slope, hand, 0.6);
    QPainterPath mouth(QPointF(-0.72 * s, 0.75 * s));
    mouth.cubicTo(-0.74 * s, -0.32 * s, 0.58 * s, -0.36 * s, 0.66 * s, 0.75 * s);
    stroke(p, mouth, hand, 0.7);
    // The hatching falls from the mouth's brow to its floor, thicker on the shadowed left.
    for (const double x : {-0.46, -0.24, -0.02, 0.22}) {
        const double brow = 0.8 * (x + 0.05) * (x + 0.05) - 0.05;
        stroke(p, line({x * s, (brow + 0.14) * s}, {(x - 0.06) * s, 0.72 * s}), hand,
               x < 0 ? 0.55 : 0.4);
    }
    stroke(p, line({-0.9 * s, 0.75 * s}, {0.85 * s, 0.75 * s}), hand, 0.45);
}

// Two crossed picks.
void mine(QPainter& p, double s, const Hand& hand) {
    for (int side : {-1, 1}) {
        stroke(p, line({-side * 0.75 * s, 0.85 * s}, {side * 0.55 * s, -0.55 * s}), hand, 0.7);
        QPainterPath head;
        const QPointF top(side * 0.55 * s, -0.55 * s);
        head.moveTo(top + QPointF(-side * 0.75 * s, -0.2 * s));
        head.quadTo(top + QPointF(0.05 * side * s, -0.3 * s),
                    top + QPointF(side * 0.4 * s, 0.65 * s));
        stroke(p, head, hand, 0.65);
    }
}

void camp(QPainter& p, double s, const Hand& hand) {
    inked(p, polygon({{-0.95 * s, 0.8 * s}, {0, -0.85 * s}, {0.95 * s, 0.8 * s}}), kMinorFill,
          hand);
    // The tent's opening drawn as its two flaps, open.
    QPainterPath flaps(QPointF(-0.28 * s, 0.8 * s));
    flaps.lineTo(0, 0.12 * s);
    flaps.lineTo(0.28 * s, 0.8 * s);
    stroke(p, flaps, hand, 0.45);
    stroke(p, line({0, -0.85 * s}, {0, -1.15 * s}), hand, 0.55);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorWash);
    p.drawPath(polygon({{0, -1.15 * s}, {0.45 * s, -1.02 * s}, {0, -0.9 * s}}));
}

// A tankard with foam.
void inn(QPainter& p, double s, const Hand& hand) {
    QPainterPath handle;
    handle.addEllipse(QRectF(0.2 * s, -0.3 * s, 0.7 * s, 0.75 * s));
    stroke(p, handle, hand, 0.65);
    QPainterPath body;
    body.addRoundedRect(QRectF(-0.7 * s, -0.45 * s, 1.1 * s, 1.3 * s), 0.15 * s, 0.15 * s);
    inked(p, body, kMinorFill, hand);
    QPainterPath foam;
    foam.addEllipse(QPointF(-0.45 * s, -0.55 * s), 0.3 * s, 0.26 * s);
    foam.addEllipse(QPointF(-0.1 * s, -0.68 * s), 0.32 * s, 0.3 * s);
    foam.addEllipse(QPointF(0.22 * s, -0.55 * s), 0.28 * s, 0.25 * s);
    foam.setFillRule(Qt::WindingFill);
    inked(p, foam.simplified(), kMinorFill, hand);
}

// The settled places in the drawing's inks: an inked ring laid inside with a wash of madder
// and a heart of the madder itself, a deep brick red such as a pen carries, never a screen red,
// so that the map reads by its towns first without a badge or a halo round them.
const QColor kMadder(136, 44, 40);
const QColor kMadderWash(224, 190, 174);

void ringed(QPainter& p, double ring, double pen, double heart) {
    p.setPen(QPen(kInk, pen));
    p.setBrush(kMadderWash);
    p.drawEllipse(QPointF(0, 0), ring, ring);
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(kMadder);
    p.drawEllipse(QPointF(0, 0), heart, heart);
}

// A town: a madder heart in an inked, washed ring.
void town(QPainter& p, double s) {
    ringed(p, 0.62 * s, 1.6, 0.3 * s);
}

// A city: a larger and heavier ring round a wider heart, a fine second ring inside its own.
void city(QPainter& p, double s) {
    ringed(p, 0.64 * s, 2.4, 0.36 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 0.6));
    p.drawEllipse(QPointF(0, 0), 0.5 * s, 0.5 * s);
}

// The capital: the city's ring doubled, a madder star at its heart.
void capital(QPainter& p, double s) {
    p.setPen(QPen(kInk, 2.2));
    p.setBrush(kMadderWash);
    p.drawEllipse(QPointF(0, 0), 0.76 * s, 0.76 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.0));
    p.drawEllipse(QPointF(0, 0), 0.54 * s, 0.54 * s);
    p.setPen(QPen(kInk, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kMadder);
    p.drawPath(star(0.47 * s, 0.2 * s, 5));
}

// A standing stone: the natal sign's a narrow pointed needle, the heavenly one's a broad
// round-topped slab, so that the two read apart by their outlines alone.
QPainterPath standingStone(double s, bool pointed) {
    const double foot = pointed ? 0.38 : 0.56;
    const double shoulder = pointed ? 0.33 : 0.52;
    QPainterPath slab;
    slab.moveTo(-foot * s, 0.9 * s);
    slab.lineTo(-shoulder * s, -0.45 * s);
    if (pointed) {
        slab.lineTo(0, -1.15 * s);
    } else {
        slab.quadTo(-0.5 * s, -0.95 * s, 0, -0.95 * s);
        slab.quadTo(0.5 * s, -0.95 * s, shoulder * s, -0.45 * s);
    }
    slab.lineTo(shoulder * s, -0.45 * s);
    slab.lineTo(foot * s, 0.9 * s);
    slab.closeSubpath();
    return slab;
}

// A standing stone's side away from the light washed, and the ground it stands in, so that the
// slab reads as a stone set upright rather than a badge.
void stoneShade(QPainter& p, const QPainterPath& slab, double s, const Hand& hand) {
    p.save();
    p.setClipPath(slab);
    p.setPen(Qt::NoPen);
    p.setBrush(kMinorWash);
    p.drawRect(QRectF(0.18 * s, -1.2 * s, 0.5 * s, 2.2 * s));
    p.restore();
    stroke(p, line({-0.7 * s, 0.92 * s}, {0.75 * s, 0.92 * s}), hand, 0.55);
}

// A round-topped stone with a four-pointed star cut into it, the star's rays as four strokes.
void heavenlyStone(QPainter& p, double s, const Hand& hand) {
    inked(p, standingStone(s, false), kMinorFill, hand);
    stoneShade(p, standingStone(s, false), s, hand);
    const QPointF mid(0, -0.1 * s);
    for (int i = 0; i < 4; ++i) {
        const double a = i * std::numbers::pi / 2;
        const QPointF ray(0.42 * s * std::cos(a), 0.42 * s * std::sin(a));
        stroke(p, line(mid + 0.15 * ray, mid + ray), hand, 0.6);
    }
}

// A pointed stone marked with a ringed sign.
void signStone(QPainter& p, double s, const Hand& hand) {
    inked(p, standingStone(s, true), kMinorFill, hand);
    stoneShade(p, standingStone(s, true), s, hand);
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0.05 * s), 0.24 * s, 0.24 * s);
    stroke(p, ring, hand, 0.6);
    stroke(p, line({0, -0.45 * s}, {0, 0.6 * s}), hand, 0.6);
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
    Hand hand;
    if (kind != PlaceKind::Town && kind != PlaceKind::City) {
        // A lesser mark a size under its room, drawn each time by hand: its strokes a little
        // heavier or lighter, the whole set a few degrees askew and a little larger or smaller,
        // so that no two read as one stamp yet each keeps its category's shape. The painter
        // scales the strokes; the size is held to the shrink and its own small swing.
        Rng rng(mix64(static_cast<std::uint64_t>(std::llround(at.x() * 8)) * 0x9E37u ^
                      static_cast<std::uint64_t>(std::llround(at.y() * 8))));
        const double weight = rng.range(0.9, 1.1);
        const double size = rng.range(0.92, 1.05);
        painter.rotate(rng.range(-8.0, 8.0));
        painter.scale(weight, weight);
        s *= kMinorScale * size / weight;
        hand.breakAt = rng.range(0.0, 28.0);
    }
    switch (kind) {
        case PlaceKind::ElvenRuin:
            elvenRuin(painter, s, hand);
            break;
        case PlaceKind::Shrine:
            shrine(painter, s, hand);
            break;
        case PlaceKind::Landmark:
            landmark(painter, s, hand);
            break;
        case PlaceKind::Settlement:
            settlement(painter, s, hand);
            break;
        case PlaceKind::FortRuin:
            fortRuin(painter, s, hand);
            break;
        case PlaceKind::Cave:
            cave(painter, s, hand);
            break;
        case PlaceKind::Mine:
            mine(painter, s, hand);
            break;
        case PlaceKind::Camp:
            camp(painter, s, hand);
            break;
        case PlaceKind::Inn:
            inn(painter, s, hand);
            break;
        case PlaceKind::Town:
            town(painter, s);
            break;
        case PlaceKind::City:
            city(painter, s);
            break;
        case PlaceKind::HeavenlyStone:
            heavenlyStone(painter, s, hand);
            break;
        case PlaceKind::SignStone:
            signStone(painter, s, hand);
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
