#include "polygons.h"

namespace marventa::plan {

Poly toPoly(const std::vector<QPointF>& ring) {
    Poly p;
    for (const QPointF& q : ring) {
        bg::append(p.outer(), Pt(q.x(), q.y()));
    }
    bg::correct(p);
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
    // Boost's set operations go wrong on a self-crossing ring (a river's inner bank folding over
    // itself at a bend); Qt untangles it into simple outlines first.
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(QPolygonF(QList<QPointF>(ring.begin(), ring.end())));
    path.closeSubpath();
    Area out;
    for (const QPolygonF& piece : path.simplified().toSubpathPolygons()) {
        Area a = toArea(std::vector<QPointF>(piece.begin(), piece.end()));
        Area next;
        bg::sym_difference(out, a, next);
        out = std::move(next);
    }
    return out;
}

QPolygonF outer(const Poly& p) {
    QPolygonF q;
    for (const Pt& v : p.outer()) {
        q << QPointF(v.x(), v.y());
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
                q << QPointF(v.x(), v.y());
            }
            path.addPolygon(q);
        }
    }
    return path;
}

Line toLine(const std::vector<QPointF>& pts) {
    Line l;
    for (const QPointF& q : pts) {
        bg::append(l, Pt(q.x(), q.y()));
    }
    return l;
}

Area unite(const Area& a, const Area& b) {
    Area out;
    bg::union_(a, b, out);
    return out;
}

Area intersect(const Area& a, const Area& b) {
    Area out;
    bg::intersection(a, b, out);
    return out;
}

Area subtract(const Area& a, const Area& b) {
    Area out;
    bg::difference(a, b, out);
    return out;
}

Area grow(const Area& a, double d) {
    Area out;
    bg::buffer(a, out, bg::strategy::buffer::distance_symmetric<double>(d),
               bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_miter(2.0),
               bg::strategy::buffer::end_flat(), bg::strategy::buffer::point_circle(12));
    return out;
}

Area band(const std::vector<QPointF>& line, double halfWidth) {
    Area out;
    bg::buffer(toLine(line), out, bg::strategy::buffer::distance_symmetric<double>(halfWidth),
               bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_round(12),
               bg::strategy::buffer::end_round(12), bg::strategy::buffer::point_circle(12));
    return out;
}

double areaOf(const Area& a) {
    return bg::area(a);
}

double areaOf(const Poly& p) {
    return bg::area(p);
}

bool contains(const Area& a, QPointF p) {
    return bg::within(Pt(p.x(), p.y()), a);
}

double distanceTo(const Area& a, QPointF p) {
    return a.empty() ? 1e9 : bg::distance(Pt(p.x(), p.y()), a);
}

Poly largest(const Area& a) {
    Poly best;
    double bestArea = 0;
    for (const Poly& p : a) {
        const double ar = bg::area(p);
        if (ar > bestArea) {
            bestArea = ar;
            best = p;
        }
    }
    return best;
}

QPointF centroidOf(const Poly& p) {
    Pt c(0, 0);
    bg::centroid(p, c);
    return {c.x(), c.y()};
}

}  // namespace marventa::plan
