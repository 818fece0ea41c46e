#include "legend.h"

#include <QPainter>
#include <array>
#include <utility>

#include "symbols.h"
#include "tools/common/labels.h"

namespace marventa {

void drawLegend(QPainter& p, const QRectF& panel) {
    static constexpr std::array<std::pair<PlaceKind, const char*>, 13> kEntries{{
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
    const QColor ink(44, 32, 22);
    const QColor paper(250, 243, 222);
    drawPanel(p, panel, ink, 10, 7);
    drawHaloTextCentred(p, QStringLiteral("KEY"), QPointF(panel.center().x(), panel.top() + 24),
                        {mapFont(TypeFace::SerifBold, 20, 4), ink, paper, 1.0});
    const TextStyle entry{mapFont(TypeFace::Serif, 16), ink, paper, 1.0};
    const int rows = static_cast<int>((kEntries.size() + 1) / 2);
    const double rowHeight = (panel.height() - 52) / rows;
    const double columnWidth = (panel.width() - 24) / 2;
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        const int column = static_cast<int>(i) / rows;
        const int row = static_cast<int>(i) % rows;
        const QPointF glyph(panel.left() + 30 + column * columnWidth,
                            panel.top() + 46 + (row + 0.5) * rowHeight);
        drawPlaceSymbol(p, kEntries[i].first, glyph);
        drawHaloText(p, QString::fromLatin1(kEntries[i].second), glyph + QPointF(22, 6), entry);
    }
}

}  // namespace marventa
