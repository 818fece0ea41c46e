#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "tools/common/distance_transform.h"
#include "tools/common/grid.h"
#include "tools/common/label_placer.h"
#include "tools/common/labels.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/portable_math.h"
#include "tools/common/rng.h"
#include "tools/common/world_places.h"
#include "tools/paint/lettering.h"
#include "tools/paint/point_labels.h"
#include "tools/paint/sea_names.h"
#include "tools/roads/bridges.h"

using namespace marventa;

TEST(DistanceTransform, MatchesBruteForceOnAScatteredMask) {
    Grid<unsigned char> inside(37, 23, 0);
    Rng rng(7);
    for (int i = 0; i < 12; ++i) {
        inside(rng.below(37), rng.below(23)) = 1;
    }
    const Grid<float> d = distanceTo(inside, 1000.0f);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            double best = 1e9;
            for (int v = 0; v < 23; ++v) {
                for (int u = 0; u < 37; ++u) {
                    if (inside(u, v)) {
                        best = std::min(best, std::hypot(u - x, v - y));
                    }
                }
            }
            ASSERT_NEAR(d(x, y), best, 1e-4) << x << "," << y;
        }
    }
}

TEST(DistanceTransform, CapsFarCellsAndEmptyMasks) {
    Grid<unsigned char> inside(10, 10, 0);
    EXPECT_FLOAT_EQ(distanceTo(inside, 5.0f)(3, 3), 5.0f);
    inside(0, 0) = 1;
    const Grid<float> d = distanceTo(inside, 5.0f);
    EXPECT_FLOAT_EQ(d(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(d(3, 4), 5.0f);
    EXPECT_FLOAT_EQ(d(9, 9), 5.0f);
}

// The land's own logarithm and arc tangent agree with the C library's to rounding, over the
// ranges the land feeds them, in every quadrant and on the axes.
TEST(PortableMath, AgreesWithTheLibraryEverywhereTheLandUsesIt) {
    for (double x : {0.0, 1e-9, 0.3, 0.4142, 1.0, 2.5, 17.0, 1234.5, 6.5e5, 3.2e7}) {
        EXPECT_NEAR(portableLog1p(x), std::log1p(x), 1e-14 * std::max(1.0, std::log1p(x))) << x;
    }
    Rng rng(29);
    for (int k = 0; k < 2000; ++k) {
        const double y = rng.range(-40, 40);
        const double x = rng.range(-40, 40);
        EXPECT_NEAR(portableAtan2(y, x), std::atan2(y, x), 1e-14) << y << ", " << x;
    }
    for (double y : {-3.0, 0.0, 3.0}) {
        for (double x : {-3.0, 0.0, 3.0}) {
            EXPECT_NEAR(portableAtan2(y, x), std::atan2(y, x), 1e-15) << y << ", " << x;
        }
    }
}

TEST(Sampling, BicubicAndBilinearReproduceAPlaneAndHitTheNodes) {
    Grid<float> g(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            g(x, y) = 2.0f * x - 3.0f * y + 1.0f;
        }
    }
    for (float x : {2.0f, 2.25f, 3.5f, 4.9f}) {
        for (float y : {1.0f, 2.7f, 5.5f}) {
            EXPECT_NEAR(sampleBicubic(g, x, y), 2.0f * x - 3.0f * y + 1.0f, 1e-4f);
            EXPECT_NEAR(sampleBilinear(g, x, y), 2.0f * x - 3.0f * y + 1.0f, 1e-4f);
        }
    }
}

TEST(Polylines, NearestPointSideAndResampling) {
    const std::vector<QPointF> line{{0, 0}, {10, 0}, {10, 10}};
    const Nearest above = nearestOnPolyline(QPointF(4, -3), line);
    EXPECT_DOUBLE_EQ(above.distance, 3.0);
    EXPECT_EQ(above.segment, 0u);
    EXPECT_DOUBLE_EQ(above.along, 0.4);
    EXPECT_LT(above.side, 0.0);
    EXPECT_GT(nearestOnPolyline(QPointF(4, 3), line).side, 0.0);

    const std::vector<QPointF> pts = resample(line, 3.0);
    EXPECT_EQ(pts.front(), QPointF(0, 0));
    EXPECT_EQ(pts.back(), QPointF(10, 10));
    for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
        EXPECT_NEAR(length(pts[i] - pts[i - 1]) + 0.0, 3.0, 1.3);  // shorter only across the bend
    }
}

