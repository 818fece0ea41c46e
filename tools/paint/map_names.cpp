#include "tools/paint/map_names.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <numbers>
#include <optional>

#include "tools/common/label_placer.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/crossing_marks.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/ink.h"
#include "tools/paint/ink_knockout.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/legend.h"
#include "tools/paint/lettering.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/point_labels.h"
#include "tools/paint/sea_names.h"
#include "tools/paint/symbols.h"
#include "tools/sites/site_rules.h"

namespace marventa {

namespace {

const QColor kWaterInk(36, 74, 124);

using Anchor = std::pair<QPointF, double>;  // a name's centre and its turn in degrees

constexpr double kSymbolTop = 1.2;           // how far a symbol's box reaches above it, in radii
constexpr double kSteepestRangeName = 60.0;  // degrees from the level
// Bent along its own crest a range's name follows the line however steep it runs: down it left
// to right, or, steeper than this, reading upward as the sea's names do.
constexpr double kReadsUpward = 78.0;
// Beyond what a spot hides: a steep range's name set level, off its line (some two peaks' worth).
constexpr double kLevelAcrossRange = 200.0;

enum class Sort { Place, Range, Other };

// A name and the settings it may take, best first.
struct Candidate {
    QString text;
    TextStyle style;
    std::vector<SetText> spots;
    int rank;
    Sort sort;
    QPointF symbol;  // a place's symbol, which its name must not be cut off from
    double symbolRadius = 0.0;
    std::size_t beside = 0;  // how many of the first spots sit right beside the symbol
    std::size_t far = std::numeric_limits<std::size_t>::max();  // the first of the outer ring's
    bool onWater = false;     // a lake's name: on its water, or clear of it, never across its shore
    bool settlement = false;  // a city's, town's or village's, which no road should run through
    bool breaksWater = false;  // an area's, over whose letters no line of water runs on
    bool seaMark = false;      // a mark standing out in the sea, named on its water as on the land
    std::vector<double> surcharge = {};  // what each spot costs beyond what it hides, if any
};

Candidate straight(const QString& text, const TextStyle& style, double padding,
                   const std::vector<Anchor>& anchors, int rank, Sort sort) {
    Candidate c{text, style, {}, rank, sort, {}};
    for (const auto& [centre, degrees] : anchors) {
        c.spots.push_back(setStraight(text, style.font, centre, degrees, padding));
    }
    return c;
}

QSizeF textSize(const QString& text, const QFont& font, double padding) {
    const QFontMetricsF m(font);
    return {m.horizontalAdvance(text) + padding, m.ascent() + m.descent()};
}

// The box a landmark's drawing covers round `at`; empty for one without a drawing.
QRectF drawingBox(const ProvincePlace& place, const Waterways& water) {
    constexpr int kHalf = 120;
    const QPointF at(place.at.x, place.at.y);
    QImage mask(2 * kHalf, 2 * kHalf, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.translate(QPointF(kHalf, kHalf) - at);
    drawLandmarkFeature(p, place.name, at, water);
    p.end();
    QRect box;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < mask.width(); ++x) {
            if (row[x] >= 24) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box.isEmpty() ? QRectF() : QRectF(box).translated(at - QPointF(kHalf, kHalf));
}

// The cities, towns, villages and landmarks, beside their symbols: first the eight spots close
// round it, then the same farther and farther out.
void placeNames(const ProvinceScene& s, std::vector<Candidate>& out) {
    // The ranks read apart as an atlas sets them, all in the one book face: the capital in
    // spaced capitals, cities bold, towns upright and plain, villages small in a lighter ink.
    // The face is small on its x-height, so each rank is set a size or two up to read as large.
    // The lines under a name are broken off a little past its letters (the styles' halo width),
    // its ground kept.
    TextStyle capital{mapFont(TypeFace::SerifBold, 25, 2.5), kLetterInk, kPaperHalo, 2.2};
    capital.font.setCapitalization(QFont::AllUppercase);
    const TextStyle city{mapFont(TypeFace::SerifBold, 34), kLetterInk, kPaperHalo, 2.2};
    const TextStyle town{mapFont(TypeFace::Serif, 24), QColor(62, 44, 30), kPaperHalo, 1.8};
    const TextStyle village{mapFont(TypeFace::Serif, 17), QColor(84, 64, 46), kPaperHalo, 1.6};
    const TextStyle landmark{mapFont(TypeFace::SerifItalic, 18), QColor(90, 40, 60), kPaperHalo,
                             1.6};
    for (const ProvincePlace& place : s.places) {
        const TextStyle* style = isCapital(place)                      ? &capital
                                 : place.kind == PlaceKind::City       ? &city
                                 : place.kind == PlaceKind::Town       ? &town
                                 : place.kind == PlaceKind::Settlement ? &village
                                 : place.kind == PlaceKind::Landmark   ? &landmark
                                                                       : nullptr;
        if (!style) {
            continue;
        }
        const QString name = QString::fromStdString(place.name);
        const QSizeF size = textSize(name, style->font, 4);
        const QPointF at = symbolSpot(place, s.water);
        // Not closer than beside the larger symbols: a name tucked against a small one lands on
        // the water a ford or a bridge stands by.
        const double gap = std::max(symbolRadius(place.kind), 8.0) + 3;
        // A symbol's box reaches higher above its point than below: a name set
        // above is lifted clear of it.
        const double lift = std::max(0.0, kSymbolTop * (symbolRadius(place.kind) + 2) + 1 - gap);
        std::vector<Anchor> anchors;
        // A landmark drawn out to one side of its point (a gorge along its brook) is named
        // under or over the drawing's middle first, so that the name goes with the drawing.
        if (place.kind == PlaceKind::Landmark) {
            const QRectF drawing = drawingBox(place, s.water);
            // A rock out in the sea is named on the water beside it, apart from the shore's
            // own names just inland.
            if (!drawing.isEmpty() && standsOffShore(place.name)) {
                // Clear of the drawing's surf by more than the name's own margin.
                const double half = size.width() / 2 + 9.0;
                const double below = drawing.bottom() + 9.0 + size.height() / 2;
                for (const QPointF& c :
                     {QPointF(drawing.center().x(), below), QPointF(drawing.right() + half, below),
                      QPointF(drawing.left() - half, below),
                      QPointF(drawing.center().x(), below + 10.0),
                      QPointF(drawing.right() + half, below - 10.0),
                      QPointF(drawing.left() - half, below - 10.0)}) {
                    anchors.emplace_back(c, 0.0);
                }
            }
            if (!drawing.isEmpty() && length(drawing.center() - at) > 16.0) {
                for (const double dy : {1.0, -1.0}) {
                    const double edge = dy > 0 ? drawing.bottom() : drawing.top();
                    anchors.emplace_back(
                        QPointF(drawing.center().x(), edge + dy * (4.0 + size.height() / 2)), 0.0);
                }
            }
        }
        std::size_t beside = 0;
        std::size_t far = std::numeric_limits<std::size_t>::max();
        // A landmark's name farther out than this reads as the country's, not the mark's.
        const std::vector<double> rings = place.kind == PlaceKind::Landmark
                                              ? std::vector{gap, gap + 8, gap + 20}
                                              : std::vector{gap, gap + 8, gap + 20, gap + 34};
        for (const double g : rings) {
            if (g == rings.back() && rings.size() > 3) {
                far = anchors.size();
            }
            for (const QRectF& r : LabelPlacer::around(at, size, g)) {
                anchors.emplace_back(r.center(), 0.0);
            }
            // Above and below, slid an eighth to a half of the name either way, for towns
            // crowded between waters.
            for (const double dy : {-1.0, 1.0}) {
                for (const double dx : {0.25, -0.25, 0.125, -0.125, 0.375, -0.375, 1.0, -1.0}) {
                    const double slide =
                        std::abs(dx) < 1 ? dx * size.width() : dx * (size.width() / 2 - g * 0.4);
                    const double clear = g + (dy < 0 ? lift : 0.0);
                    anchors.emplace_back(at + QPointF(slide, dy * (clear + size.height() / 2)),
                                         0.0);
                }
            }
            if (g == gap) {
                beside = anchors.size();
            }
        }
        const bool townLike = place.kind == PlaceKind::City || place.kind == PlaceKind::Town;
        out.push_back(straight(name, *style, 4, anchors, townLike ? 0 : 1, Sort::Place));
        out.back().symbol = at;
        out.back().symbolRadius = gap;
        out.back().beside = beside;
        out.back().far = far;
        out.back().settlement = townLike || place.kind == PlaceKind::Settlement;
        out.back().seaMark = place.kind == PlaceKind::Landmark && standsOffShore(place.name);
    }
}

// Candidate spots along a line: middle first, then further out, on and beside it.
std::vector<Anchor> alongLine(const std::vector<QPointF>& line, const std::vector<double>& offsets,
                              const std::vector<double>& fractions = {0.5, 0.42, 0.58, 0.34, 0.66,
                                                                      0.26, 0.74, 0.18, 0.82}) {
    const std::vector<QPointF> pts = resample(line, 10.0);
    std::vector<Anchor> out;
    for (double f : fractions) {
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

// A river's name bent along its course, on either bank, on the gentlest stretches near its
// middle first.
Candidate alongRiver(const RiverLine& r, const TextStyle& style) {
    Candidate c{r.name, style, {}, 1, Sort::Other, {}};
    const QFontMetricsF m(style.font);
    const double textLength = m.horizontalAdvance(r.name) + 6;
    const double half = (m.ascent() + m.descent()) / 2;
    const float widest = *std::max_element(r.widths.begin(), r.widths.end());
    // A winding river is read along its gentler bends when it has no straighter reach.
    for (double bendiness = 1.0; c.spots.empty() && bendiness < 4.0; bendiness *= 1.5) {
        for (double f : {0.5, 0.42, 0.58, 0.34, 0.66, 0.26, 0.74, 0.18, 0.82}) {
            for (double gap : {5.0, 14.0}) {
                for (double side : {1.0, -1.0}) {
                    const double offset = side * (widest / 2 + gap + half);
                    if (const auto line =
                            gentleStretch(r.points, f, textLength, offset, bendiness)) {
                        if (auto set = setAlong(r.name, style.font, *line, 6)) {
                            c.spots.push_back(std::move(*set));
                        }
                    }
                }
            }
        }
    }
    if (c.spots.empty()) {  // too short and winding to follow: straight along it
        return straight(r.name, style, 6, alongLine(r.points, {16.0, -16.0, 34.0, -34.0}), 1,
                        Sort::Other);
    }
    return c;
}

// The share of a footprint, widened by `margin`, whose ground passes `test`, sampled every 4 px.
double groundShare(const QPolygonF& footprint, double margin,
                   const std::function<bool(int, int)>& test) {
    const QRectF r = footprint.boundingRect().adjusted(-margin, -margin, margin, margin);
    int all = 0;
    int pass = 0;
    for (double y = r.top() + 2; y < r.bottom(); y += 4) {
        for (double x = r.left() + 2; x < r.right(); x += 4) {
            const bool within = footprint.containsPoint(QPointF(x, y), Qt::OddEvenFill);
            // Beyond the letters' box only the margin's ring matters, at a third of the weight.
            const int weight = within ? 3 : 1;
            all += weight;
            pass += test(static_cast<int>(x), static_cast<int>(y)) ? weight : 0;
        }
    }
    return all == 0 ? 0.0 : static_cast<double>(pass) / all;
}

// Spots best first by how well their ground suits the name, the earlier of equals first: a
// share above `good` counts as full.
void rankByGround(Candidate& c, double margin, double good,
                  const std::function<bool(int, int)>& test) {
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t k = 0; k < c.spots.size(); ++k) {
        const double share = groundShare(c.spots[k].footprint, margin, test);
        order.emplace_back(-std::min(share, good), k);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SetText> spots;
    std::vector<double> surcharge;
    for (const auto& [share, k] : order) {
        spots.push_back(std::move(c.spots[k]));
        if (k < c.surcharge.size()) {
            surcharge.push_back(c.surcharge[k]);
        }
    }
    c.spots = std::move(spots);
    c.surcharge = std::move(surcharge);
}

// A wood's name lies within the trees it names, which leave a clearing round it: spots over the
// wood's whole extent, nearest its middle first, ranked by how much of them the wood covers.
Candidate woodName(const Wood& w, const TextStyle& style, const Terrain& t) {
    std::vector<Anchor> anchors = aroundSpot(w.shape.centre, 0.0, 40.0);
    for (double dy = -w.shape.ry; dy <= w.shape.ry; dy += 24) {
        for (double dx = -1.2 * w.shape.rx; dx <= 1.2 * w.shape.rx; dx += 24) {
            anchors.emplace_back(w.shape.centre + QPointF(dx, dy), 0.0);
        }
    }
    std::stable_sort(anchors.begin() + 1, anchors.end(), [&](const Anchor& a, const Anchor& b) {
        return length(a.first - w.shape.centre) < length(b.first - w.shape.centre);
    });
    Candidate c = straight(w.name, style, 6, anchors, 1, Sort::Other);
    rankByGround(c, 22.0, 0.97, [&](int x, int y) {
        return t.woods.contains(x, y) && t.woods(x, y) > 0.55f && t.height(x, y) >= 0.0f &&
               t.lake(x, y) == 0;
    });
    c.spots.resize(std::min<std::size_t>(c.spots.size(), 60));
    return c;
}

// An island's name out on the water beside it, nearest first.
Candidate islandName(const Island& island, const TextStyle& style) {
    std::vector<Anchor> anchors;
    for (const QPointF& at : island.spots) {
        anchors.emplace_back(at, 0.0);
    }
    Candidate c = straight(island.name, style, 4, anchors, 1, Sort::Other);
    c.spots.resize(std::min<std::size_t>(c.spots.size(), 60));
    return c;
}

// Ranges along their crests, rivers along their course, woods, lakes and seas round their
// middles, islands beside them.
void areaNames(const ProvinceScene& s, std::vector<Candidate>& out) {
    // The ranges in widely spaced roman capitals, the woods and the waters in italic.
    const TextStyle range{mapFont(TypeFace::Serif, 32, 10), QColor(104, 70, 40, 220),
                          QColor(255, 248, 230, 120), 2.5};
    const TextStyle wood{mapFont(TypeFace::SerifItalic, 30, 3), QColor(24, 56, 24),
                         QColor(240, 246, 228, 200), 2.2};
    const TextStyle lake{mapFont(TypeFace::SerifItalic, 22), kWaterInk, QColor(214, 234, 244, 200),
                         1.8};
    const TextStyle river{mapFont(TypeFace::SerifItalic, 21), kWaterInk, QColor(240, 246, 236, 190),
                          1.8};
    const TextStyle sea{mapFont(TypeFace::SerifItalic, 46, 9), kWaterInk,
                        QColor(210, 230, 240, 150), 2.0};
    const Terrain& t = s.terrain;
    for (const Ridge& r : s.layout.ridges) {
        // Finely along the range and beside its crest, so that some spot over the heights finds
        // room between the symbols the range is thick with. Never on the crest itself: the
        // letters would hold the summits off it and leave that stretch a sprinkle of singles.
        std::vector<double> along{0.5};
        for (double d = 0.04; d < 0.38; d += 0.04) {
            along.insert(along.end(), {0.5 - d, 0.5 + d});
        }
        // The volcanic range's low tors hold no summits off a name laid over them: there it
        // may lie on the heights it names.
        const std::vector<double> beside =
            r.volcanic ? std::vector{0.0, 30.0, -30.0, 55.0, -55.0, 75.0, -75.0, 100.0, -100.0}
                       : std::vector{75.0, -75.0, 100.0, -100.0, 125.0, -125.0, 180.0, -180.0};
        std::vector<Anchor> anchors = alongLine(r.crest, beside, along);
        // Along the crest where it runs no steeper than this, else level: read without tilting
        // the head. Level across a steep range the name reads as the country's beside it, so it
        // is set so only where no spot along the crest's sweep is clear of the peaks.
        std::vector<double> surcharge;
        for (auto& [centre, degrees] : anchors) {
            const bool level = std::abs(degrees) > kSteepestRangeName;
            degrees = level ? 0.0 : degrees;
            surcharge.push_back(level ? kLevelAcrossRange : 0.0);
        }
        const QString name = r.name.toUpper();
        Candidate c = straight(name, range, 6, anchors, 1, Sort::Range);
        c.surcharge = std::move(surcharge);
        // Bent with the crest's own sweep where it runs gently, before the straight settings:
        // a hand letters a range along its line.
        std::vector<SetText> bent;
        const double textLength = QFontMetricsF(range.font).horizontalAdvance(name) + 6;
        for (const double f : along) {
            for (const double side : beside) {
                auto line = gentleStretch(r.crest, f, textLength, side);
                if (!line) {
                    continue;
                }
                // Near the upright a name reads up its line, as the sea's do.
                if (const QPointF d = line->back() - line->front();
                    d.y() > 0 && std::abs(uprightAngle(d)) > kReadsUpward) {
                    std::reverse(line->begin(), line->end());
                }
                if (auto set = setAlong(name, range.font, *line, 6)) {
                    bent.push_back(std::move(*set));
                }
            }
        }
        c.surcharge.insert(c.surcharge.begin(), bent.size(), 0.0);
        c.spots.insert(c.spots.begin(), std::make_move_iterator(bent.begin()),
                       std::make_move_iterator(bent.end()));
        c.breaksWater = true;
        out.push_back(std::move(c));
        // Over the range's own heights, not across a wood or the plain below it.
        rankByGround(out.back(), 0.0, 0.85, [&](int x, int y) {
            return t.height.contains(x, y) && t.height(x, y) >= kHeightsHeight &&
                   t.woods(x, y) <= 0.5f;
        });
    }
    for (const Wood& w : s.layout.woods) {
        out.push_back(woodName(w, wood, t));
        out.back().breaksWater = true;
    }
    for (std::size_t i = 0; i < s.water.lakes.size(); ++i) {
        const LakeShape& l = s.water.lakes[i];
        std::vector<Anchor> anchors = aroundSpot(l.centre, 0.0, 14.0);
        // And round its shore, for a tarn too narrow to hold its name.
        QRectF extent;
        for (int y = 0; y < s.water.lakeId.height(); ++y) {
            for (int x = 0; x < s.water.lakeId.width(); ++x) {
                if (s.water.lakeId(x, y) == static_cast<int>(i)) {
                    extent |=
                        QRectF(x * s.water.cell, y * s.water.cell, s.water.cell, s.water.cell);
                }
            }
        }
        const QSizeF size = textSize(l.name, lake.font, 6);
        for (const double f : {0.0, -0.25, 0.25}) {
            const double cy = extent.center().y() + f * extent.height();
            const double cx = extent.center().x() + f * extent.width();
            for (const QPointF at : {QPointF(extent.left() - 10 - size.width() / 2, cy),
                                     QPointF(extent.right() + 10 + size.width() / 2, cy),
                                     QPointF(cx, extent.top() - 8 - size.height() / 2),
                                     QPointF(cx, extent.bottom() + 8 + size.height() / 2)}) {
                anchors.emplace_back(at, 0.0);
            }
        }
        out.push_back(straight(l.name, lake, 6, anchors, 1, Sort::Other));
        out.back().onWater = true;
    }
    for (const RiverLine& r : s.water.rivers) {
        if (!r.name.isEmpty()) {
            out.push_back(alongRiver(r, river));
        }
    }
    for (const AreaName& n : s.layout.seaNames) {
        std::vector<Anchor> spots = aroundSpot(n.anchor, n.angleDegrees, 30.0);
        // A bay's or a gulf's name only on water the coast wraps round; with none near its
        // spot, it is left off rather than set on the open sea.
        if (promiseOf(n.text.toStdString(), PlaceKind::Landmark) == Promise::Bay) {
            std::erase_if(spots, [&](const Anchor& a) {
                return landAround(t, a.first, kBayReach) <= kBayWrap;
            });
        }
        Candidate c = straight(n.text, sea, 6, spots, 1, Sort::Other);
        // Bent along the coast's sweep before the straight settings, read the way the anchor
        // reads: a hand letters a sea along the shore it washes.
        const double textLength = QFontMetricsF(sea.font).horizontalAdvance(n.text) + 6;
        std::vector<SetText> bent;
        for (const auto& [at, degrees] : spots) {
            const std::vector<QPointF> coast = alongCoast(t, at, degrees, textLength + 120.0);
            if (coast.empty()) {
                continue;
            }
            auto line = gentleStretch(coast, 0.5, textLength, 0.0);
            if (!line) {
                continue;
            }
            const double a = degrees * std::numbers::pi / 180.0;
            if (QPointF::dotProduct(line->back() - line->front(),
                                    QPointF(std::cos(a), std::sin(a))) < 0) {
                std::reverse(line->begin(), line->end());
            }
            if (auto set = setAlong(n.text, sea.font, *line, 6)) {
                bent.push_back(std::move(*set));
            }
        }
        c.spots.insert(c.spots.begin(), std::make_move_iterator(bent.begin()),
                       std::make_move_iterator(bent.end()));
        c.breaksWater = true;
        out.push_back(std::move(c));
    }
    const TextStyle island{mapFont(TypeFace::SerifItalic, 18), QColor(62, 44, 30),
                           QColor(224, 236, 240, 190), 1.6};
    const auto nameSize = [&](const QString& text) { return textSize(text, island.font, 4); };
    for (const Island& i : namedIslands(t, nameSize)) {
        out.push_back(islandName(i, island));
    }
}

// Lines drawn into a mask of the sheet, widened by `margin` each side.
QImage lineMask(QSize sheet, const std::function<void(QPainter&)>& draw) {
    QImage mask(sheet, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    draw(p);
    return mask;
}

// Running water as a mask of the sheet: full where a name's letters and halo would touch it, half
// for a few pixels more, where a name still crowds it.
QImage waterMask(const std::vector<RiverLine>& lines, QSize sheet) {
    return lineMask(sheet, [&](QPainter& p) {
        for (const auto& [extra, value] : {std::pair(16.0f, 128), std::pair(7.0f, 255)}) {
            for (const RiverLine& r : lines) {
                strokeVarying(p, r.points, r.widths, QColor(value, value, value), extra);
            }
        }
    });
}

bool onMask(const QImage& mask, QPointF q, int least = 1) {
    const int x = static_cast<int>(q.x());
    const int y = static_cast<int>(q.y());
    return mask.valid(x, y) && mask.constScanLine(y)[x] >= least;
}

// How much of the mask the letters cover: one for each sample, two pixels apart, that falls on
// a line.
double covered(const QImage& mask, const std::vector<QPolygonF>& letters, int least = 1) {
    double hits = 0.0;
    for (const QPolygonF& letter : letters) {
        const QRectF r = letter.boundingRect();
        for (double y = r.top() + 0.5; y < r.bottom(); y += 2.0) {
            for (double x = r.left() + 0.5; x < r.right(); x += 2.0) {
                if (onMask(mask, QPointF(x, y), least) &&
                    letter.containsPoint(QPointF(x, y), Qt::OddEvenFill)) {
                    hits += 1.0;
                }
            }
        }
    }
    return hits;
}

// How many pixels of the mask lie inside `box`, each one counted: thin drawn lines slip between
// `covered`'s samples.
double pixelsUnder(const QImage& mask, const QPolygonF& box) {
    const QRect r = box.boundingRect().toAlignedRect().intersected(mask.rect());
    double hits = 0.0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = r.left(); x <= r.right(); ++x) {
            if (row[x] != 0 && box.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill)) {
                hits += 1.0;
            }
        }
    }
    return hits;
}

// How much ink the letters hold, sampled as `covered` samples them.
double inked(const std::vector<QPolygonF>& letters) {
    double samples = 0.0;
    for (const QPolygonF& letter : letters) {
        const QRectF r = letter.boundingRect();
        for (double y = r.top() + 0.5; y < r.bottom(); y += 2.0) {
            for (double x = r.left() + 0.5; x < r.right(); x += 2.0) {
                samples += letter.containsPoint(QPointF(x, y), Qt::OddEvenFill) ? 1.0 : 0.0;
            }
        }
    }
    return std::max(1.0, samples);
}

// Whether dry ground lies at a point or within a few pixels of it.
template <typename Wet>
bool dryBeside(QPointF at, const Wet& wet) {
    for (const QPointF off :
         {QPointF(0, 0), QPointF(6, 0), QPointF(-6, 0), QPointF(0, 6), QPointF(0, -6)}) {
        if (!wet(at + off)) {
            return true;
        }
    }
    return false;
}

// Whether water runs between a symbol and its name: along the straight way from one to the
// other's nearest corner or its middle. A symbol on or just beside dry ground (a port whose point
// lies in the water at its bank) is cut off by any water between; one out in its harbour only by
// water past the bank beyond.
bool cutOff(const QImage& water, QPointF symbol, double radius, const QPolygonF& footprint,
            const QImage* standing = nullptr) {
    const auto wetAt = [&](QPointF q) {
        return onMask(water, q, 255) || (standing && onMask(*standing, q));
    };
    QPointF near = footprint.front();
    for (const QPointF& q : footprint) {
        if (length(q - symbol) < length(near - symbol)) {
            near = q;
        }
    }
    const bool besideLand = dryBeside(symbol, wetAt);
    for (const QPointF to : {near, footprint.boundingRect().center()}) {
        const double span = length(to - symbol);
        bool ashore = besideLand;
        for (double t = radius; t < span; t += 2.0) {
            const bool wet = wetAt(symbol + (to - symbol) * (t / span));
            if (wet && ashore) {
                return true;
            }
            ashore = ashore || !wet;
        }
    }
    return false;
}

// What a spot costs for what it hides: a little for each bit of road; much for running water, so
// a name crosses it only where no other spot is clear (a range's name, long and far from any
// symbol, may cross a brook more readily than a river); as much again for a place's name with
// water between it and its symbol. A place hemmed in by waters is better named right beside its
// symbol over a brook's thin line than across the water from it, where it reads as another's.
struct HiddenCosts {
    static constexpr double kWater = 1500.0;  // beyond an overlap's cost
    // A name all over the water costs much, less than one over running water beside its
    // symbol: a port hemmed in between waters is named over the harbour.
    static constexpr double kOffShore = 600.0;
    // Drawn marks a name must not hide: a landmark's drawing spreads past its symbol.
    static constexpr double kOnMarks = 800.0;
    // An area name over the heights is set where the fewest peaks would stand: one carved
    // through them reads as written across the range's drawing.
    static constexpr double kOnRelief = 0.5;
    // A road through a town's name strikes it out. Counted over the whole box, as the marks
    // are (a road grazing the letters slips between their samples), and priced so that a name
    // takes a clear spot three rings out rather than one beside its symbol on the road.
    static constexpr double kOnRoad = 160.0;
    // The outer ring stands two letter heights and more off its symbol, where the name reads as
    // the country's: taken only where each spot nearer lies on water or a symbol, or under more
    // road than a lane's crossing.
    static constexpr double kFar = 2 * kOnRoad;
    QImage roads, rivers, brooks, standing, marks, relief;

    // Whether the letters lie on running water (a range's only on a river).
    bool wet(const Candidate& c, const SetText& spot) const {
        return covered(rivers, spot.letters, 255) > 0 ||
               (c.sort != Sort::Range && covered(brooks, spot.letters, 255) > 0);
    }

    double operator()(const Candidate& c, std::size_t k) const {
        const SetText& spot = c.spots[k];
        double cost = covered(roads, spot.letters);
        for (const QImage* water : {&rivers, &brooks}) {
            const double on = covered(*water, spot.letters, 255);
            const double near = covered(*water, spot.letters);
            if (on > 0 && water == &brooks && c.sort == Sort::Range) {
                cost += 300 + 5 * on;
            } else if (on > 0 && water == &brooks && k < c.beside) {
                cost += kWater / 2 + 10 * on;
            } else if (on > 0) {
                cost += kWater + 20 * on;
            } else if (near > 0) {
                cost += 60 + 3 * near;
            }
        }
        // The whole box, halo and all: the marks are thin lines the letters' own samples miss.
        if (const double drawn = pixelsUnder(marks, spot.footprint); drawn > 0) {
            cost += kOnMarks + 10 * drawn;
        }
        if (c.sort != Sort::Place) {
            cost += kOnRelief * pixelsUnder(relief, spot.footprint);
        }
        if (c.settlement) {
            if (const double road = pixelsUnder(roads, spot.footprint); road > 0) {
                cost += kOnRoad + road;
            }
        }
        if (across(c, k)) {
            cost += kWater;
        }
        if (k >= c.far) {
            cost += kFar;
        }
        if (k < c.surcharge.size()) {
            cost += c.surcharge[k];
        }
        return cost + kOffShore * (offshore(c, spot) + acrossShore(c, spot));
    }

    // For a lake's name: nothing on its water, a half set clear beside it on land (a tarn too
    // narrow for its name), a whole with its letters half on the water, half off.
    double acrossShore(const Candidate& c, const SetText& spot) const {
        if (!c.onWater) {
            return 0.0;
        }
        const double wet = covered(standing, spot.letters) / inked(spot.letters);
        return wet > 0.97 ? 0.0 : wet < 0.03 ? 0.5 : 1.0;
    }

    // The share of a land place's name out over the sea or a lake, where it reads as the
    // water's; 0 for the names of the water and of what stands in it.
    double offshore(const Candidate& c, const SetText& spot) const {
        if (c.sort != Sort::Place || c.seaMark || !ashore(c.symbol)) {
            return 0.0;
        }
        const double share = std::min(1.0, covered(standing, spot.letters) / inked(spot.letters));
        // A town's or a city's name reads as the water's once a little of it lies out there.
        return c.rank == 0 && share >= 0.05 ? 1.0 : share;
    }

    // Whether a place stands on land, or at its edge (a port's point may lie in the harbour).
    bool ashore(QPointF at) const {
        return dryBeside(at, [this](QPointF q) { return onMask(standing, q); });
    }

    // Whether water runs between a place's symbol and its name's spot `k`. Right beside the
    // symbol a brook between them runs under the letters, priced as such.
    bool across(const Candidate& c, std::size_t k) const {
        const QPolygonF& footprint = c.spots[k].footprint;
        // A mark standing out in the sea is named on its water: the sea between is its own.
        return c.sort == Sort::Place &&
               (cutOff(rivers, c.symbol, c.symbolRadius, footprint,
                       c.seaMark ? nullptr : &standing) ||
                (k >= c.beside && cutOff(brooks, c.symbol, c.symbolRadius, footprint)));
    }
};

// The peaks as they would stand with no name to hold them off.
QImage reliefMask(const ProvinceScene& s, const NamePlan& unnamed, QSize sheet) {
    const std::vector<Peak> peaks = placePeaks(
        s.terrain, s.layout.ridges, reliefKeepOut(s, unnamed, sheet, false), unnamed.symbols);
    return lineMask(sheet, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (const Peak& k : peaks) {
            p.drawPolygon(peakOutline(k));
        }
    });
}

}  // namespace

std::vector<QRectF> sheetFurniture() {
    return {kTitlePanel, kRoseBox, provinceLegend().panel};
}

NamePlan planNames(const ProvinceScene& s, QSize sheet) {
    NamePlan plan;
    for (const ProvincePlace& place : s.places) {
        const double r = symbolRadius(place.kind) + 2.0;
        const QPointF at = symbolSpot(place, s.water);
        plan.symbols.emplace_back(at.x() - r, at.y() - r * kSymbolTop, 2 * r, (kSymbolTop + 1) * r);
    }
    for (const QPointF& at : hotSprings(s)) {
        plan.symbols.emplace_back(at.x() - 10, at.y() - 11, 20, 20);
    }
    std::vector<QRectF> obstacles = plan.symbols;
    // A crater's rim, drawn over the peaks, is no ground for a name: one laid over the tors
    // keeps off it.
    for (const Crater& c : s.craters) {
        const double r = c.radius + 6.0;
        obstacles.emplace_back(c.centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
    }
    const std::vector<QRectF> furniture = sheetFurniture();
    obstacles.insert(obstacles.end(), furniture.begin(), furniture.end());
    std::vector<Candidate> names;
    placeNames(s, names);
    areaNames(s, names);
    // The water as drawn, with room for the names' halos.
    const HiddenCosts hides{
        lineMask(sheet,
                 [&](QPainter& p) {
                     p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                     for (const RoadLine& r : s.roads) {
                         p.drawPath(linePath(r.points));
                     }
                 }),
        waterMask(s.water.rivers, sheet),
        waterMask(s.water.brooks, sheet),
        openWaterMask(s.terrain, sheet),
        lineMask(sheet,
                 [&](QPainter& p) {
                     for (const ProvincePlace& place : s.places) {
                         if (place.kind == PlaceKind::Landmark) {
                             drawLandmarkFeature(p, place.name, QPointF(place.at.x, place.at.y),
                                                 s.water);
                         }
                     }
                 }),
        reliefMask(s, plan, sheet)};
    std::vector<PointLabel> labels;
    for (const Candidate& c : names) {
        PointLabel l{{}, c.rank};
        for (std::size_t k = 0; k < c.spots.size(); ++k) {
            l.spots.push_back(c.spots[k].footprint);
            l.costs.push_back(hides(c, k));
        }
        // Some spot whose letters keep off the water and the symbols, on its symbol's side of
        // the water.
        bool dry = false;
        for (std::size_t k = 0; k < l.spots.size() && !dry; ++k) {
            dry = !hides.wet(c, c.spots[k]) && !hides.across(c, k) &&
                  std::none_of(obstacles.begin(), obstacles.end(), [&](const QRectF& o) {
                      return l.spots[k].intersects(QPolygonF(o));
                  });
        }
        if (!dry) {
            plan.hemmedIn.push_back(c.text);
        }
        bool ashore = false;
        for (std::size_t k = 0; k < c.spots.size() && !ashore; ++k) {
            ashore = hides.offshore(c, c.spots[k]) < 0.1 && !hides.wet(c, c.spots[k]) &&
                     !hides.across(c, k);
        }
        if (!ashore) {
            plan.offshore.push_back(c.text);
        }
        labels.push_back(std::move(l));
    }
    const std::vector<std::optional<std::size_t>> chosen = arrangeLabels(
        labels, obstacles, QRectF(14, 14, sheet.width() - 28, sheet.height() - 28), 0x1ABE'0001);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!chosen[i]) {
            plan.leftOut.push_back(names[i].text);
            continue;
        }
        const SetText& spot = names[i].spots[*chosen[i]];
        plan.names.push_back(
            {names[i].text, names[i].style, spot.footprint, spot.glyphs, names[i].breaksWater});
    }
    return plan;
}

void drawNames(QPainter& p, const NamePlan& plan, const QImage& sheet) {
    for (const PlacedName& n : plan.names) {
        knockOutInk(p, sheet, n.glyphs, n.style.haloWidth + 0.6, n.breaksWater);
        // Each name's ink a shade fuller or leaner than the next, as the pen was filled.
        std::uint64_t h = 0x1E77'0001;
        for (const QChar c : n.text) {
            h = mix64(h ^ c.unicode());
        }
        Rng rng(h);
        QColor ink = n.style.ink;
        ink.setAlphaF(static_cast<float>(ink.alphaF() * rng.range(0.88, 1.0)));
        p.save();
        const double swell = rng.range(-0.1, 0.35);
        p.setPen(swell > 0 ? QPen(ink, swell, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                           : QPen(Qt::NoPen));
        p.setBrush(ink);
        p.drawPath(n.glyphs);
        p.restore();
    }
}

}  // namespace marventa
