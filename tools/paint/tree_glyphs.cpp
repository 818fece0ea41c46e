#include "tools/paint/tree_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <optional>

#include "tools/common/blend.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/ground_rise.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/symbols.h"

namespace marventa {

namespace {

const QColor kTreeInk(36, 44, 28);
const QColor kWoodEdgeInk(44, 58, 34);
const QColor kFootInk(36, 44, 28, 165);
// How far inside its edge a wood stands fullest.
constexpr float kEdgeBand = 18.0f;
// The stretch of open country whose copses share their kinds of tree.
constexpr double kCopseCell = 60.0;

// Whether a stream's bank lies under `box` on the keep-out mask.
bool byStream(const QImage& keepOut, const QRectF& area) {
    const QRect box = area.toAlignedRect().intersected(keepOut.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* row = keepOut.constScanLine(y);
        if (std::any_of(row + box.left(), row + box.right() + 1,
                        [](uchar v) { return v == kStreamMark; })) {
            return true;
        }
    }
    return false;
}

// The ground a wood stands highest on, against the country round it: the share of its trees
// above which a stand of conifers takes the knolls.
float woodsHighGround(const Grid<float>& rise, const Grid<float>& into) {
    std::vector<float> inWoods;
    for (int y = 0; y < rise.height(); y += 8) {
        for (int x = 0; x < rise.width(); x += 8) {
            if (into(x, y) > 10.0f) {
                inWoods.push_back(rise(x, y));
            }
        }
    }
    if (inWoods.empty()) {
        return 1.0f;
    }
    const auto at = inWoods.begin() + static_cast<std::ptrdiff_t>(0.8 * (inWoods.size() - 1));
    std::nth_element(inWoods.begin(), at, inWoods.end());
    return *at;
}

bool isTownLike(PlaceKind k) {
    return k == PlaceKind::City || k == PlaceKind::Town;
}

// What a kind of tree looks like, by its shape: its trunk's length, half its crown's width and
// the crown's height (at size 1), and the washes of the crown's lit and shaded sides.
struct Build {
    double trunk;
    double halfWidth;
    double height;
    QColor lit;
    QColor dark;
};

const Build& buildOf(TreeShape shape) {
    // In the order of TreeShape.
    static const Build kBuilds[kTreeShapes] = {
        {1.5, 3.5, 6.6, QColor(134, 162, 92), QColor(78, 108, 60)},   // broadleaf
        {1.5, 3.9, 6.9, QColor(126, 158, 86), QColor(72, 104, 56)},   // lobed
        {1.5, 2.5, 8.6, QColor(118, 152, 88), QColor(68, 100, 60)},   // tall
        {2.2, 4.7, 5.6, QColor(140, 164, 94), QColor(82, 110, 62)},   // spreading
        {1.3, 3.0, 9.4, QColor(102, 136, 96), QColor(50, 84, 64)},    // conifer
        {1.2, 2.1, 10.2, QColor(96, 130, 94), QColor(46, 80, 62)},    // spike
        {3.4, 3.5, 4.2, QColor(110, 136, 90), QColor(56, 86, 58)},    // pine
        {1.5, 4.0, 6.4, QColor(130, 160, 90), QColor(76, 106, 58)},   // lopsided
        {2.5, 4.8, 4.6, QColor(142, 160, 92), QColor(86, 106, 60)},   // flat-topped
        {0.35, 3.3, 3.8, QColor(122, 148, 86), QColor(70, 98, 56)}};  // bush
    return kBuilds[static_cast<int>(shape)];
}

double trunkLength(const Tree& t) {
    return buildOf(t.shape).trunk * t.size * t.stem;
}

// Half the crown's width and its height above the trunk.
QSizeF crownExtent(const Tree& t) {
    const Build& b = buildOf(t.shape);
    return {b.halfWidth * t.size, b.height * t.size};
}

// A rounded crown of uneven lobes round `centre`; the tree's own seed fixes every bump, so no
// two neighbours share a stamp.
QPolygonF lobedCrown(const Tree& t, QPointF centre, double rx, double ry) {
    Rng rng(t.seed);
    const int n = 9 + rng.below(4);
    const double turn = rng.range(0.0, 2.0 * std::numbers::pi / n);
    QPolygonF crown;
    for (int i = 0; i < n; ++i) {
        const double a = turn + 2.0 * std::numbers::pi * (i + rng.range(-0.2, 0.2)) / n;
        const double r = rng.range(0.84, 1.08);
        crown << centre + QPointF(std::cos(a) * rx * r, std::sin(a) * ry * r);
    }
    return crown;
}

struct Lobe {
    QPointF at;  // in the crown's own unit, its half-width and half-height 1
    double r;
};

// The outline of a few round lobes grown together, as seen from their middle: along each ray
// the farthest point of any lobe it crosses, so the notches between lobes stay.
QPolygonF lobeOutline(const std::vector<Lobe>& lobes, QPointF centre, double rx, double ry) {
    constexpr int kRays = 36;
    QPolygonF outline;
    for (int i = 0; i < kRays; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kRays;
        const QPointF u(std::cos(a), std::sin(a));
        double far = 0.2;
        for (const Lobe& l : lobes) {
            const double along = l.at.x() * u.x() + l.at.y() * u.y();
            const double off = l.at.x() * l.at.x() + l.at.y() * l.at.y() - along * along;
            if (off < l.r * l.r) {
                far = std::max(far, along + std::sqrt(l.r * l.r - off));
            }
        }
        outline << centre + QPointF(u.x() * far * rx, u.y() * far * ry);
    }
    return outline;
}

// Three to five deep lobes round a heart, bunched towards the crown's top; `flat` presses them
// into a band across it, as a pine's crown or a spreading tree's.
QPolygonF bunchedCrown(const Tree& t, QPointF centre, double rx, double ry, bool flat) {
    Rng rng(t.seed ^ 0x10BEull);
    std::vector<Lobe> lobes{{{0.0, flat ? 0.1 : 0.05}, rng.range(0.5, 0.62)}};
    const int n = 3 + rng.below(3);
    for (int i = 0; i < n; ++i) {
        // Fanned over the top half, from one side round to the other.
        const double a = std::numbers::pi * (1.0 + (i + rng.range(0.2, 0.8)) / n);
        const double d = rng.range(0.36, 0.5);
        const QPointF at(std::cos(a) * d * (flat ? 1.25 : 1.0),
                         std::sin(a) * d * (flat ? 0.55 : 1.0));
        lobes.push_back({at, rng.range(0.4, 0.56)});
    }
    return lobeOutline(lobes, centre, rx, ry);
}

// A crown grown heavy on one side, its trunk under the lighter: a few lobes piled up and out
// over the heavy side, one small lobe low on the other.
QPolygonF lopsidedCrown(const Tree& t, QPointF centre, double rx, double ry) {
    Rng rng(t.seed ^ 0x1095ull);
    const double side = rng.chance(0.5) ? 1.0 : -1.0;
    std::vector<Lobe> lobes{{{side * 0.15, 0.1}, rng.range(0.5, 0.6)},
                            {{side * rng.range(0.38, 0.5), -0.15}, rng.range(0.4, 0.5)},
                            {{side * rng.range(0.05, 0.25), -0.45}, rng.range(0.36, 0.46)},
                            {{-side * rng.range(0.3, 0.42), 0.25}, rng.range(0.26, 0.34)}};
    if (rng.chance(0.5)) {
        lobes.push_back({{side * rng.range(0.5, 0.62), 0.2}, rng.range(0.28, 0.36)});
    }
    return lobeOutline(lobes, centre + QPointF(side * 0.2 * rx, 0.0), rx, ry);
}

// A wind-shorn crown: a row of lobes along a flat, slightly tilted top over a smaller lobe or
// two below, its top cut level where the lobes would round it.
QPolygonF flatTopCrown(const Tree& t, QPointF centre, double rx, double ry) {
    Rng rng(t.seed ^ 0xF1A7ull);
    const int n = 3 + rng.below(3);
    const double tilt = rng.range(-0.12, 0.12);
    std::vector<Lobe> lobes{{{rng.range(-0.1, 0.1), 0.3}, rng.range(0.38, 0.48)}};
    for (int i = 0; i < n; ++i) {
        const double x = -0.6 + 1.2 * (i + rng.range(0.3, 0.7)) / n;
        lobes.push_back({{x, -0.15 + tilt * x + rng.range(-0.06, 0.06)}, rng.range(0.34, 0.46)});
    }
    QPolygonF crown = lobeOutline(lobes, centre, rx, ry);
    const double top = centre.y() - ry * rng.range(0.5, 0.6);
    for (QPointF& q : crown) {
        const double x = (q.x() - centre.x()) / rx;
        q.setY(std::max(q.y(), top + tilt * x * ry + rng.range(-0.04, 0.04) * ry));
    }
    return crown;
}

// A low bush: many small lobes in a mound that sits on the ground, its foot nearly flat.
QPolygonF bushCrown(const Tree& t, QPointF centre, double rx, double ry) {
    Rng rng(t.seed ^ 0xB054ull);
    std::vector<Lobe> lobes{{{0.0, 0.1}, rng.range(0.5, 0.6)}};
    const int n = 4 + rng.below(4);
    for (int i = 0; i < n; ++i) {
        const double a = std::numbers::pi * (0.95 + 1.1 * (i + rng.range(0.2, 0.8)) / n);
        const double d = rng.range(0.38, 0.56);
        lobes.push_back({{std::cos(a) * d, std::sin(a) * d * 0.8 + 0.08}, rng.range(0.26, 0.4)});
    }
    QPolygonF crown = lobeOutline(lobes, centre, rx, ry);
    const double foot = centre.y() + ry * rng.range(0.42, 0.52);
    for (QPointF& q : crown) {
        q.setY(std::min(q.y(), foot));
    }
    return crown;
}

// A spire of `tiers` tiers, each stepping in by `notch` of its width, its tip drifting with the
// tree's lean.
QPolygonF coniferCrown(const Tree& t, int tiers, double notch, double narrowest) {
    Rng rng(t.seed);
    const QSizeF e = crownExtent(t);
    const double base = -trunkLength(t);
    const double top = base - e.height();
    const auto drift = [&](double y) { return t.lean * e.width() * (base - y) / e.height(); };
    std::vector<QPointF> right;
    for (int i = 1; i <= tiers; ++i) {
        const double y = top + (base - top) * i / tiers;
        const double w =
            e.width() * (narrowest + (1.0 - narrowest) * i / tiers) * rng.range(0.88, 1.1);
        right.emplace_back(w + drift(y), y);
        if (i < tiers) {
            right.emplace_back(w * (1.0 - notch) + drift(y), y - 0.35 * t.size);
        }
    }
    QPolygonF crown;
    crown << QPointF(drift(top), top);
    for (const QPointF& q : right) {
        crown << t.at + q;
    }
    for (auto it = right.rbegin(); it != right.rend(); ++it) {
        const double off = it->x() - drift(it->y());
        crown << t.at + QPointF(-off * rng.range(0.9, 1.08) + drift(it->y()), it->y());
    }
    crown[0] += t.at;
    return crown;
}

QPolygonF crownOf(const Tree& t) {
    if (t.shape == TreeShape::Conifer) {
        return coniferCrown(t, 2 + Rng(t.seed ^ 0x71E5u).below(2), 0.5, 0.4);
    }
    if (t.shape == TreeShape::Spike) {
        return coniferCrown(t, 4 + Rng(t.seed ^ 0x71E5u).below(2), 0.3, 0.2);
    }
    const QSizeF e = crownExtent(t);
    const double ry = e.height() / 2;
    const QPointF centre = t.at + QPointF(t.lean * e.width(), -trunkLength(t) - ry * 0.92);
    // A little broader or narrower than its kind, so no two crowns share an outline.
    const double aspect = Rng(t.seed ^ 0xA5A5u).range(0.86, 1.14);
    switch (t.shape) {
        case TreeShape::Lobed:
            return bunchedCrown(t, centre, e.width() * aspect, ry, false);
        case TreeShape::Spreading:
        case TreeShape::Pine:
            return bunchedCrown(t, centre, e.width() * aspect, ry, true);
        case TreeShape::Lopsided:
            return lopsidedCrown(t, centre, e.width() * aspect, ry);
        case TreeShape::FlatTop:
            return flatTopCrown(t, centre, e.width() * aspect, ry);
        case TreeShape::Bush:
            return bushCrown(t, centre, e.width() * aspect, ry);
        default:
            return lobedCrown(t, centre, e.width() * aspect, ry);
    }
}

QColor shifted(QColor c, int by) {
    return QColor(std::clamp(c.red() + by / 2, 0, 255), std::clamp(c.green() + by, 0, 255),
                  std::clamp(c.blue() + by / 3, 0, 255));
}

// The wash of a tree's lit side and of its shaded side.
std::pair<QColor, QColor> washes(const Tree& t) {
    const Build& b = buildOf(t.shape);
    return {shifted(b.lit, t.shade), shifted(b.dark, t.shade)};
}

// The segment of a crown's outline about its corner `i`: round, a curve from the middle of the
// edge before it to the middle of the edge after, bent towards the corner; else the edge from it.
void addSegment(QPainterPath& path, const QPolygonF& crown, int i, bool round, bool start) {
    const int n = static_cast<int>(crown.size());
    const QPointF q = crown[i];
    const QPointF next = crown[(i + 1) % n];
    if (!round) {
        if (start) {
            path.moveTo(q);
        }
        path.lineTo(next);
        return;
    }
    if (start) {
        path.moveTo((crown[(i + n - 1) % n] + q) / 2);
    }
    path.quadTo(q, (q + next) / 2);
}

// The stretches of a crown's outline about the corners `corners` (ascending), each run of
// neighbouring corners one stroke.
QPainterPath crownStretches(const QPolygonF& crown, const std::vector<int>& corners, bool round) {
    QPainterPath path;
    const int n = static_cast<int>(crown.size());
    const std::size_t m = corners.size();
    if (m == 0) {
        return path;
    }
    // Begin after a break, so a run across the last corner to the first is one stroke.
    std::size_t first = 0;
    for (std::size_t k = 0; k < m; ++k) {
        if (corners[k] != (corners[(k + m - 1) % m] + 1) % n) {
            first = k;
            break;
        }
    }
    for (std::size_t j = 0; j < m; ++j) {
        const std::size_t k = (first + j) % m;
        const bool start = j == 0 || corners[k] != (corners[(k + m - 1) % m] + 1) % n;
        addSegment(path, crown, corners[k], round, start);
    }
    return path;
}

// The crown's whole outline, closed.
QPainterPath crownPath(const QPolygonF& crown, bool round) {
    std::vector<int> all(static_cast<std::size_t>(crown.size()));
    std::iota(all.begin(), all.end(), 0);
    QPainterPath path = crownStretches(crown, all, round);
    path.closeSubpath();
    return path;
}

// The strokes of ground at a tree's foot on the side away from the light: a ground line out
// from the trunk, the others shorter and set in below it, each of its own length and tilt.
std::vector<QLineF> footLines(const Tree& t) {
    std::vector<QLineF> lines;
    Rng rng(t.seed ^ 0xF007u);
    const double w = crownExtent(t).width();
    for (int i = 0; i < t.footStrokes; ++i) {
        const QPointF from = t.at + QPointF((0.35 + 0.45 * i) * w * rng.range(0.6, 1.2) + 0.4,
                                            0.3 + 1.2 * i + rng.range(-0.2, 0.2));
        const double len = w * (1.25 - 0.3 * i) * rng.range(0.65, 1.1);
        lines.emplace_back(from, from + QPointF(len, len * rng.range(-0.1, 0.06)));
    }
    return lines;
}

// How far beyond a wood's outline its strays may stand.
constexpr float kStrayReach = 26.0f;

// How far each pixel lies outside every wood, in pixels, up to the strays' reach.
Grid<float> beyondWoods(const Grid<float>& into) {
    Grid<unsigned char> inside(into.width(), into.height(), 0);
    for (int y = 0; y < into.height(); ++y) {
        for (int x = 0; x < into.width(); ++x) {
            inside(x, y) = into(x, y) > 0.0f ? 1 : 0;
        }
    }
    return distanceTo(inside, kStrayReach + 1.0f);
}

// Whether what a tree inks keeps off `keepOut`: its box when that is clear, else, by a stream,
// its crown, trunk and foot strokes pixel by pixel, so that a crown may reach over the bank
// without covering the stream.
bool standsClear(const QImage& keepOut, const Tree& t) {
    const QRect box = treeBox(t).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (!keepOut.rect().contains(box)) {
        return false;
    }
    if (clearOn(keepOut, box)) {
        return true;
    }
    // Only a stream's bank is worth the closer look: by a road or a name the trees keep the
    // clearing their boxes leave.
    if (!byStream(keepOut, QRectF(box))) {
        return false;
    }
    // The pen's half width, the soft edge round it and a pixel's half diagonal.
    constexpr double kInk = 1.8;
    const QPolygonF crown = crownOf(t);
    std::vector<QPointF> outline(crown.begin(), crown.end());
    outline.push_back(crown.front());
    std::vector<QRectF> strokes{QRectF(t.at.x() - kInk, t.at.y() - trunkLength(t) - kInk, 2 * kInk,
                                       trunkLength(t) + 2 * kInk)};
    for (const QLineF& l : footLines(t)) {
        strokes.push_back(QRectF(l.p1(), l.p2()).normalized().adjusted(-1.0, -1.0, 1.0, 1.0));
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* row = keepOut.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (row[x] == 0) {
                continue;
            }
            const QPointF at(x + 0.5, y + 0.5);
            if (crown.containsPoint(at, Qt::OddEvenFill) ||
                distanceToPolyline(at, outline) < kInk ||
                std::any_of(strokes.begin(), strokes.end(),
                            [&](const QRectF& r) { return r.contains(at); })) {
                return false;
            }
        }
    }
    return true;
}

bool namesAWood(const ProvinceScene& s, const QString& text) {
    return std::any_of(s.layout.woods.begin(), s.layout.woods.end(), [&](const Wood& w) {
        return w.name.compare(text, Qt::CaseInsensitive) == 0;
    });
}

// How far `at` lies outside `box` (0 inside it).
double distanceOutside(const QPolygonF& box, QPointF at) {
    if (box.containsPoint(at, Qt::OddEvenFill)) {
        return 0.0;
    }
    return distanceToPolyline(at, std::vector<QPointF>(box.begin(), box.end()));
}

// A wood's name is lettered over its trees: they keep off the letters themselves, and thin out
// in a ragged band about the name (small clearings scattered thickest on it) rather than
// stopping at a clean edge.
void clearForWoodName(QPainter& p, const PlacedName& n, std::uint64_t seed) {
    constexpr double kBand = 14.0;
    constexpr double kStep = 5.0;
    Rng rng(seed);
    const QRectF around = n.box.boundingRect().adjusted(-kBand, -kBand, kBand, kBand);
    p.setPen(Qt::NoPen);
    for (double y = around.top(); y < around.bottom(); y += kStep) {
        for (double x = around.left(); x < around.right(); x += kStep) {
            const QPointF at(x + rng.range(0.0, kStep), y + rng.range(0.0, kStep));
            const double fade = 1.0 - std::min(distanceOutside(n.box, at) / kBand, 1.0);
            const double r = rng.range(1.0, 2.2);
            if (rng.chance(0.06 * fade * fade)) {
                p.drawEllipse(at, r, r);
            }
        }
    }
    p.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(n.glyphs);
}

// A tree out in open country, far from any wood, with fewer than two others near it: a lone
// crown on the plain, which strewn over the country reads as a program's fill. Beside a wood a
// stray is its fringe and stays.
std::vector<Tree> withoutLoneTrees(std::vector<Tree> trees, const Grid<float>& into,
                                   const Grid<float>& beyond) {
    constexpr double kNear = 18.0;
    const int cols = into.width() / static_cast<int>(kNear) + 1;
    const int rows = into.height() / static_cast<int>(kNear) + 1;
    std::vector<std::vector<QPointF>> cells(static_cast<std::size_t>(cols * rows));
    const auto cellOf = [&](QPointF p) {
        return QPoint(std::clamp(static_cast<int>(p.x() / kNear), 0, cols - 1),
                      std::clamp(static_cast<int>(p.y() / kNear), 0, rows - 1));
    };
    for (const Tree& t : trees) {
        const QPoint c = cellOf(t.at);
        cells[static_cast<std::size_t>(c.y() * cols + c.x())].push_back(t.at);
    }
    const auto afield = [&](const Tree& t) {
        const int x = static_cast<int>(t.at.x());
        const int y = static_cast<int>(t.at.y());
        return !into.contains(x, y) || (into(x, y) <= 0.0f && beyond(x, y) >= kStrayReach);
    };
    std::erase_if(trees, [&](const Tree& t) {
        if (!afield(t)) {
            return false;
        }
        const QPoint c = cellOf(t.at);
        int near = 0;
        for (int cy = std::max(0, c.y() - 1); cy <= std::min(rows - 1, c.y() + 1); ++cy) {
            for (int cx = std::max(0, c.x() - 1); cx <= std::min(cols - 1, c.x() + 1); ++cx) {
                for (const QPointF q : cells[static_cast<std::size_t>(cy * cols + cx)]) {
                    near += q != t.at && std::hypot(q.x() - t.at.x(), q.y() - t.at.y()) < kNear;
                }
            }
        }
        return near < 2;
    });
    return trees;
}

}  // namespace