TEST(Polylines, SmoothingKeepsTheEndsAndStaysNearTheBends) {
    const std::vector<QPointF> line{{0, 0}, {200, 0}, {200, 200}, {400, 200}};
    const std::vector<QPointF> round = roundBends(line, 40.0, 5.0);
    EXPECT_EQ(round.front(), line.front());
    EXPECT_EQ(round.back(), line.back());
    for (std::size_t i = 1; i < round.size(); ++i) {
        EXPECT_LE(length(round[i] - round[i - 1]), 5.0 + 1e-6);
    }
    // A right-angle bend cut 40 px back passes about 14 px inside its corner, never further.
    EXPECT_LT(distanceToPolyline(QPointF(200, 0), round), 15.0);
    EXPECT_GT(distanceToPolyline(QPointF(200, 0), round), 5.0);

    std::vector<QPointF> stairs{{0, 0}, {4, 0}, {4, 4}, {8, 4}, {8, 8}};
    std::vector<float> widths{1, 2, 3, 4, 5};
    cutCorners(stairs, widths, 2);
    EXPECT_EQ(stairs.front(), QPointF(0, 0));
    EXPECT_EQ(stairs.back(), QPointF(8, 8));
    ASSERT_EQ(widths.size(), stairs.size());
    EXPECT_FLOAT_EQ(widths.front(), 1.0f);
    EXPECT_FLOAT_EQ(widths.back(), 5.0f);
}

TEST(LabelPlacer, TakesTheFirstFreeCandidateInsideTheBounds) {
    LabelPlacer placer(QRectF(0, 0, 100, 100));
    placer.reserve(QRectF(40, 40, 20, 20));
    const auto around = LabelPlacer::around(QPointF(50, 50), QSizeF(30, 10), 12);
    const auto first = placer.place(around);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, around[0]);  // right of the point
    const auto second = placer.place(around);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, around[1]);                        // the right is taken now
    EXPECT_FALSE(placer.place({QRectF(90, 90, 20, 5)}));  // off the bounds

    QPolygonF turned({QPointF(20, 5), QPointF(30, 15), QPointF(25, 20), QPointF(15, 10)});
    EXPECT_TRUE(placer.isFree(turned));
    placer.reserve(QRectF(24, 4, 2, 2));
    EXPECT_TRUE(placer.isFree(turned));  // the box's corner lies outside the turned shape
    placer.reserve(QRectF(22, 11, 2, 2));
    EXPECT_FALSE(placer.isFree(turned));
}

// A bridge for each place a road crosses a river, carrying the road's direction, its rank and
// the river's width there; a road that wiggles across a river twice in a few pixels still gets one
// bridge, and a road that never meets the river none.
TEST(Bridges, OneCrossingPerRoadOverARiver) {
    Waterways water;
    water.rivers.push_back(
        {QStringLiteral("Test"), {{50, 0}, {50, 100}, {50, 200}}, {4, 6, 8}, false});
    const std::vector<RoadLine> roads{
        {{{0, 50}, {100, 50}}, RoadClass::Highway},
        {{{0, 150}, {52, 150}, {48, 155}, {100, 155}}, RoadClass::Track},
        {{{0, 190}, {40, 190}}, RoadClass::Lane},
    };
    const std::vector<Crossing> crossings = findCrossings(roads, water);
    ASSERT_EQ(crossings.size(), 2u);
    EXPECT_NEAR(crossings[0].at.x(), 50.0, 1e-9);
    EXPECT_NEAR(crossings[0].at.y(), 50.0, 1e-9);
    EXPECT_NEAR(crossings[0].along.x(), 1.0, 1e-9);
    EXPECT_FLOAT_EQ(static_cast<float>(crossings[0].span), 4.0f);
    EXPECT_NEAR(crossings[1].at.y(), 150.0, 1e-9);
    EXPECT_FLOAT_EQ(static_cast<float>(crossings[1].span), 6.0f);
    EXPECT_EQ(crossings[0].kind, RoadClass::Highway);
    EXPECT_EQ(crossings[1].kind, RoadClass::Track);
}

// A bridge is a small mark that spans the river and stands as wide as its road: a highway's
// wider than a lane's, neither more than a few pixels beyond the road's own width.
TEST(Bridges, MarkSpansTheRiverAndFitsItsRoad) {
    const auto inkAcross = [](RoadClass kind) {
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            drawBridges(p, {{QPointF(30, 30), QPointF(1, 0), 8.0, kind}});
        }
        QRect ink;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x) {
                if (qGray(image.pixel(x, y)) < 200) {
                    ink |= QRect(x, y, 1, 1);
                }
            }
        }
        return ink;
    };
    const QRect highway = inkAcross(RoadClass::Highway);
    const QRect lane = inkAcross(RoadClass::Lane);
    EXPECT_GE(lane.width(), 9) << "the bridge does not span the river";
    EXPECT_LE(lane.width(), 16);
    EXPECT_LE(lane.height(), 8) << "a lane's bridge is far wider than the lane";
    EXPECT_LE(highway.height(), 12) << "a highway's bridge is far wider than the highway";
    EXPECT_GT(highway.height(), lane.height());
}

