#include "tools/paint/map_names.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <numbers>
#include <optional>

#include "tools/common/label_placer.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/point_labels.h"
#include "tools/paint/symbols.h"

namespace marventa {

namespace {

const QColor kPaperHalo(255, 250, 236, 225);
const QColor kInk(44, 32, 22);
const QColor kWaterInk(36, 74, 124);

// The corners of a `size` box centred on `centre` and turned by `degrees`.
QPolygonF turnedBox(QPointF centre, QSizeF size, double degrees) {
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    return t.map(
        QPolygonF(QRectF(-size.width() / 2, -size.height() / 2, size.width(), size.height())));
}

using Anchor = std::pair<QPointF, double>;  // a name's centre and its turn in degrees

// A name and the spots it may take, best first.
struct Candidate {
    QString text;
    TextStyle style;
    QSizeF size;
    std::vector<Anchor> anchors;
    int rank;
};

Candidate candidate(const QString& text, const TextStyle& style, double padding,
                    std::vector<Anchor> anchors, int rank) {
    const QFontMetricsF m(style.font);
    return {text, style, QSizeF(m.horizontalAdvance(text) + padding, m.ascent() + m.descent()),
            std::move(anchors), rank};
}

// The cities, towns, villages and landmarks, beside their symbols: first the eight spots close
// round it, then the same a little farther out.
void placeNames(const ProvinceScene& s, std::vector<Candidate>& out) {
    const TextStyle city{mapFont(TypeFace::SerifBold, 32), kInk, kPaperHalo, 6.0};
    const TextStyle town{mapFont(TypeFace::SerifBold, 21), QColor(62, 44, 30), kPaperHalo, 4.5};
    const TextStyle village{mapFont(TypeFace::Serif, 16), QColor(62, 44, 30), kPaperHalo, 3.5};
    const TextStyle landmark{mapFont(TypeFace::SerifItalic, 16), QColor(90, 40, 60), kPaperHalo,
                             3.5};
    for (const ProvincePlace& place : s.places) {
        const TextStyle* style = place.kind == PlaceKind::City         ? &city
                                 : place.kind == PlaceKind::Town       ? &town
                                 : place.kind == PlaceKind::Settlement ? &village
                                 : place.kind == PlaceKind::Landmark   ? &landmark
                                                                       : nullptr;
        if (!style) {
            continue;
        }
        Candidate c = candidate(QString::fromStdString(place.name), *style, 4, {}, 0);
        const QPointF at(place.at.x, place.at.y);
        const double gap = symbolRadius(place.kind) + 3;
        for (const double g : {gap, gap + 8}) {
            for (const QRectF& r : LabelPlacer::around(at, c.size, g)) {
                c.anchors.emplace_back(r.center(), 0.0);
            }
        }
        const bool townLike = place.kind == PlaceKind::City || place.kind == PlaceKind::Town;
        c.rank = townLike ? 0 : 1;
        out.push_back(std::move(c));
    }
}

// Candidate spots along a line: middle first, then further out, on and beside it.
std::vector<Anchor> alongLine(const std::vector<QPointF>& line,
                              std::initializer_list<double> offsets) {
    const std::vector<QPointF> pts = resample(line, 10.0);
    std::vector<Anchor> out;
    for (double f : {0.5, 0.42, 0.58, 0.34, 0.66, 0.26, 0.74, 0.18, 0.82}) {
        const std::size_t i = static_cast<std::size_t>(f * static_cast<double>(pts.size() - 1));
        const std::size_t a = i >= 6 ? i - 6 : 0;
        const std::size_t b = std::min(pts.size() - 1, i + 6);
        const QPointF dir = pts[b] - pts[a];
        const QPointF across = QPointF(-dir.y(), dir.x()) / std::max(1e-9, length(dir));
        for (double side : offsets) {
            out.emplace_back(pts[i] + across * side, uprightAngle(dir));
        }
    }
    return out;
}

std::vector<Anchor> aroundSpot(QPointF centre, double degrees, double step) {
    std::vector<Anchor> out{{centre, degrees}};
    for (int ring = 1; ring <= 6; ++ring) {
        for (int k = 0; k < 8; ++k) {
            const double a = k * std::numbers::pi / 4;
            out.emplace_back(centre + ring * step * QPointF(std::cos(a), std::sin(a)), degrees);
        }
    }
    return out;
}

// Ranges along their crests, rivers along their course, woods, lakes and seas round their
// middles.
void areaNames(const ProvinceScene& s, std::vector<Candidate>& out) {
    const TextStyle range{mapFont(TypeFace::SerifBold, 30, 9), QColor(104, 70, 40, 210),
                          QColor(255, 248, 230, 120), 4.0};
    const TextStyle wood{mapFont(TypeFace::SerifItalic, 30, 3), QColor(24, 56, 24),
                         QColor(240, 246, 228, 235), 6.0};
    const TextStyle lake{mapFont(TypeFace::SerifItalic, 20), kWaterInk, QColor(214, 234, 244, 200),
                         3.0};
    const TextStyle river{mapFont(TypeFace::SerifItalic, 19), kWaterInk, QColor(240, 246, 236, 190),
                          3.0};
    const TextStyle sea{mapFont(TypeFace::SerifItalic, 44, 8), kWaterInk,
                        QColor(210, 230, 240, 150), 4.0};
    for (const Ridge& r : s.layout.ridges) {
        out.push_back(
            candidate(r.name.toUpper(), range, 6,
                      alongLine(r.crest, {0.0, 60.0, -60.0, 120.0, -120.0, 180.0, -180.0}), 1));
    }
    for (const Wood& w : s.layout.woods) {
        out.push_back(candidate(w.name, wood, 6, aroundSpot(w.shape.centre, 0.0, 40.0), 1));
    }
    for (const LakeShape& l : s.water.lakes) {
        out.push_back(candidate(l.name, lake, 6, aroundSpot(l.centre, 0.0, 14.0), 1));
    }
    for (const RiverLine& r : s.water.rivers) {
        if (!r.name.isEmpty()) {
            out.push_back(
                candidate(r.name, river, 6, alongLine(r.points, {16.0, -16.0, 34.0, -34.0}), 1));
        }
    }
    for (const AreaName& n : s.layout.seaNames) {
        out.push_back(candidate(n.text, sea, 6, aroundSpot(n.anchor, n.angleDegrees, 30.0), 1));
    }
}

// The roads, rivers and brooks a name had best not hide, as a mask of the sheet.
QImage lineMask(const ProvinceScene& s, QSize sheet) {
    QImage mask(sheet, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    for (const auto* lines : {&s.water.rivers, &s.water.brooks}) {
        for (const RiverLine& r : *lines) {
            strokeVarying(p, r.points, r.widths, Qt::white, 2.0f);
        }
    }
    p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const RoadLine& r : s.roads) {
        p.drawPath(linePath(r.points));
    }
    return mask;
}

// How much of the mask a turned box covers: one for each sample, three pixels apart, that falls
// on a line.
double covered(const QImage& mask, const QPolygonF& box) {
    const QPointF origin = box[0];
    const QPointF along = box[1] - box[0];
    const QPointF down = box[3] - box[0];
    const int nu = std::max(1, static_cast<int>(length(along) / 3.0));
    const int nv = std::max(1, static_cast<int>(length(down) / 3.0));
    double hits = 0.0;
    for (int v = 0; v <= nv; ++v) {
        for (int u = 0; u <= nu; ++u) {
            const QPointF q = origin + along * (double(u) / nu) + down * (double(v) / nv);
            const int x = static_cast<int>(q.x());
            const int y = static_cast<int>(q.y());
            if (mask.valid(x, y) && mask.constScanLine(y)[x] != 0) {
                hits += 1.0;
            }
        }
    }
    return hits;
}

}  // namespace

NamePlan planNames(const ProvinceScene& s, QSize sheet) {
    NamePlan plan;
    for (const ProvincePlace& place : s.places) {
        const double r = symbolRadius(place.kind) + 2.0;
        plan.symbols.emplace_back(place.at.x - r, place.at.y - r * 1.2, 2 * r, 2.2 * r);
    }
    for (const QPointF& at : hotSprings(s)) {
        plan.symbols.emplace_back(at.x() - 10, at.y() - 11, 20, 20);
    }
    std::vector<QRectF> obstacles = plan.symbols;
    obstacles.insert(obstacles.end(), {kTitlePanel, kRoseBox, kKeyPanel});
    std::vector<Candidate> names;
    placeNames(s, names);
    areaNames(s, names);
    std::vector<PointLabel> labels;
    for (const Candidate& c : names) {
        PointLabel l{{}, c.rank};
        for (const auto& [centre, degrees] : c.anchors) {
            l.spots.push_back(turnedBox(centre, c.size, degrees));
        }
        labels.push_back(std::move(l));
    }
    // Names give way to each other and the symbols; where they can, they also keep off the
    // roads and rivers.
    const QImage lines = lineMask(s, sheet);
    const std::vector<std::optional<std::size_t>> chosen =
        arrangeLabels(labels, obstacles, QRectF(14, 14, sheet.width() - 28, sheet.height() - 28),
                      0x1ABE'0001, [&](const QPolygonF& box) { return covered(lines, box); });
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!chosen[i]) {
            plan.leftOut.push_back(names[i].text);
            continue;
        }
        const auto& [centre, degrees] = names[i].anchors[*chosen[i]];
        plan.names.push_back(
            {names[i].text, names[i].style, centre, degrees, labels[i].spots[*chosen[i]]});
    }
    return plan;
}

void drawNames(QPainter& p, const NamePlan& plan) {
    for (const PlacedName& n : plan.names) {
        p.save();
        p.translate(n.centre);
        p.rotate(n.degrees);
        drawHaloTextCentred(p, n.text, QPointF(0, 0), n.style);
        p.restore();
    }
}

}  // namespace marventa
