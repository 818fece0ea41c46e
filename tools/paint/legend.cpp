#include "tools/paint/legend.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "tools/common/labels.h"
#include "tools/paint/cartouche.h"
#include "tools/paint/crater_glyphs.h"
#include "tools/paint/crossing_marks.h"
#include "tools/paint/field_marks.h"
#include "tools/paint/hill_marks.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/symbols.h"
#include "tools/roads/bridges.h"

namespace marventa {

namespace {

enum class Line {
    Highway,
    Lane,
    Track,
    River,
    Brook,
    Bridge,
    FordFerry,
    Mountains,
    Hills,
    Forest,
    Marsh,
    HotSpring,
    Crater,
    SaltPans,
    Barrow,
    Gorge,
    Slope,
    Fields
};

constexpr std::array<std::pair<PlaceKind, const char*>, 13> kSymbols{{
    {PlaceKind::City, "City"},
    {PlaceKind::Town, "Town"},
    {PlaceKind::Settlement, "Settlement"},
    {PlaceKind::Inn, "Inn"},
    {PlaceKind::Camp, "Camp"},
    {PlaceKind::Mine, "Mine"},
    {PlaceKind::Cave, "Cave"},
    {PlaceKind::FortRuin, "Fort ruin"},
    {PlaceKind::ElvenRuin, "Elven ruin"},
    {PlaceKind::Shrine, "Vorthic shrine"},
    {PlaceKind::Landmark, "Landmark"},
    {PlaceKind::HeavenlyStone, "Heavenly lorestone"},
    {PlaceKind::SignStone, "Natalsign lorestone"},
}};
constexpr std::array<std::pair<Line, const char*>, 18> kLines{{
    {Line::Mountains, "Mountains"},
    {Line::Hills, "Hills"},
    {Line::Highway, "Highway"},
    {Line::Lane, "Lane"},
    {Line::Track, "Track"},
    {Line::River, "River"},
    {Line::Brook, "Brook"},
    {Line::Bridge, "Bridge"},
    {Line::FordFerry, "Ford, ferry"},
    {Line::Forest, "Forest"},
    {Line::Marsh, "Marsh"},
    {Line::HotSpring, "Hot spring"},
    {Line::Crater, "Crater"},
    {Line::SaltPans, "Salt pans"},
    {Line::Barrow, "Barrow"},
    {Line::Gorge, "Gorge"},
    {Line::Slope, "Steep slope"},
    {Line::Fields, "Fields"},
}};

// The key's measures, in pixels.
constexpr double kInset = 7;         // the frame's inner line inside the panel's edge
constexpr double kHeadingRoom = 42;  // above the first row
// The province's key sets its rows closer than a key's usual 26.5, in four short columns, so
// that it fits under the title in the open sea below the islands.
constexpr double kProvinceRowHeight = 24;
constexpr int kProvinceColumns = 4;
constexpr double kSampleRoom = 48;  // a row's glyph or line sample, before its name
constexpr double kColumnGap = 24;
constexpr double kSide = 16;  // between the frame and the outer columns
constexpr double kFoot = 12;  // below the last row

void drawShrunk(QPainter& p, std::string_view landmark, QPointF at, QPointF middle, double scale) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    drawLandmarkFeature(p, landmark, -middle, Waterways{});
    p.restore();
}

void drawLine(QPainter& p, Line kind, QPointF at, const MapMarks& marks) {
    const std::vector<QPointF> line{at - QPointF(16, 0), at + QPointF(16, 0)};
    switch (kind) {
        case Line::Highway:
            marks.road(p, line, RoadClass::Highway);
            break;
        case Line::Lane:
            marks.road(p, line, RoadClass::Lane);
            break;
        case Line::Track:
            marks.road(p, line, RoadClass::Track);
            break;
        case Line::River:
            marks.river(p, line, 5.0f);
            break;
        case Line::Brook:
            marks.brook(p, line, 1.6f);
            break;
        case Line::Bridge:
            marks.river(p, {at - QPointF(0, 11), at + QPointF(0, 11)}, 5.0f);
            marks.road(p, line, RoadClass::Lane);
            drawBridges(p, {{at, QPointF(1, 0), 5.0}});
            break;
        case Line::FordFerry:
            // A track over two narrow waters, waded on the left and ferried on the right.
            for (const double dx : {-9.0, 9.0}) {
                marks.river(p, {at + QPointF(dx, -11), at + QPointF(dx, 11)}, 4.0f);
            }
            marks.road(p, line, RoadClass::Track);
            drawFord(p, {at - QPointF(9, 0), QPointF(1, 0), 4.0, RoadClass::Track});
            drawFerry(p, {at + QPointF(9, 0), QPointF(1, 0), 4.0, RoadClass::Track});
            break;
        case Line::Mountains: {
            // A big snowy peak behind a smaller bare one, as the crests have them.
            Peak far{at + QPointF(-4, 10), 30, 19, false, true, false, 0x4E7A'0001, {}, false};
            Peak near{at + QPointF(9, 11), 20, 11, false, false, false, 0x4E7A'0002, {}, false};
            drawPeak(p, far);
            drawPeak(p, near);
            break;
        }
        case Line::Hills:
            for (const double dx : {-9.0, 8.0}) {
                drawPeak(p, {at + QPointF(dx, 5), 15, 6, true, false, false, 0x4E7A'0003, {}});
            }
            break;
        case Line::Forest:
            for (const QPointF& t : {QPointF(-10, 2), QPointF(0, -3), QPointF(10, 2)}) {
                marks.tree(p, at + t, t.x() > 0);
            }
            break;
        case Line::Marsh:
            for (const QPointF& t : {QPointF(-9, 2), QPointF(3, -2), QPointF(11, 3)}) {
                marks.reeds(p, at + t);
            }
            break;
        case Line::HotSpring:
            drawHotSpring(p, at);
            break;
        case Line::Crater:
            drawCraterRim(p, {at + QPointF(0, -1), 11.0, false}, 0.0, false);
            break;
        // The landmarks' own drawings, shrunk to a row: each is centred on its sample.
        case Line::SaltPans:
            drawShrunk(p, "Greywhite Salt Pans", at, QPointF(-41, -7), 0.46);
            break;
        case Line::Barrow:
            drawShrunk(p, "Barrow of the First Crown", at, QPointF(-3.5, 3), 1.0);
            break;
        case Line::Gorge:
            drawShrunk(p, "The Hollering Gorge", at, QPointF(0, 0), 1.0);
            break;
        case Line::Slope:
            // Two groups of strokes falling to the south-east, as the map's slopes have them.
            drawHillMark(p, {at + QPointF(-7, -6), QPointF(0.42, 0.91), 9, 3, 0x4E7A'0005});
            drawHillMark(p, {at + QPointF(6, -3), QPointF(0.5, 0.87), 7, 3, 0x4E7A'0006});
            break;
        case Line::Fields:
            drawFieldMark(p, {at + QPointF(-6, -3), FieldMarkKind::Furrows, 0.12, 12, 0x4E7A'0007});
            drawFieldMark(p, {at + QPointF(7, 3), FieldMarkKind::Furrows, 0.12, 11, 0x4E7A'0008});
            drawFieldMark(p, {at + QPointF(-1, 10), FieldMarkKind::Hedge, 0.12, 20, 0x4E7A'0009});
            break;
    }
}

}  // namespace

LegendLayout layoutLegend(const std::vector<QString>& names, QPointF corner, int columns,
                          double rowHeight) {
    LegendLayout out;
    // Lettered like the title's cartouche: its italic for the entries, its spaced capitals above.
    out.font = mapFont(TypeFace::SerifItalic, 18, 0.4);
    const QFontMetricsF m(out.font);
    const int n = static_cast<int>(names.size());
    const int perColumn = std::max(1, (n + std::max(1, columns) - 1) / std::max(1, columns));
    const int used = (n + perColumn - 1) / perColumn;
    const double height = kHeadingRoom + perColumn * rowHeight + kFoot + kInset;
    std::vector<double> widths(static_cast<std::size_t>(std::max(1, used)), 0.0);
    for (int i = 0; i < n; ++i) {
        double& w = widths[static_cast<std::size_t>(i / perColumn)];
        // The ink's box, which an italic or a wide letter may push past the advance.
        QPainterPath ink;
        ink.addText(0, 0, out.font, names[static_cast<std::size_t>(i)]);
        w = std::max({w, m.horizontalAdvance(names[static_cast<std::size_t>(i)]),
                      ink.boundingRect().right()});
    }
    double width = 2 * (kInset + kSide) - kColumnGap;
    for (double w : widths) {
        width += kSampleRoom + w + kColumnGap;
    }
    out.panel = QRectF(corner.x(), corner.y() - height, width, height);
    out.inner = out.panel.adjusted(kInset, kInset, -kInset, -kInset);
    out.heading = QPointF(out.panel.center().x(), out.panel.top() + 26);
    // A row's name sits with its letters' middle on the sample's line.
    const double drop = (m.ascent() - m.descent()) / 2;
    double left = out.inner.left() + kSide;
    for (int c = 0; c < used; ++c) {
        for (int r = 0; r < perColumn && c * perColumn + r < n; ++r) {
            const QPointF sample(left + kSampleRoom / 2,
                                 out.panel.top() + kHeadingRoom + (r + 0.5) * rowHeight);
            out.rows.push_back({names[static_cast<std::size_t>(c * perColumn + r)], sample,
                                QPointF(left + kSampleRoom, sample.y() + drop)});
        }
        left += kSampleRoom + widths[static_cast<std::size_t>(c)] + kColumnGap;
    }
    return out;
}

LegendLayout provinceLegend() {
    // The capital heads the settlements it outranks; the relief ends the places' column, so that
    // the roads and the waters each stand together in the next.
    std::vector<QString> names{QStringLiteral("Capital")};
    for (const auto& [kind, name] : kSymbols) {
        names.push_back(QString::fromLatin1(name));
    }
    for (const auto& [kind, name] : kLines) {
        names.push_back(QString::fromLatin1(name));
    }
    // Its corner stands well inside the sheet's border and clear of the scroll in its corner.
    return layoutLegend(names, QPointF(34, 2606), kProvinceColumns, kProvinceRowHeight);
}

std::vector<PlaceKind> keySymbols() {
    std::vector<PlaceKind> kinds;
    for (const auto& [kind, name] : kSymbols) {
        kinds.push_back(kind);
    }
    return kinds;
}

void drawLegend(QPainter& p, const MapMarks& marks) {
    const LegendLayout key = provinceLegend();
    const QColor ink(44, 32, 22);
    const QColor paper(250, 243, 222);
    drawCartouche(p, key.panel, ink, kInset);
    drawHaloTextCentred(p, QStringLiteral("KEY"), key.heading,
                        {mapFont(TypeFace::SerifBold, 22, 6), ink, paper, 1.0});
    const TextStyle entry{key.font, ink, paper, 1.0};
    for (std::size_t i = 0; i < key.rows.size(); ++i) {
        const LegendLayout::Row& row = key.rows[i];
        if (i <= kSymbols.size()) {
            // The map's own mark for that point, magnified about it.
            p.save();
            p.translate(row.sample);
            p.scale(kKeySymbolScale, kKeySymbolScale);
            p.translate(-row.sample);
            if (i == 0) {
                drawCapitalSymbol(p, row.sample);
            } else {
                drawPlaceSymbol(p, kSymbols[i - 1].first, row.sample);
            }
            p.restore();
        } else {
            drawLine(p, kLines[i - kSymbols.size() - 1].first, row.sample, marks);
        }
        drawHaloText(p, row.text, row.origin, entry);
    }
}

}  // namespace marventa
