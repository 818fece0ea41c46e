#include "polygons.h"

#include <QPainterPath>
#include <algorithm>
#include <boost/polygon/polygon.hpp>
#include <cmath>
#include <numbers>

namespace marventa::plan {

namespace {

namespace gtl = boost::polygon;
using IPt = gtl::point_data<int>;
using IRing = gtl::polygon_data<int>;
using IPoly = gtl::polygon_with_holes_data<int>;
using ISet = gtl::polygon_set_data<int>;

// Set operations run in integers on a grid of 1/256 px, so that every crossing is computed
// exactly and lands on the same grid point whatever the compiler or library release.
constexpr double kGrid = 256;

int snap(double v) {
    return static_cast<int>(std::llround(v * kGrid));
}

// Twice the ring's signed area; positive when it turns like the x axis onto the y axis.
double twiceSigned(const std::vector<Pt>& r) {
    double s = 0;
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        s += r[i].x() * r[i + 1].y() - r[i + 1].x() * r[i].y();
    }
    return s;
}

// The ring closed, with its interior to the right of each edge (outer rings) or to its left
// (holes): the winding every Poly keeps.
void orient(std::vector<Pt>& r, bool hole) {
    if (r.empty()) {
        return;
    }
    if (r.front().x() != r.back().x() || r.front().y() != r.back().y()) {
        r.push_back(r.front());
    }
    if ((twiceSigned(r) > 0) != hole) {
        std::reverse(r.begin(), r.end());
    }
}

template <typename Ring>
IRing toIRing(const Ring& ring) {
    std::vector<IPt> pts;
    for (const auto& v : ring) {
        const IPt q(snap(v.x()), snap(v.y()));
        if (pts.empty() || pts.back() != q) {
            pts.push_back(q);
        }
    }
    while (pts.size() > 1 && pts.front() == pts.back()) {
        pts.pop_back();
    }
    IRing out;
    if (pts.size() >= 3) {
        out.set(pts.begin(), pts.end());
    }
    return out;
}

void insert(ISet& set, const Area& a) {
    for (const Poly& p : a) {
        IPoly ip;
        ip.self_ = toIRing(p.outer());
        if (ip.self_.size() < 3) {
            continue;
        }
        for (const auto& inner : p.inners()) {
            IRing h = toIRing(inner);
            if (h.size() >= 3) {
                ip.holes_.push_back(std::move(h));
            }
        }
        set.insert(ip);
    }
}

void insertRings(ISet& set, const std::vector<std::vector<QPointF>>& rings) {
    for (const auto& r : rings) {
        const IRing ir = toIRing(r);
        if (ir.size() >= 3) {
            set.insert(ir);
        }
    }
}

ISet toSet(const Area& a) {
    ISet s;
    insert(s, a);
    return s;
}

// Crossings rounded to the grid leave a long edge that many others cut as a staircase of tiny
// jogs; a vertex within this many grid steps of the line through its neighbours goes.
constexpr double kJog = 4;

std::vector<IPt> straightened(const IRing& r) {
    std::vector<IPt> pts(r.begin(), r.end());
    bool changed = true;
    while (changed && pts.size() > 3) {
        changed = false;
        for (std::size_t i = 0; i < pts.size() && pts.size() > 3;) {
            const IPt& a = pts[(i + pts.size() - 1) % pts.size()];
            const IPt& b = pts[i];
            const IPt& c = pts[(i + 1) % pts.size()];
            const double abx = double(b.x()) - a.x();
            const double aby = double(b.y()) - a.y();
            const double acx = double(c.x()) - a.x();
            const double acy = double(c.y()) - a.y();
            const double cross = std::abs(abx * acy - aby * acx);
            const double chord = std::sqrt(acx * acx + acy * acy);
            const bool onward = abx * acx + aby * acy > 0;  // not a spike doubling back
            if (cross <= kJog * chord && (onward || chord == 0)) {
                pts.erase(pts.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            } else {
                ++i;
            }
        }
    }
    return pts;
}

std::vector<Pt> fromIRing(const IRing& r, bool hole) {
    std::vector<Pt> out;
    for (const IPt& q : straightened(r)) {
        out.emplace_back(q.x() / kGrid, q.y() / kGrid);
    }
    orient(out, hole);
    return out;
}

Area toArea(const ISet& s) {
    std::vector<IPoly> polys;
    s.get(polys);
    Area out;
    for (const IPoly& ip : polys) {
        Poly p;
        const std::vector<Pt> ring = fromIRing(ip.self_, false);
        p.outer().assign(ring.begin(), ring.end());
        for (const IRing& h : ip.holes_) {
            const std::vector<Pt> hole = fromIRing(h, true);
            p.inners().emplace_back(hole.begin(), hole.end());
        }
        out.push_back(std::move(p));
    }
    return out;
}

QPointF at(const Pt& p) {
    return {p.x(), p.y()};
}

QPointF unit(QPointF v) {
    return v / std::sqrt(QPointF::dotProduct(v, v));
}

// A ring's vertices without the closing repeat or zero-length edges.
std::vector<QPointF> corners(const std::vector<Pt>& ring) {
    std::vector<QPointF> out;
    for (const Pt& p : ring) {
        if (out.empty() || at(p) != out.back()) {
            out.push_back(at(p));
        }
    }
    while (out.size() > 1 && out.front() == out.back()) {
        out.pop_back();
    }
    return out;
}

// The pieces a ring's boundary sweeps when it moves `r` towards `side` (+1: away from the
// area, -1: into it): a strip along every edge, and at every corner where the strips part,
// the mitred wedge between them, cut square where the mitre would reach past twice `r`.
void sweep(const std::vector<Pt>& ring, bool hole, double r, double side,
           std::vector<std::vector<QPointF>>& pieces) {
    const std::vector<QPointF> v = corners(ring);
    const std::size_t n = v.size();
    if (n < 3) {
        return;
    }
    const bool leftIsInside = (twiceSigned(ring) > 0) != hole;
    const double toward = (leftIsInside ? -1.0 : 1.0) * side;
    const auto normal = [&](QPointF dir) { return QPointF(-dir.y(), dir.x()) * toward; };
    constexpr double kMitreLimit = 2.0;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF a = v[i];
        const QPointF b = v[(i + 1) % n];
        const QPointF c = v[(i + 2) % n];
        const QPointF e1 = unit(b - a);
        const QPointF e2 = unit(c - b);
        const QPointF m1 = normal(e1);
        const QPointF m2 = normal(e2);
        pieces.push_back({a, b, b + m1 * r, a + m1 * r});
        if (QPointF::dotProduct(e2, m1) >= 0) {
            continue;
        }
        const QPointF sum = m1 + m2;
        const double sumLength = std::sqrt(QPointF::dotProduct(sum, sum));
        if (sumLength * kMitreLimit > 2.0) {
            pieces.push_back(
                {b, b + m1 * r, b + sum * (r / (1 + QPointF::dotProduct(m1, m2))), b + m2 * r});
        } else {
            const QPointF bis = sumLength > 1e-9 ? sum / sumLength : e1;
            const double t1 =
                r * (kMitreLimit - QPointF::dotProduct(bis, m1)) / QPointF::dotProduct(bis, e1);
            const double t2 =
                r * (kMitreLimit - QPointF::dotProduct(bis, m2)) / -QPointF::dotProduct(bis, e2);
            pieces.push_back(
                {b, b + m1 * r, b + m1 * r + e1 * t1, b + m2 * r - e2 * t2, b + m2 * r});
        }
    }
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + ab * t);
    return std::sqrt(QPointF::dotProduct(d, d));
}

