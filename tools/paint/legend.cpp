#include "tools/paint/legend.h"

#include <QPainter>
#include <array>
#include <utility>

#include "tools/common/labels.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/symbols.h"
#include "tools/roads/bridges.h"

namespace marventa {

namespace {

enum class Line { Highway, Lane, Track, River, Brook, Bridge, Forest, Marsh, HotSpring };

}  // namespace

void drawLegend(QPainter& p, const QRectF& panel, const MapMarks& marks) {
    static constexpr std::array<std::pair<PlaceKind, const char*>, 13> kSymbols{{
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
    static constexpr std::array<std::pair<Line, const char*>, 9> kLines{{
        {Line::Highway, "Highway"},
        {Line::Lane, "Lane"},
        {Line::Track, "Track"},
        {Line::River, "River"},
        {Line::Brook, "Brook"},
        {Line::Bridge, "Bridge"},
        {Line::Forest, "Forest"},
        {Line::Marsh, "Marsh"},
        {Line::HotSpring, "Hot spring"},
    }};
    const QColor ink(44, 32, 22);
    const QColor paper(250, 243, 222);
    drawPanel(p, panel, ink, 10, 7);
    drawHaloTextCentred(p, QStringLiteral("KEY"), QPointF(panel.center().x(), panel.top() + 26),
                        {mapFont(TypeFace::SerifBold, 20, 4), ink, paper, 1.0});
    const TextStyle entry{mapFont(TypeFace::Serif, 16), ink, paper, 1.0};
    constexpr int kRows = static_cast<int>(kSymbols.size() + kLines.size() + 2) / 3;
    const double rowHeight = (panel.height() - 64) / kRows;
    const double columnWidth = (panel.width() - 24) / 3;
    auto cell = [&](std::size_t i) {
        const int column = static_cast<int>(i) / kRows;
        const int row = static_cast<int>(i) % kRows;
        return QPointF(panel.left() + 32 + column * columnWidth,
                       panel.top() + 46 + (row + 0.5) * rowHeight);
    };
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        const QPointF glyph = cell(i);
        drawPlaceSymbol(p, kSymbols[i].first, glyph);
        drawHaloText(p, QString::fromLatin1(kSymbols[i].second), glyph + QPointF(22, 6), entry);
    }
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        const QPointF at = cell(kSymbols.size() + i);
        const std::vector<QPointF> line{at - QPointF(16, 0), at + QPointF(16, 0)};
        switch (kLines[i].first) {
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
                marks.river(p, line, 1.6f);
                break;
            case Line::Bridge:
                marks.river(p, {at - QPointF(0, 11), at + QPointF(0, 11)}, 5.0f);
                marks.road(p, line, RoadClass::Lane);
                drawBridges(p, {{at, QPointF(1, 0), 5.0}});
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
        }
        drawHaloText(p, QString::fromLatin1(kLines[i].second), at + QPointF(22, 6), entry);
    }
}

}  // namespace marventa
