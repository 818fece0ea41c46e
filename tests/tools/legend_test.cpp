#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>

#include "catalogue/city_directory.h"
#include "tools/common/labels.h"
#include "tools/common/world_places.h"
#include "tools/paint/cartouche.h"
#include "tools/paint/crossing_marks.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/legend.h"
#include "tools/paint/map_names.h"
#include "tools/paint/symbols.h"

using namespace marventa;

namespace {

// Every row's sample and name (the advance's box and the letters' ink) stays inside the frame's
// inner line with room to spare, and no two rows touch.
void expectRowsInFrame(const LegendLayout& key) {
    const QRectF room = key.inner.adjusted(3, 3, -3, -3);
    std::vector<QRectF> taken;
    for (const LegendLayout::Row& row : key.rows) {
        QPainterPath ink;
        ink.addText(row.origin, key.font, row.text);
        const QRectF text = textBounds(row.text, key.font, row.origin) | ink.boundingRect();
        const QRectF sample(row.sample - QPointF(17, 12), QSizeF(34, 24));
        const std::string name = row.text.toStdString();
        EXPECT_TRUE(room.contains(text)) << name << "'s name leaves the frame";
        EXPECT_TRUE(room.contains(sample)) << name << "'s sample leaves the frame";
        EXPECT_GE(text.left(), sample.right()) << name << "'s name runs into its sample";
        for (const QRectF& other : taken) {
            EXPECT_FALSE(other.intersects(text) || other.intersects(sample))
                << name << " runs into another row";
        }
        taken.push_back(text);
        taken.push_back(sample);
    }
}

// A category's symbol alone on white, at the middle of 40 px.
QImage symbolAlone(const std::function<void(QPainter&, QPointF)>& draw) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QPointF(20, 20));
    return image;
}

QImage symbolAlone(PlaceKind kind) {
    return symbolAlone([&](QPainter& p, QPointF at) { drawPlaceSymbol(p, kind, at); });
}

}  // namespace

// The province's key holds all its rows inside its frame, on the sheet clear of the border's
// rules and the scrolls in its corners, and the title, the rose and the key overlap none of the
// others.
TEST(Legend, ProvinceKeyFitsItsFrameAndTheSheet) {
    const LegendLayout key = provinceLegend();
    ASSERT_GE(key.rows.size(), 21u);
    expectRowsInFrame(key);
    EXPECT_TRUE(QRectF(14, 14, kProvinceWidth - 28, kProvinceHeight - 28).contains(key.panel));
    constexpr double kScroll = 32;  // a corner scroll with its leaves, and room round it
    for (const QPointF corner : {QPointF(0, 0), QPointF(kProvinceWidth - kScroll, 0),
                                 QPointF(0, kProvinceHeight - kScroll),
                                 QPointF(kProvinceWidth - kScroll, kProvinceHeight - kScroll)}) {
        EXPECT_FALSE(key.panel.intersects(QRectF(corner, QSizeF(kScroll, kScroll))))
            << "the key touches the border's scroll at (" << corner.x() << ", " << corner.y()
            << ")";
    }
    const std::vector<QRectF> furniture = sheetFurniture();
    for (std::size_t i = 0; i < furniture.size(); ++i) {
        for (std::size_t j = i + 1; j < furniture.size(); ++j) {
            EXPECT_FALSE(furniture[i].intersects(furniture[j])) << i << " overlaps " << j;
        }
    }
}

// What the map draws beside the place symbols (the craters, the salt pans, the barrow and the
// gorge among them) has a row of the key, and each row's sample lays down ink or paint.
TEST(Legend, EveryDrawnFeatureHasASampleInTheKey) {
    const LegendLayout key = provinceLegend();
    QImage drawn(kProvinceWidth, kProvinceHeight, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        const auto line = [](QPainter& q, const std::vector<QPointF>& pts) {
            q.setPen(QPen(Qt::black, 1.5));
            q.drawLine(pts.front(), pts.back());
        };
        drawLegend(
            p,
            {[&](QPainter& q, const std::vector<QPointF>& pts, RoadClass) { line(q, pts); },
             [&](QPainter& q, const std::vector<QPointF>& pts, float) { line(q, pts); },
             [&](QPainter& q, const std::vector<QPointF>& pts, float) { line(q, pts); },
             [](QPainter& q, QPointF at, bool) { q.fillRect(QRectF(at, QSizeF(4, 4)), Qt::black); },
             [](QPainter& q, QPointF at) { q.fillRect(QRectF(at, QSizeF(4, 4)), Qt::black); }});
    }
    for (const char* name :
         {"Crater", "Salt pans", "Barrow", "Gorge", "Hot spring", "Bridge", "Ford, ferry"}) {
        const auto row = std::find_if(key.rows.begin(), key.rows.end(), [&](const auto& r) {
            return r.text == QString::fromLatin1(name);
        });
        ASSERT_NE(row, key.rows.end()) << name << " has no row in the key";
        int dark = 0;
        const QRect box = QRectF(row->sample - QPointF(16, 11), QSizeF(32, 22)).toRect();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                dark += qGray(drawn.pixel(x, y)) < 225 ? 1 : 0;
            }
        }
        EXPECT_GT(dark, 20) << name << "'s sample is empty";
    }
}