template <typename Ring>
bool insideRing(const Ring& r, QPointF p) {
    bool in = false;
    for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        const double xi = r[i].x();
        const double yi = r[i].y();
        const double xj = r[j].x();
        const double yj = r[j].y();
        if ((yi > p.y()) != (yj > p.y()) && p.x() < (xj - xi) * (p.y() - yi) / (yj - yi) + xi) {
            in = !in;
        }
    }
    return in;
}

bool inside(const Poly& p, QPointF q) {
    if (p.outer().size() < 3 || !insideRing(p.outer(), q)) {
        return false;
    }
    return std::none_of(p.inners().begin(), p.inners().end(),
                        [&](const auto& h) { return h.size() >= 3 && insideRing(h, q); });
}

template <typename Fn>
void forEachEdge(const Area& a, Fn&& fn) {
    const auto ring = [&](const auto& r) {
        for (std::size_t i = 0; i + 1 < r.size(); ++i) {
            fn(at(r[i]), at(r[i + 1]));
        }
    };
    for (const Poly& p : a) {
        ring(p.outer());
        for (const auto& h : p.inners()) {
            ring(h);
        }
    }
}

}  // namespace

Poly toPoly(const std::vector<QPointF>& ring) {
    Poly p;
    for (const QPointF& q : ring) {
        p.outer().emplace_back(q.x(), q.y());
    }
    orient(p.outer(), false);
    return p;
}