// A name takes a later spot rather than hide what the penalty marks (a road) or crowd a frame,
// but not at the price of an overlap.
TEST(PointLabels, NamesKeepOffWhatThePenaltyMarks) {
    // The first spot lies on a road.
    const PointLabel crossing{
        {QPolygonF(QRectF(100, 90, 60, 14)), QPolygonF(QRectF(100, 60, 60, 14))}, 0, {40.0, 0.0}};
    const QRectF bounds(0, 0, 400, 200);
    EXPECT_EQ(arrangeLabels({crossing}, {}, bounds, 3)[0], std::optional<std::size_t>(1));
    const auto blocked = arrangeLabels({crossing}, {QRectF(90, 55, 20, 20)}, bounds, 3);
    EXPECT_EQ(blocked[0], std::optional<std::size_t>(0));

    // A frame (the key, the title) keeps names a margin off its edge where another spot is
    // free, though the nearer spot comes first; a symbol as near does not push a name away.
    const PointLabel nearFrame{
        {QPolygonF(QRectF(100, 100, 60, 14)), QPolygonF(QRectF(100, 60, 60, 14))}, 0};
    const QRectF frame(80, 120, 200, 80);
    EXPECT_EQ(arrangeLabels({nearFrame}, {frame}, bounds, 3)[0], std::optional<std::size_t>(1));
    EXPECT_EQ(arrangeLabels({nearFrame}, {QRectF(120, 120, 12, 12)}, bounds, 3)[0],
              std::optional<std::size_t>(0));
    // With no other spot, a name close by the frame still shows.
    const PointLabel onlyNearFrame{{nearFrame.spots[0]}, 1};
    EXPECT_EQ(arrangeLabels({onlyNearFrame}, {frame}, bounds, 3)[0], std::optional<std::size_t>(0));

    // Two names on one line a letter apart read as one: the second takes its spot below, though
    // the one beside comes first; stood a few letters off, it keeps the first spot.
    const PointLabel first{{QPolygonF(QRectF(100, 100, 80, 16))}, 0};
    const auto beside = [](double gap) {
        return PointLabel{
            {QPolygonF(QRectF(180 + gap, 102, 60, 14)), QPolygonF(QRectF(180 + gap, 130, 60, 14))},
            0};
    };
    EXPECT_EQ(arrangeLabels({first, beside(8)}, {}, bounds, 3)[1], std::optional<std::size_t>(1));
    EXPECT_EQ(arrangeLabels({first, beside(40)}, {}, bounds, 3)[1], std::optional<std::size_t>(0));
}

// Crowded names round a cluster of symbols: every label that is kept is clear of the others and
// of every symbol, and the names that must show do.
TEST(PointLabels, AnnealedLabelsOverlapNothing) {
    std::vector<QRectF> symbols;
    std::vector<PointLabel> labels;
    for (int i = 0; i < 30; ++i) {
        const QPointF at(100 + (i % 6) * 38, 100 + (i / 6) * 30);
        symbols.emplace_back(at.x() - 6, at.y() - 6, 12, 12);
        PointLabel label{{}, i % 5 == 0 ? 0 : 1};
        for (const QRectF& r : LabelPlacer::around(at, QSizeF(44, 14), 8)) {
            label.spots.emplace_back(r);
        }
        labels.push_back(std::move(label));
    }
    const auto chosen = arrangeLabels(labels, symbols, QRectF(0, 0, 500, 400), 7);
    ASSERT_EQ(chosen.size(), labels.size());
    std::vector<std::optional<QRectF>> boxes;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        boxes.push_back(chosen[i] ? std::optional(labels[i].spots[*chosen[i]].boundingRect())
                                  : std::nullopt);
    }
    int kept = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (labels[i].rank == 0) {
            EXPECT_TRUE(boxes[i]) << "label " << i;
        }
        if (!boxes[i]) {
            continue;
        }
        ++kept;
        for (const QRectF& s : symbols) {
            EXPECT_FALSE(boxes[i]->intersects(s)) << "label " << i;
        }
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(boxes[j] && boxes[i]->intersects(*boxes[j])) << i << " and " << j;
        }
    }
    EXPECT_GE(kept, 20);  // the search finds room for most, not just the first few
}