// Rows added to the key (one, a few, many, a long name) grow the panel rather than spill out of
// it, and its bottom-left corner stays put.
TEST(Legend, AnyNumberOfRowsStaysInsideTheFrame) {
    for (const int count : {1, 4, 22, 23, 24, 40}) {
        std::vector<QString> names;
        for (int i = 0; i < count; ++i) {
            names.push_back(i == count / 2 ? QStringLiteral("A very long row, Wide Wandering Wells")
                                           : QStringLiteral("Row %1").arg(i));
        }
        const LegendLayout key = layoutLegend(names, QPointF(100, 900), 3);
        SCOPED_TRACE(count);
        ASSERT_EQ(key.rows.size(), names.size());
        expectRowsInFrame(key);
        EXPECT_DOUBLE_EQ(key.panel.left(), 100.0);
        EXPECT_DOUBLE_EQ(key.panel.bottom(), 900.0);
        EXPECT_TRUE(key.inner.contains(QRectF(key.heading - QPointF(30, 12), QSizeF(60, 24))));
    }
}

// Every category in the tables has a row of the key, each category's symbol differs from every
// other's, and the key draws it exactly as the map does: its sample is the map's symbol at that
// point, magnified about it, on the key's paper, pixel for pixel.
TEST(Legend, EveryCategoryHasItsOwnSymbolInTheKeyAsTheMapDrawsIt) {
    const std::vector<PlaceKind> kinds = keySymbols();
    for (const ProvincePlace& place : provincePlaces()) {
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), place.kind), kinds.end())
            << place.name << "'s category is missing from the key";
    }
    // The capital's mark, in the row above the categories', is one of its own too.
    std::vector<QImage> marks;
    for (PlaceKind kind : kinds) {
        marks.push_back(symbolAlone(kind));
    }
    marks.push_back(symbolAlone(drawCapitalSymbol));
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const QImage& a = marks[i];
        for (std::size_t j = i + 1; j < marks.size(); ++j) {
            const QImage& b = marks[j];
            int differ = 0;
            for (int y = 0; y < 40; ++y) {
                for (int x = 0; x < 40; ++x) {
                    differ += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_GT(differ, 30) << "two categories share a symbol: rows " << i << " and " << j;
        }
    }

    const LegendLayout key = provinceLegend();
    const QSize sheet(kProvinceWidth, kProvinceHeight);
    QImage drawn(sheet, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QImage expected = drawn;
    {
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        drawLegend(p, {[](QPainter&, const std::vector<QPointF>&, RoadClass) {},
                       [](QPainter&, const std::vector<QPointF>&, float) {},
                       [](QPainter&, const std::vector<QPointF>&, float) {},
                       [](QPainter&, QPointF, bool) {}, [](QPainter&, QPointF) {}});
        QPainter q(&expected);
        q.setRenderHint(QPainter::Antialiasing);
        drawCartouche(q, key.panel, QColor(44, 32, 22), 7);
        for (std::size_t i = 0; i <= kinds.size(); ++i) {
            const QPointF at = key.rows[i].sample;
            q.save();
            q.translate(at);
            q.scale(kKeySymbolScale, kKeySymbolScale);
            q.translate(-at);
            if (i == 0) {
                drawCapitalSymbol(q, at);
            } else {
                drawPlaceSymbol(q, kinds[i - 1], at);
            }
            q.restore();
        }
    }
    for (std::size_t i = 0; i <= kinds.size(); ++i) {
        const QRect box = QRectF(key.rows[i].sample - QPointF(14, 12), QSizeF(28, 24)).toRect();
        EXPECT_EQ(drawn.copy(box), expected.copy(box))
            << key.rows[i].text.toStdString() << "'s sample is not the map's symbol";
        // Among the key's lettering a mark reads at least as large as a row's capitals.
        QRect ink;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                ink |= qGray(drawn.pixel(x, y)) < 170 ? QRect(x, y, 1, 1) : QRect();
            }
        }
        EXPECT_GE(std::max(ink.width(), ink.height()), 12)
            << key.rows[i].text.toStdString() << "'s sample is too small to read";
    }
}

