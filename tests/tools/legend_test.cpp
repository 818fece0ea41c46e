#include <gtest/gtest.h>

#include <QPainterPath>
#include <string>

#include "catalogue/city_directory.h"
#include "tools/common/labels.h"
#include "tools/paint/legend.h"
#include "tools/paint/map_names.h"

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

}  // namespace

// The province's key holds all its rows inside its frame, on the sheet and clear of the title and
// the rose.
TEST(Legend, ProvinceKeyFitsItsFrameAndTheSheet) {
    const LegendLayout key = provinceLegend();
    ASSERT_GE(key.rows.size(), 21u);
    expectRowsInFrame(key);
    EXPECT_TRUE(QRectF(14, 14, kProvinceWidth - 28, kProvinceHeight - 28).contains(key.panel));
    EXPECT_FALSE(key.panel.intersects(kTitlePanel));
    EXPECT_FALSE(key.panel.intersects(kRoseBox));
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