// A name set along a bend: the stretch reads left to right whichever way the line runs, its
// letters turn with it, and the footprint holds every letter; a sharp corner is refused.
TEST(Lettering, NamesFollowAGentleBendAndTheirFootprintHoldsTheInk) {
    std::vector<QPointF> arc;  // a wide arc drawn right to left, as a river may run
    for (int i = 0; i <= 120; ++i) {
        const double a = std::numbers::pi * (0.25 + 0.5 * i / 120.0);
        arc.emplace_back(400 + 600 * std::cos(a), 700 - 600 * std::sin(a));
    }
    const QFont font = mapFont(TypeFace::SerifItalic, 19);
    const QString name = QStringLiteral("Wending Water");
    const auto line = gentleStretch(arc, 0.5, 140, 20);
    ASSERT_TRUE(line);
    EXPECT_LT(line->front().x(), line->back().x());
    // To the left of a line running right to left lies the south: below the arc.
    EXPECT_GT(line->at(line->size() / 2).y(), 100.0 + 10);
    const auto set = setAlong(name, font, *line, 6);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->letters.size(),
              static_cast<std::size_t>(name.size() - 1));  // no box for the space
    const QPolygonF& first = set->letters.front();
    const QPolygonF& last = set->letters.back();
    // The arc rises to the middle and falls after it: the first letter leans up, the last down.
    EXPECT_LT(first[1].y(), first[0].y());
    EXPECT_GT(last[1].y(), last[0].y());
    for (const QPolygonF& letter : set->letters) {
        EXPECT_TRUE(set->footprint.containsPoint(letter.boundingRect().center(), Qt::OddEvenFill));
    }
    EXPECT_FALSE(setAlong(name, font, {QPointF(0, 0), QPointF(60, 0)}, 6));  // too short

    const std::vector<QPointF> corner{{0, 0}, {200, 200}, {400, 0}};
    EXPECT_FALSE(gentleStretch(corner, 0.5, 140, 20));
}

// A name is set as a hand sets it: each letter a fraction of a pixel to about one off the type's
// place, along and across its line, not all alike; the same name comes out the same each time.
TEST(Lettering, EachLetterStraysALittleFromTheTypesPlace) {
    const QFont font = mapFont(TypeFace::Serif, 22);
    const QString name = QStringLiteral("Marrowdene");
    const SetText set = setStraight(name, font, QPointF(200, 100), 0.0, 4);
    ASSERT_EQ(set.letters.size(), static_cast<std::size_t>(name.size()));
    const QFontMetricsF m(font);
    const double width = m.horizontalAdvance(name);
    const double baseline = (m.ascent() - m.descent()) / 2;
    double most = 0.0;
    int moved = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // The type's place: kerned against the letter before, as the whole word sets it.
        QPainterPath type;
        type.addText(QPointF(200 - width / 2 + m.horizontalAdvance(name.left(i + 1)) -
                                 m.horizontalAdvance(name.mid(i, 1)),
                             100 + baseline),
                     font, name.mid(i, 1));
        const QPointF off = set.letters[static_cast<std::size_t>(i)].boundingRect().center() -
                            type.boundingRect().center();
        most = std::max(most, std::hypot(off.x(), off.y()));
        moved += std::hypot(off.x(), off.y()) > 0.1 ? 1 : 0;
    }
    EXPECT_LE(most, 1.6) << "a letter strays so far the name reads badly";
    EXPECT_GE(moved, name.size() / 2) << "the letters sit where the type puts them";
    EXPECT_EQ(setStraight(name, font, QPointF(200, 100), 0.0, 4).glyphs, set.glyphs);
}