QRectF treeBox(const Tree& t) {
    const QRectF trunk(t.at.x() - 0.6 * t.size, t.at.y() - trunkLength(t), 1.2 * t.size,
                       trunkLength(t));
    QRectF box = crownOf(t).boundingRect().united(trunk);
    for (const QLineF& l : footLines(t)) {
        box |= QRectF(l.p1(), l.p2()).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
    }
    return box.adjusted(-0.5, -0.5, 0.5, 0.5);
}

std::optional<QPointF> nearestStream(const QImage& keepOut, QPointF at, int reach) {
    const QRect box =
        QRect(at.toPoint() - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1))
            .intersected(keepOut.rect());
    std::optional<QPointF> best;
    double near = reach + 1.0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* row = keepOut.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (row[x] == kStreamMark) {
                const double d = std::hypot(x + 0.5 - at.x(), y + 0.5 - at.y());
                if (d < near) {
                    near = d;
                    best = QPointF(x + 0.5, y + 0.5);
                }
            }
        }
    }
    return best;
}

QImage treeKeepOut(const ProvinceScene& s, const NamePlan& names, QSize sheet) {
    QImage mask = openWaterMask(s.terrain, sheet);
    QPainter p(&mask);
    markWays(p, s, 3.0f, 2.0f, 7.0);
    // The streams marked apart, so that a tree in their way may step aside to the bank.
    const QColor stream(kStreamMark, kStreamMark, kStreamMark);
    for (const RiverLine& r : s.water.rivers) {
        strokeVarying(p, r.points, r.widths, stream, 3.0f);
    }
    for (const RiverLine& b : s.water.brooks) {
        strokeVarying(p, b.points, b.widths, stream, 2.0f);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const ProvincePlace& place : s.places) {
        const double r = symbolRadius(place.kind) + (isTownLike(place.kind) ? 8.0 : 1.5);
        p.drawEllipse(QPointF(place.at.x, place.at.y), r, r);
    }
    NamePlan others = names;
    std::erase_if(others.names, [&](const PlacedName& n) { return namesAWood(s, n.text); });
    markNamesAndFurniture(p, others);
    std::uint64_t seed = 0x7EE5'0008ull;
    for (const PlacedName& n : names.names) {
        if (namesAWood(s, n.text)) {
            clearForWoodName(p, n, seed = mix64(seed));
        }
    }
    p.setPen(Qt::NoPen);
    // No tree on a crater's cinder rim.
    markCraters(p, s);
    return mask;
}