// The map reads by its towns first: every lesser category's pictogram is 10 to 16 px across and
// tall, large enough to tell by its shape at full size, drawn in an open line, and lays down less
// ink than a town's or a city's mark.
TEST(Legend, TownsOutweighTheLesserSymbols) {
    struct Ink {
        QRect box;
        double weight = 0;
    };
    // The mark as drawn at `at` on the sheet, shifted to the image's middle.
    const auto inkOf = [](PlaceKind kind, QPointF at = QPointF(20, 20)) {
        const QImage image = symbolAlone([&](QPainter& p, QPointF mid) {
            p.translate(mid - at);
            drawPlaceSymbol(p, kind, at);
        });
        Ink ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int dark = 255 - qGray(image.pixel(x, y));
                if (dark > 40) {
                    ink.box |= QRect(x, y, 1, 1);
                }
                ink.weight += dark;
            }
        }
        return ink;
    };
    const double town = inkOf(PlaceKind::Town).weight;
    EXPECT_GT(inkOf(PlaceKind::City).weight, town);
    for (const PlaceKind kind : keySymbols()) {
        if (kind == PlaceKind::Town || kind == PlaceKind::City) {
            continue;
        }
        SCOPED_TRACE(static_cast<int>(kind));
        // Drawn at several places, each by a slightly different pen, never one stamp; and
        // never so heavy or so slight that it leaves its bounds.
        std::set<long> weights;
        for (const QPointF at :
             {QPointF(20, 20), QPointF(731, 1204), QPointF(2917.5, 88), QPointF(1440, 2301)}) {
            const Ink ink = inkOf(kind, at);
            EXPECT_GE(std::max(ink.box.width(), ink.box.height()), 10);
            EXPECT_LE(std::max(ink.box.width(), ink.box.height()), 16);
            EXPECT_LT(ink.weight, 0.75 * town);
            weights.insert(std::lround(ink.weight / 50));
        }
        EXPECT_GT(weights.size(), 2u) << "one stamp repeated at every place";
        // Drawn in an open line: nowhere a solid block of ink, like a filled cave mouth.
        const QImage image =
            symbolAlone([&](QPainter& p, QPointF at) { drawPlaceSymbol(p, kind, at); });
        for (int y = 1; y + 1 < image.height(); ++y) {
            for (int x = 1; x + 1 < image.width(); ++x) {
                int dark = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        dark += qGray(image.pixel(x + dx, y + dy)) < 110 ? 1 : 0;
                    }
                }
                ASSERT_LT(dark, 9) << "solid ink at (" << x << ", " << y << ")";
            }
        }
    }
}

// The settled places' marks are flat ink with a single colour at most, and that colour a deep
// ink's, not a screen's red; a hot spring's ink alone: no gold crown or sulphur glow among the
// lesser marks' browns.
TEST(Legend, SettledMarksAndSpringsKeepToInkAndOneColour) {
    const auto brightest = [](const QImage& image) {
        int most = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c(image.pixel(x, y));
                if (c.hsvSaturation() > 120) {
                    most = std::max(most, c.value());
                }
            }
        }
        return most;
    };
    for (const PlaceKind kind : {PlaceKind::Town, PlaceKind::City}) {
        EXPECT_LT(brightest(symbolAlone(kind)), 160) << "a settled mark in a screen's red";
    }
    EXPECT_LT(brightest(symbolAlone(drawCapitalSymbol)), 160) << "the capital in a screen's red";
    const auto huesOf = [](const QImage& image) {
        std::set<int> hues;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c(image.pixel(x, y));
                if (c.hsvSaturation() > 120 && c.value() > 60) {
                    hues.insert(((c.hsvHue() + 15) % 360) / 30);  // reds either side of 0 as one
                }
            }
        }
        return hues;
    };
    EXPECT_LE(huesOf(symbolAlone(PlaceKind::Town)).size(), 1u);
    EXPECT_LE(huesOf(symbolAlone(PlaceKind::City)).size(), 1u);
    EXPECT_LE(huesOf(symbolAlone(drawCapitalSymbol)).size(), 1u);
    EXPECT_TRUE(huesOf(symbolAlone(drawHotSpring)).empty());
}