Poly toPoly(const QPolygonF& ring) {
    return toPoly(std::vector<QPointF>(ring.begin(), ring.end()));
}

Area toArea(const std::vector<QPointF>& ring) {
    Area a;
    a.push_back(toPoly(ring));
    return a;
}

Area filledArea(const std::vector<QPointF>& ring) {
    // A self-crossing ring (a river's inner bank folding over itself at a bend) is untangled by
    // Qt into simple outlines first; alternate outlines are holes.
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(QPolygonF(QList<QPointF>(ring.begin(), ring.end())));
    path.closeSubpath();
    ISet out;
    for (const QPolygonF& piece : path.simplified().toSubpathPolygons()) {
        ISet s;
        insertRings(s, {std::vector<QPointF>(piece.begin(), piece.end())});
        using namespace gtl::operators;
        out ^= s;
    }
    return toArea(out);
}

QPolygonF outer(const Poly& p) {
    QPolygonF q;
    for (const Pt& v : p.outer()) {
        q << at(v);
    }
    return q;
}

std::vector<QPolygonF> outers(const Area& a) {
    std::vector<QPolygonF> out;
    for (const Poly& p : a) {
        out.push_back(outer(p));
    }
    return out;
}

QPainterPath pathOf(const Area& a) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const Poly& p : a) {
        path.addPolygon(outer(p));
        for (const auto& inner : p.inners()) {
            QPolygonF q;
            for (const Pt& v : inner) {
                q << at(v);
            }
            path.addPolygon(q);
        }
    }
    return path;
}

Area unite(const Area& a, const Area& b) {
    ISet s;
    insert(s, a);
    insert(s, b);
    return toArea(s);
}

Area intersect(const Area& a, const Area& b) {
    using namespace gtl::operators;
    ISet s = toSet(a);
    s &= toSet(b);
    return toArea(s);
}

Area subtract(const Area& a, const Area& b) {
    using namespace gtl::operators;
    ISet s = toSet(a);
    s -= toSet(b);
    return toArea(s);
}

Area grow(const Area& a, double d) {
    ISet s = toSet(a);
    if (d != 0) {
        std::vector<std::vector<QPointF>> pieces;
        const double side = d > 0 ? 1 : -1;
        for (const Poly& p : a) {
            sweep(p.outer(), false, std::abs(d), side, pieces);
            for (const auto& h : p.inners()) {
                sweep(h, true, std::abs(d), side, pieces);
            }
        }
        ISet swept;
        insertRings(swept, pieces);
        using namespace gtl::operators;
        if (d > 0) {
            s |= swept;
        } else {
            s -= swept;
        }
    }
    return toArea(s);
}

Area band(const std::vector<QPointF>& line, double halfWidth) {
    // Each segment's strip and, at every point, a disc: round ends and round bends alike.
    constexpr int kDiscCorners = 16;
    std::vector<std::vector<QPointF>> pieces;
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::vector<QPointF> disc;
        for (int k = 0; k < kDiscCorners; ++k) {
            const double t = 2 * std::numbers::pi * k / kDiscCorners;
            disc.push_back(line[i] + QPointF(std::cos(t), std::sin(t)) * halfWidth);
        }
        pieces.push_back(std::move(disc));
        if (i + 1 < line.size() && line[i + 1] != line[i]) {
            const QPointF dir = unit(line[i + 1] - line[i]);
            const QPointF n = QPointF(-dir.y(), dir.x()) * halfWidth;
            pieces.push_back({line[i] - n, line[i + 1] - n, line[i + 1] + n, line[i] + n});
        }
    }
    ISet s;
    insertRings(s, pieces);
    return toArea(s);
}