std::vector<Tree> plantTrees(const Terrain& terrain, const QImage& keepOut) {
    // Crowns set in loose rows, a row a little shallower than a crown is tall so that each row
    // stands half hidden behind the one in front, every other row shifted by half a tree.
    constexpr double kStepX = 9.5;
    constexpr double kStepY = 8.0;
    const Grid<float>& h = terrain.height;
    const Grid<float> into = intoWoods(terrain);
    const Noise copses(0x7EE5'0003);
    const Noise glades(0x7EE5'0004);
    // Broad swells of old and young growth, and of close and open stands.
    const Noise growth(0x7EE5'0006);
    const Noise stands(0x7EE5'0007);
    // Clumps and thin places a few dozen trees across.
    const Noise knots(0x7EE5'0009);
    // Groups of old trees in a wood's body, a handful of crowns across.
    const Noise elders(0x7EE5'000B);
    const Grid<float> beyond = beyondWoods(into);
    // A wood's knolls, where its conifers stand.
    const Grid<float> rise = groundRise(h);
    const float knoll = woodsHighGround(rise, into);
    std::vector<Tree> trees;
    const int rows = static_cast<int>(h.height() / kStepY) + 1;
    const int cols = static_cast<int>(h.width() / kStepX) + 1;
    for (int gy = 0; gy < rows; ++gy) {
        for (int gx = 0; gx < cols; ++gx) {
            // Each tree's looks come from its own cell, so a change elsewhere leaves it be.
            const std::uint64_t seed = mix64((static_cast<std::uint64_t>(gy) << 24) ^
                                             static_cast<std::uint64_t>(gx) ^ 0x7EE5'0001ull);
            Rng rng(seed);
            const double stagger = (gy % 2) * 0.5 * kStepX;
            // Jittered well off the rows' line, so no row reads as a rank of stamps.
            const QPointF at((gx + 0.5) * kStepX + stagger + rng.range(-0.42, 0.42) * kStepX,
                             (gy + 0.5) * kStepY + rng.range(-0.4, 0.4) * kStepY);
            if (at.x() < 0 || at.y() < 0 || at.x() >= h.width() || at.y() >= h.height()) {
                continue;
            }
            const int x = static_cast<int>(at.x());
            const int y = static_cast<int>(at.y());
            const float hv = h(x, y);
            const float cover = terrain.woods(x, y);
            if (hv <= 0.01f || hv > 0.62f || terrain.lake(x, y) != 0) {
                continue;
            }
            const float fx = static_cast<float>(at.x());
            const float fy = static_cast<float>(at.y());
            const float clump = copses.fbm(fx / 70.0f, fy / 70.0f, 3);
            const float stand = stands.fbm(fx / 160.0f + 11.0f, fy / 160.0f, 2);
            const float depth = into(x, y);
            const float out = beyond(x, y);
            // The rim stands crowded, a row of crowns that is the wood's edge, though its outer
            // few pixels stand looser so the row frays rather than stops. The body stands full
            // but uneven: close cores, a few thinner stretches, broad glades where the cover thins
            // deep inside. Beyond the edge, copses where the cover is thickest, and a scatter of
            // small clumps and a few single trees just outside the outline.
            double keep = 0.0;
            double pair = 0.0;
            int strays = 0;
            // Beside a wood's stream the crowns crowd to the water's edge.
            const std::optional<QPointF> stream =
                depth > 0.0f || out < 10.0f ? nearestStream(keepOut, at, 12) : std::nullopt;
            if (stream && depth < 1.0f) {
                keep = 0.8;
            } else if (depth >= 1.0f && depth < kEdgeBand) {
                const float fray = 1.0f - smoothstep(2.0f, 7.0f, depth);
                keep = 1.0 - 0.38 * fray;
                pair = 0.55 - 0.35 * fray;
            } else if (depth >= kEdgeBand) {
                // Glades of many sizes with ragged edges, the larger deep inside.
                const float glade = glades.fbm(fx / 170.0f, fy / 170.0f, 4);
                const float deep = smoothstep(24.0f, 60.0f, depth);
                const float open =
                    (1.0f - smoothstep(-0.5f, -0.4f, glade + 0.12f * (1.0f - deep))) *
                    smoothstep(0.0f, 0.4f, deep);
                // Close clumps and thin stretches, on the broad swells of close and open stands.
                const float knot = knots.fbm(fx / 48.0f, fy / 48.0f, 2);
                const double close = (0.74 + 0.26 * smoothstep(-0.35f, 0.25f, stand)) *
                                     (0.7 + 0.45 * smoothstep(-0.3f, 0.3f, knot));
                keep = std::min(close, 1.0) * (1.0 - open) + 0.03 * open;
            } else if (depth > 0.0f) {
                continue;  // the edge's own line
            } else if (const float fringe = 0.3f + (0.5f - cover) * 3.0f +
                                            0.16f * growth.fbm(fx / 110.0f + 37.0f, fy / 110.0f, 2);
                       cover >= 0.25f && clump > fringe) {
                keep = 0.85;
            } else if (out > 0.0f && out < kStrayReach &&
                       rng.chance(0.06 * (1.0 - smoothstep(3.0f, kStrayReach, out)) *
                                  smoothstep(-0.5f, 0.2f, stand + 0.2f))) {
                // Mostly a clump of two to five; now and then a tree alone.
                keep = 1.0;
                strays = rng.chance(0.15) ? 0 : 1 + rng.below(4);
            } else {
                continue;
            }
            if (!rng.chance(keep)) {
                continue;
            }
            // A wood's conifers stand together on its knolls.
            const double conifer =
                std::clamp(smoothstep(0.2f, 0.38f, hv) + 0.8f * terrain.moor(x, y) / 255.0f +
                               0.85f * smoothstep(knoll, knoll + 0.004f, rise(x, y)) *
                                   smoothstep(6.0f, 20.0f, depth),
                           0.0f, 0.95f);
            // Crowns stand broad in a wood's heart, where the old trees grow close, with broad
            // stretches of older or younger growth across it.
            const double age = std::clamp(0.98 + 0.08 * smoothstep(20.0f, 60.0f, depth) +
                                              0.36 * growth.fbm(fx / 130.0f, fy / 130.0f, 2),
                                          0.7, 1.3);
            const double moor = terrain.moor(x, y) / 255.0;
            // Old trees stand together in a wood's body, the young towards its rim.
            const double elder =
                depth >= kEdgeBand ? smoothstep(-0.05f, 0.4f, elders.fbm(fx / 40.0f, fy / 40.0f, 2))
                                   : 0.0;
            const double youth =
                depth > 0.0f ? 0.78 + 0.22 * smoothstep(1.0f, kEdgeBand + 8.0f, depth) : 1.0;
            const auto pickShape = [&](Rng& rng, double coniferShare, double heather, float into) {
                const double r = rng.uniform();
                if (rng.chance(coniferShare)) {
                    // The moors' pines stand apart, flat-topped on their stems.
                    const double pine = 0.12 + 0.5 * heather;
                    return r < pine          ? TreeShape::Pine
                           : r < pine + 0.35 ? TreeShape::Spike
                                             : TreeShape::Conifer;
                }
                // Broad spreading and wind-shorn crowns where there is room for them, at the
                // rim and beyond; bushes along the rim and out in the open.
                const bool inside = into > 0.0f;
                const bool rim = inside && into < kEdgeBand;
                const std::pair<TreeShape, double> kinds[] = {{TreeShape::Spreading, !inside ? 0.22
                                                                                     : rim   ? 0.12
                                                                                           : 0.04},
                                                              {TreeShape::FlatTop, !inside ? 0.1
                                                                                   : rim   ? 0.07
                                                                                           : 0.04},
                                                              {TreeShape::Bush, !inside ? 0.1
                                                                                : rim   ? 0.12
                                                                                        : 0.03},
                                                              {TreeShape::Tall, 0.13},
                                                              {TreeShape::Lopsided, 0.14},
                                                              {TreeShape::Lobed, 0.24}};
                double upTo = 0.0;
                for (const auto& [kind, share] : kinds) {
                    upTo += share;
                    if (r < upTo) {
                        return kind;
                    }
                }
                return TreeShape::Broadleaf;
            };
            // A copse keeps to one or two kinds of tree, set by the stretch of country it
            // stands in, and differs in its trees' sizes and pen within rather than from the
            // next copse.
            const bool open = depth <= 0.0f;
            const auto [mostly, also, copseGrowth] = [&] {
                const int cx = static_cast<int>(at.x() / kCopseCell);
                const int cy = static_cast<int>(at.y() / kCopseCell);
                Rng forms(mix64((static_cast<std::uint64_t>(cy) << 24) ^
                                static_cast<std::uint64_t>(cx) ^ 0x7EE5'000Aull));
                const TreeShape first = pickShape(forms, conifer, moor, depth);
                const TreeShape second =
                    forms.chance(0.4) ? first : pickShape(forms, conifer, moor, depth);
                return std::tuple{first, second, forms.range(0.8, 1.25)};
            }();
            const auto plant = [&](QPointF spot) {
                Tree t;
                t.at = spot;
                t.shape = !open             ? pickShape(rng, conifer, moor, depth)
                          : rng.chance(0.7) ? mostly
                                            : also;
                // Mostly middling, some small, a few old trees with broad crowns, the largest in
                // a wood's body; smaller towards the tree line. A copse keeps smaller trees, so
                // it stays small, round one or two big crowns and a bush or two, each copse
                // grown older or younger than the next.
                const double roll = rng.uniform();
                const double old = open ? (roll < 0.13  ? rng.range(1.35, 1.7)
                                           : roll > 0.8 ? rng.range(0.5, 0.68)
                                                        : 1.0)
                                   : depth >= 30.0f && roll < 0.07 * elder ? rng.range(1.45, 1.8)
                                   : roll < 0.04 + 0.12 * elder            ? rng.range(1.15, 1.35)
                                                                           : 1.0;
                const double copse = depth > 0.0f ? 1.0 : 0.8 * copseGrowth;
                t.size = (open ? rng.range(0.8, 1.9) : rng.range(1.15, 1.6)) * old * copse * age *
                         youth * (0.92 + 0.4 * elder) * (1.0 - 0.3 * smoothstep(0.42f, 0.62f, hv));
                // Most stand near upright; now and then one leans well over.
                t.lean = rng.chance(0.15) ? rng.range(-0.34, 0.34) : rng.range(-0.14, 0.14);
                // The body's close crowns stand darker than the rim's.
                t.shade = rng.below(25) - 12 -
                          static_cast<int>(10.0f * smoothstep(kEdgeBand, 50.0f, depth));
                t.seed = rng.next();
                // A tree standing open, beyond the rim, shows its trunk below the crown; the
                // pen presses a little harder along the rim.
                t.stem = open ? rng.range(1.2, 1.6) : 1.0;
                if (old < 0.7 || t.shape == TreeShape::Bush) {
                    t.stem = 0.45;  // a bush: its crown sits on the ground
                }
                t.ink = (open ? rng.range(0.7, 1.25) : rng.range(0.8, 1.15)) *
                        (depth > 0.0f && depth < kEdgeBand ? 1.06 : 1.0);
                // Ground strokes at the foot of some of those standing open, and of a few along
                // the rim; deeper in, the crowns in front hide the ground.
                const double strokes = open ? 0.16 : depth < kEdgeBand ? 0.03 : 0.0;
                t.footStrokes = rng.chance(strokes) ? 1 + rng.below(open ? 3 : 1) : 0;
                // A tree that would stand on a stream steps a little aside, so that the trees
                // come up to the bank rather than leaving a lane along it.
                // Failing that, a smaller one stands in its place, so the bank is lined
                // unevenly, crowns of every size up to the water's edge.
                static constexpr QPointF kSteps[] = {
                    {0, 0},     {3.5, 0},    {-3.5, 0},   {0, 3},       {0, -3},
                    {2.5, 2.5}, {-2.5, 2.5}, {2.5, -2.5}, {-2.5, -2.5}, {0, 5},
                    {0, -5},    {5.5, 0},    {-5.5, 0},   {4.5, 3.5},   {-4.5, 3.5}};
                // Last, a low bush on the bank, where the stream runs just above a tree's foot
                // and a crown would stand over the water: the south banks are lined as well.
                const double full = t.size;
                const TreeShape kind = t.shape;
                for (const double shrink : {1.0, 0.72, 0.0}) {
                    const bool bush = shrink == 0.0 && !open && !isConifer(kind);
                    if (shrink == 0.0 && !bush) {
                        break;
                    }
                    t.size = bush ? std::min(full * 0.6, 0.85) : full * shrink;
                    t.shape = bush ? TreeShape::Bush : kind;
                    t.stem = bush ? 0.45 : t.stem;
                    bool done = false;
                    for (const QPointF step : kSteps) {
                        t.at = spot + step;
                        if (standsClear(keepOut, t)) {
                            trees.push_back(t);
                            done = true;
                            break;
                        }
                        if (!byStream(keepOut, treeBox(t))) {
                            done = true;
                            break;
                        }
                    }
                    if (done) {
                        break;
                    }
                }
            };
            plant(at);
            if (stream) {
                // One more stands between it and the water, its foot on the bank.
                const QPointF off = at - *stream;
                const double d = std::max(std::hypot(off.x(), off.y()), 1e-6);
                plant(*stream + off / d * rng.range(3.5, 6.5));
            }
            // Here and there in the body, and in a copse, two crowns grow into one another and
            // share an outline.
            if ((depth >= kEdgeBand && rng.chance(0.14)) || (open && rng.chance(0.2))) {
                plant(at + QPointF(rng.range(-4.5, 4.5), rng.range(1.5, 3.5)));
            }
            if (rng.chance(pair)) {
                // The rim's second, smaller tree between its neighbours thickens the edge row.
                plant(at + QPointF(rng.range(0.3, 0.6) * kStepX, rng.range(-0.4, 0.1) * kStepY));
            }
            for (int i = 0; i < strays; ++i) {
                const double a = rng.range(0.0, 2.0 * std::numbers::pi);
                const double r = rng.range(4.5, 8.0);
                plant(at + QPointF(std::cos(a) * r, std::sin(a) * r * 0.8));
            }
        }
    }
    trees = withoutLoneTrees(std::move(trees), into, beyond);
    std::stable_sort(trees.begin(), trees.end(),
                     [](const Tree& a, const Tree& b) { return a.at.y() < b.at.y(); });
    return trees;
}

Grid<float> intoWoods(const Terrain& terrain) {
    const Grid<float>& h = terrain.height;
    const int w = h.width();
    const int ht = h.height();
    const auto ground = [&](int x, int y) {
        const float hv = h(x, y);
        return hv > 0.012f && hv < 0.6f && terrain.lake(x, y) == 0;
    };
    Grid<unsigned char> covered(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            covered(x, y) = terrain.woods(x, y) >= kWoodEdgeCover && ground(x, y) ? 1 : 0;
        }
    }
    // A strip of thin cover narrower than a few crowns, down a gully's steep side, is closed
    // over: trees grow across it, where an inked edge either side would read as a lane.
    constexpr float kLane = 13.0f;
    const Grid<float> toCover = distanceTo(covered, kLane + 1.0f);
    Grid<unsigned char> beyondReach(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            beyondReach(x, y) = toCover(x, y) > kLane ? 1 : 0;
        }
    }
    const Grid<float> fromOpen = distanceTo(beyondReach, kLane + 1.0f);
    Grid<unsigned char> outside(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool in = covered(x, y) != 0 || (fromOpen(x, y) > kLane && ground(x, y));
            outside(x, y) = in ? 0 : 1;
        }
    }
    return distanceTo(outside, 64.0f);
}

QImage treeCover(const std::vector<Tree>& trees, QSize size) {
    QImage cover(size, QImage::Format_Grayscale8);
    cover.fill(0);
    QPainter p(&cover);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const Tree& t : trees) {
        p.drawEllipse(treeBox(t).adjusted(-2.5, -2.5, 2.5, 2.5));
    }
    return cover;
}

Grid<int> woodAreas(const Grid<float>& into) {
    const int w = into.width();
    const int ht = into.height();
    Grid<int> area(w, ht, 0);
    Grid<unsigned char> seen(w, ht, 0);
    std::vector<QPoint> stack;
    std::vector<QPoint> members;
    for (int y0 = 0; y0 < ht; ++y0) {
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen(x0, y0) != 0 || into(x0, y0) <= 0.0f) {
                continue;
            }
            members.clear();
            stack.assign(1, QPoint(x0, y0));
            seen(x0, y0) = 1;
            while (!stack.empty()) {
                const QPoint q = stack.back();
                stack.pop_back();
                members.push_back(q);
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = q + d;
                    if (into.contains(n.x(), n.y()) && seen(n.x(), n.y()) == 0 &&
                        into(n.x(), n.y()) > 0.0f) {
                        seen(n.x(), n.y()) = 1;
                        stack.push_back(n);
                    }
                }
            }
            for (const QPoint q : members) {
                area(q.x(), q.y()) = static_cast<int>(members.size());
            }
        }
    }
    return area;
}

QImage woodEdgeLayer(const Terrain& terrain, const QImage& keepOut, const QImage* cover) {
    const Grid<float> into = intoWoods(terrain);
    const int w = into.width();
    const int ht = into.height();
    // One small crown's arc for every few pixels of edge: the point of the edge nearest each
    // cell's (jittered) middle.
    constexpr int kStep = 9;
    // Only round a real wood with a body: a copse of a few trees drawn in a ring of its own reads
    // as a bubble stamped round it.
    const Grid<int> areas = woodAreas(into);
    Grid<unsigned char> body(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            body(x, y) = into(x, y) >= 6.0f && areas(x, y) >= kWoodEdgeArea ? 1 : 0;
        }
    }
    const Grid<float> toBody = distanceTo(body, 16.0f);
    struct Scallop {
        QPointF at;
        double r;
        double pen;  // 0 where the pen is lifted
    };
    // The pen lifts off the edge for stretches and presses harder between, so the wood's
    // outline comes and goes rather than running round it in one even line.
    const Noise pressure(0x7EE5'000C);
    std::vector<Scallop> scallops;
    for (int cy = 0; cy * kStep < ht; ++cy) {
        for (int cx = 0; cx * kStep < w; ++cx) {
            Rng rng(mix64((static_cast<std::uint64_t>(cy) << 24) ^ static_cast<std::uint64_t>(cx) ^
                          0x7EE5'0005ull));
            const QPointF mid(cx * kStep + rng.range(1.0, kStep - 1.0),
                              cy * kStep + rng.range(1.0, kStep - 1.0));
            double best = 1e9;
            QPointF at;
            for (int y = cy * kStep; y < std::min(ht, (cy + 1) * kStep); ++y) {
                for (int x = cx * kStep; x < std::min(w, (cx + 1) * kStep); ++x) {
                    if (into(x, y) <= 0.0f || into(x, y) > 1.0f || toBody(x, y) > 9.0f) {
                        continue;
                    }
                    const double d = std::hypot(x + 0.5 - mid.x(), y + 0.5 - mid.y());
                    if (d < best) {
                        best = d;
                        at = QPointF(x + 0.5, y + 0.5);
                    }
                }
            }
            // An arc round no trees would ring bare ground.
            const bool treed = [&] {
                if (cover == nullptr || best >= 1e9) {
                    return true;
                }
                for (int dy = -4; dy <= 4; dy += 2) {
                    for (int dx = -4; dx <= 4; dx += 2) {
                        const int x = static_cast<int>(at.x()) + dx;
                        const int y = static_cast<int>(at.y()) + dy;
                        if (cover->valid(x, y) && cover->constScanLine(y)[x] != 0) {
                            return true;
                        }
                    }
                }
                return false;
            }();
            if (best < 1e9 && treed) {
                // Mostly small arcs, now and then a broad one, so the edge never runs as a
                // chain of equal bumps.
                const double r = rng.chance(0.2) ? rng.range(7.0, 9.5) : rng.range(3.8, 6.4);
                const float press = pressure.fbm(static_cast<float>(at.x()) / 60.0f,
                                                 static_cast<float>(at.y()) / 60.0f, 2);
                const double pen =
                    press < -0.08f
                        ? 0.0
                        : rng.range(0.75, 1.25) * (0.55 + 0.6 * smoothstep(-0.08f, 0.3f, press));
                scallops.push_back({at, r, pen});
            }
        }
    }
    QImage layer(w, ht, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    for (const Scallop& s : scallops) {
        if (s.pen > 0.0) {
            p.setPen(QPen(kWoodEdgeInk, s.pen));
            p.drawEllipse(s.at, s.r, s.r);
        }
    }
    // Each circle's inside wipes the rings of its neighbours, leaving the union's outer arcs.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const Scallop& s : scallops) {
        p.drawEllipse(s.at, s.r - 0.5, s.r - 0.5);
    }
    p.end();
    // Nothing of it inside the wood's body, or over water, ways, places and names.
    for (int y = 0; y < ht; ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        const uchar* out = keepOut.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] == 0) {
                continue;
            }
            const float k = out[x] != 0 ? 0.0f : 1.0f - smoothstep(0.6f, 2.2f, into(x, y));
            row[x] =
                qPremultiply(qRgba(kWoodEdgeInk.red(), kWoodEdgeInk.green(), kWoodEdgeInk.blue(),
                                   static_cast<int>(qAlpha(row[x]) * k + 0.5f)));
        }
    }
    return layer;
}

void drawTree(QPainter& p, const Tree& t) {
    const double pen = std::clamp(std::clamp(0.62 * t.size, 0.5, 0.8) * t.ink, 0.4, 1.0);
    const QPolygonF crown = crownOf(t);
    const auto [lit, dark] = washes(t);
    const QSizeF e = crownExtent(t);
    // A broadleaf's crown is drawn round through its lobes; a conifer keeps its tiers' points.
    const bool round = !isConifer(t.shape);
    // The ground it shades, away from the light (the side the peaks are hatched on), in a
    // stroke or few of the pen rather than a cast shadow.
    for (const QLineF& l : footLines(t)) {
        p.setPen(QPen(kFootInk, 0.5 * t.ink + 0.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(l);
    }
    p.setPen(QPen(kTreeInk, pen * 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(t.at, t.at - QPointF(0, trunkLength(t) + 0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    p.drawPath(crownPath(crown, round));
    // The lit side: the crown drawn again, smaller and shifted towards the light, leaving the
    // shaded crescent on the south-east.
    const QPointF centre = crown.boundingRect().center();
    QPolygonF litSide;
    const double k = isConifer(t.shape) ? 0.7 : 0.74;
    const QPointF toLight(-0.2 * e.width(), -0.12 * e.height());
    for (const QPointF& q : crown) {
        litSide << centre + (q - centre) * k + toLight;
    }
    p.setBrush(lit);
    p.drawPath(crownPath(litSide, round));
    p.setBrush(Qt::NoBrush);
    // The pen presses on the shaded side and eases off towards the light, on some crowns lifting
    // off it for a stretch of the lit top.
    Rng rng(t.seed ^ 0x1A4Dull);
    const int n = static_cast<int>(crown.size());
    std::vector<double> shade(static_cast<std::size_t>(n));
    int litMost = 0;
    for (int i = 0; i < n; ++i) {
        const QPointF d = crown[i] - centre;
        shade[static_cast<std::size_t>(i)] =
            (0.6 * d.x() / e.width() + 0.8 * d.y() / e.height()) /
            std::max(1e-6, std::hypot(d.x() / e.width(), d.y() / e.height()));
        if (shade[static_cast<std::size_t>(i)] < shade[static_cast<std::size_t>(litMost)]) {
            litMost = i;
        }
    }
    const int gap = round && t.size > 0.8 && rng.chance(0.45)
                        ? std::max(1, static_cast<int>(n * rng.range(0.06, 0.16)))
                        : 0;
    const int gapFrom = litMost - gap / 2 + static_cast<int>(rng.below(3)) - 1;
    std::vector<int> light;
    std::vector<int> heavy;
    for (int i = 0; i < n; ++i) {
        if (((i - gapFrom) % n + n) % n < gap) {
            continue;
        }
        (shade[static_cast<std::size_t>(i)] > 0.25 ? heavy : light).push_back(i);
    }
    p.setPen(QPen(kTreeInk, pen * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(crownStretches(crown, light, round));
    p.setPen(QPen(kTreeInk, pen * 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(crownStretches(crown, heavy, round));
    if (t.size > 1.0 && round) {
        // A stroke or two of hatching in the shade.
        p.setPen(QPen(kTreeInk, pen * 0.9, Qt::SolidLine, Qt::RoundCap));
        const int strokes = 1 + (t.size > 1.3 && rng.chance(0.5) ? 1 : 0);
        for (int i = 0; i < strokes; ++i) {
            const QPointF from =
                centre + QPointF((0.15 + 0.12 * i) * e.width(), (0.3 - 0.2 * i) * e.height());
            p.drawLine(from, from + QPointF(rng.range(0.3, 0.5) * e.width(),
                                            -rng.range(0.15, 0.3) * e.height()));
        }
    }
}

}  // namespace marventa