// The marks most alike in kind are told apart by their outlines alone: the fort's low wall, the
// ruin's pillars and arch, and the two lorestones' tops, each covers ground the others leave.
TEST(Legend, RuinsAndLorestonesDifferInSilhouette) {
    const auto shapeOf = [](PlaceKind kind) {
        const QImage image = symbolAlone(kind);
        std::vector<bool> ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink.push_back(qGray(image.pixel(x, y)) < 200);
            }
        }
        return ink;
    };
    const std::vector<PlaceKind> kinds{PlaceKind::FortRuin, PlaceKind::ElvenRuin,
                                       PlaceKind::HeavenlyStone, PlaceKind::SignStone};
    for (std::size_t a = 0; a < kinds.size(); ++a) {
        for (std::size_t b = a + 1; b < kinds.size(); ++b) {
            const std::vector<bool> p = shapeOf(kinds[a]);
            const std::vector<bool> q = shapeOf(kinds[b]);
            int both = 0;
            int either = 0;
            for (std::size_t i = 0; i < p.size(); ++i) {
                both += p[i] && q[i] ? 1 : 0;
                either += p[i] || q[i] ? 1 : 0;
            }
            SCOPED_TRACE(std::to_string(static_cast<int>(kinds[a])) + " and " +
                         std::to_string(static_cast<int>(kinds[b])));
            ASSERT_GT(either, 0);
            EXPECT_LT(static_cast<double>(both) / either, 0.5) << "two marks share one outline";
        }
    }
    // The fort lies low and wide; the ruin and the stones stand taller than they are wide.
    const auto box = [](PlaceKind kind) {
        const QImage image = symbolAlone(kind);
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink |= qGray(image.pixel(x, y)) < 200 ? QRect(x, y, 1, 1) : QRect();
            }
        }
        return ink;
    };
    EXPECT_GT(box(PlaceKind::FortRuin).width(), box(PlaceKind::FortRuin).height());
    for (const PlaceKind kind : {PlaceKind::ElvenRuin, PlaceKind::HeavenlyStone}) {
        EXPECT_GT(box(kind).height(), box(kind).width()) << static_cast<int>(kind);
    }
}

// A lesser mark whose point lies on a river's water at its edge stands just up that bank, clear
// of the water, with a landing stage down to its point; one ashore, and a town, stay put.
TEST(CrossingMarks, AMarkOverTheWaterStandsUpItsOwnBank) {
    Waterways water;
    RiverLine river;
    for (int x = 0; x <= 200; x += 4) {
        river.points.emplace_back(x, 100);
        river.widths.push_back(10.0f);
    }
    water.rivers.push_back(river);
    const ProvincePlace ferry{"Goose Ferry", {100, 104}, PlaceKind::Settlement};
    const QPointF moved = symbolSpot(ferry, water);
    EXPECT_NEAR(moved.x(), 100.0, 0.5);
    EXPECT_GE(moved.y() - 105.0, symbolRadius(PlaceKind::Settlement)) << "the mark stays wet";
    EXPECT_LT(moved.y(), 104.0 + 12.0) << "the mark strays from its point";
    const ProvincePlace north{"Far Bank", {100, 97}, PlaceKind::Inn};
    EXPECT_LT(symbolSpot(north, water).y(), 95.0 - symbolRadius(PlaceKind::Inn))
        << "a mark on the north bank is moved to the south";
    const ProvincePlace dry{"Dry Stow", {100, 130}, PlaceKind::Settlement};
    EXPECT_EQ(symbolSpot(dry, water), QPointF(100, 130));
    const ProvincePlace town{"Riverton", {100, 101}, PlaceKind::Town};
    EXPECT_EQ(symbolSpot(town, water), QPointF(100, 101));

    QImage drawn(200, 200, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        drawLanding(p, moved, QPointF(100, 104));
    }
    int inked = 0;
    for (int y = 100; y <= 106; ++y) {
        inked += qAlpha(drawn.pixel(101, y)) > 60 ? 1 : 0;
    }
    EXPECT_GT(inked, 0) << "no landing stage reaches the point";
}