// However the hand strays, no letter of a place's name touches the next, or the one after,
// unless the face's own type sets that pair touching (an "f" hooked over the next letter): a
// kern moves the letter it belongs to, so "Ve" and "ol" keep the type's gap.
TEST(Lettering, NoTwoLettersOfAPlacesNameTouch) {
    QFont capitals = mapFont(TypeFace::SerifBold, 25, 2.5);
    capitals.setCapitalization(QFont::AllUppercase);
    const std::vector<QFont> faces{capitals,
                                   mapFont(TypeFace::SerifBold, 34),
                                   mapFont(TypeFace::Serif, 24),
                                   mapFont(TypeFace::Serif, 17),
                                   mapFont(TypeFace::SerifItalic, 18),
                                   mapFont(TypeFace::SerifItalic, 21)};
    std::vector<QString> names{QStringLiteral("Venncross"), QStringLiteral("Vol")};
    for (const ProvincePlace& place : provincePlaces()) {
        names.push_back(QString::fromStdString(place.name));
    }
    int touching = 0;
    for (const QFont& font : faces) {
        const QFontMetricsF m(font);
        for (const QString& name : names) {
            std::vector<QPainterPath> type;
            for (qsizetype i = 0; i < name.size(); ++i) {
                QPainterPath letter;
                letter.addText(QPointF(m.horizontalAdvance(name.left(i + 1)) -
                                           m.horizontalAdvance(name.mid(i, 1)),
                                       0),
                               font, name.mid(i, 1));
                type.push_back(letter);
            }
            for (const double degrees : {0.0, -24.0}) {
                const std::vector<QPainterPath> letters =
                    lettersStraight(name, font, QPointF(300, 200), degrees);
                ASSERT_EQ(letters.size(), type.size());
                for (std::size_t i = 0; i + 1 < letters.size(); ++i) {
                    for (std::size_t j = i + 1; j < std::min(letters.size(), i + 3); ++j) {
                        if (letters[i].intersects(letters[j]) && !type[i].intersects(type[j])) {
                            ++touching;
                            ADD_FAILURE() << name.toStdString() << ": letters " << i << " and " << j
                                          << " touch at " << font.pixelSize() << " px";
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(touching, 0);
}

// The faces resolve to the cuts asked for, not to whatever the database would substitute: small
// book type in its small cut, larger in the regular, bold and italic in their own, the plans'
// titles in their plain bold.
TEST(Lettering, EachFaceIsTheCutItsSizeAndStyleAskFor) {
    const auto resolved = [](TypeFace face, double size) {
        const QFontInfo info(mapFont(face, size));
        return std::tuple(info.family(), info.bold(), info.italic());
    };
    EXPECT_EQ(resolved(TypeFace::Serif, 17),
              std::tuple(QStringLiteral("EB Garamond 08"), false, false));
    EXPECT_EQ(resolved(TypeFace::Serif, 25),
              std::tuple(QStringLiteral("EB Garamond 12"), false, false));
    EXPECT_EQ(resolved(TypeFace::SerifItalic, 18),
              std::tuple(QStringLiteral("EB Garamond 08"), false, true));
    EXPECT_EQ(resolved(TypeFace::SerifItalic, 46),
              std::tuple(QStringLiteral("EB Garamond 12"), false, true));
    // The bold has no small cut: small bold type stays in the regular cut's family.
    EXPECT_EQ(resolved(TypeFace::SerifBold, 17),
              std::tuple(QStringLiteral("EB Garamond 12"), true, false));
    EXPECT_EQ(resolved(TypeFace::PlanTitle, 44),
              std::tuple(QStringLiteral("Liberation Serif"), true, false));
    EXPECT_EQ(std::get<0>(resolved(TypeFace::Sans, 14)), QStringLiteral("Liberation Sans Narrow"));
}

// A sea's line bows with the shore, keeping about the anchor's distance off it all along, runs
// the way the anchor heads, and is refused out on the open sea.
TEST(SeaNames, ALineAlongTheCoastKeepsItsDistanceFromTheShore) {
    // Land east of a shore that bulges west at the middle of the sheet's height.
    const auto shoreX = [](double y) { return 350.0 + 90.0 * std::pow((y - 300.0) / 300.0, 2); };
    Terrain t;
    t.height = Grid<float>(700, 600, -0.2f);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 700; ++x) {
            if (x >= shoreX(y)) {
                t.height(x, y) = 0.3f;
            }
        }
    }
    const std::vector<QPointF> line = alongCoast(t, QPointF(200, 300), -90.0, 360.0);
    ASSERT_GE(line.size(), 10u);
    EXPECT_GT(line.front().y(), line.back().y()) << "the line runs against its heading";
    double least = 1e9;
    double most = 0.0;
    for (const QPointF& q : line) {
        least = std::min(least, shoreX(q.y()) - q.x());
        most = std::max(most, shoreX(q.y()) - q.x());
    }
    EXPECT_GT(least, 110.0);
    EXPECT_LT(most, 180.0);
    // Bowed with the shore: its ends lie nearer the land's side than its middle.
    EXPECT_GT(line.front().x(), line[line.size() / 2].x() + 8);
    EXPECT_GT(line.back().x(), line[line.size() / 2].x() + 8);

    Terrain sea;
    sea.height = Grid<float>(700, 600, -0.2f);
    EXPECT_TRUE(alongCoast(sea, QPointF(200, 300), -90.0, 360.0).empty());
}