std::vector<std::vector<QPointF>> clip(const std::vector<QPointF>& line, const Area& a) {
    std::vector<std::vector<QPointF>> runs;
    bool open = false;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF p = line[i];
        const QPointF d = line[i + 1] - p;
        std::vector<double> cuts{0.0, 1.0};
        forEachEdge(a, [&](QPointF e0, QPointF e1) {
            const QPointF e = e1 - e0;
            const double den = d.x() * e.y() - d.y() * e.x();
            if (den == 0) {
                return;
            }
            const QPointF w = e0 - p;
            const double t = (w.x() * e.y() - w.y() * e.x()) / den;
            const double u = (w.x() * d.y() - w.y() * d.x()) / den;
            if (t > 0 && t < 1 && u >= 0 && u <= 1) {
                cuts.push_back(t);
            }
        });
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            if (cuts[k + 1] <= cuts[k]) {
                continue;
            }
            if (!contains(a, p + d * ((cuts[k] + cuts[k + 1]) / 2))) {
                open = false;
                continue;
            }
            if (!open) {
                runs.push_back({p + d * cuts[k]});
                open = true;
            }
            runs.back().push_back(cuts[k + 1] == 1.0 ? line[i + 1] : p + d * cuts[k + 1]);
        }
    }
    return runs;
}

double areaOf(const Area& a) {
    double sum = 0;
    for (const Poly& p : a) {
        sum += areaOf(p);
    }
    return sum;
}

double areaOf(const Poly& p) {
    double s = std::abs(twiceSigned(p.outer()));
    for (const auto& h : p.inners()) {
        s -= std::abs(twiceSigned(h));
    }
    return s / 2;
}

bool contains(const Area& a, QPointF p) {
    return std::any_of(a.begin(), a.end(), [&](const Poly& poly) { return inside(poly, p); });
}

double distanceTo(const Area& a, QPointF p) {
    if (a.empty()) {
        return 1e9;
    }
    if (contains(a, p)) {
        return 0;
    }
    double d = 1e9;
    forEachEdge(a, [&](QPointF e0, QPointF e1) { d = std::min(d, distanceToSegment(p, e0, e1)); });
    return d;
}

QRectF boundsOf(const Area& a) {
    double x0 = 1e18;
    double y0 = 1e18;
    double x1 = -1e18;
    double y1 = -1e18;
    for (const Poly& p : a) {
        for (const Pt& v : p.outer()) {
            x0 = std::min(x0, v.x());
            y0 = std::min(y0, v.y());
            x1 = std::max(x1, v.x());
            y1 = std::max(y1, v.y());
        }
    }
    return x0 > x1 ? QRectF() : QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

bool overlaps(const Area& a, const Area& b, double minArea) {
    const QRectF ba = boundsOf(a);
    const QRectF bb = boundsOf(b);
    const bool boxesMeet = ba.left() <= bb.right() && bb.left() <= ba.right() &&
                           ba.top() <= bb.bottom() && bb.top() <= ba.bottom();
    return !a.empty() && !b.empty() && boxesMeet && areaOf(intersect(a, b)) > minArea;
}

Poly largest(const Area& a) {
    Poly best;
    double bestArea = 0;
    for (const Poly& p : a) {
        const double ar = areaOf(p);
        if (ar > bestArea) {
            bestArea = ar;
            best = p;
        }
    }
    return best;
}

QPointF centroidOf(const Poly& p) {
    double area = 0;
    double mx = 0;
    double my = 0;
    const auto add = [&](const auto& r, bool hole) {
        const double s = twiceSigned(r);
        const double sign = ((s > 0) != hole) ? 1.0 : -1.0;
        for (std::size_t i = 0; i + 1 < r.size(); ++i) {
            const double cross = r[i].x() * r[i + 1].y() - r[i + 1].x() * r[i].y();
            mx += sign * (r[i].x() + r[i + 1].x()) * cross;
            my += sign * (r[i].y() + r[i + 1].y()) * cross;
        }
        area += sign * s;
    };
    add(p.outer(), false);
    for (const auto& h : p.inners()) {
        add(h, true);
    }
    if (area == 0) {
        return p.outer().empty() ? QPointF() : at(p.outer().front());
    }
    return {mx / (3 * area), my / (3 * area)};
}

}  // namespace marventa::plan
