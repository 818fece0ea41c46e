#include "tests/support/window/window_fixture.h"

namespace marventa {
namespace {

TEST_F(WindowTest, StartsAtTheProvinceCornerWithNothingChosen) {
    EXPECT_EQ(Form1, form_.get());
    EXPECT_EQ(ui().Image1->holder()->name(), kProvinceHolder);
    EXPECT_EQ(ui().Image1->size(), QSize(3248, 2633));
    EXPECT_TRUE(ui().Image1->isDecoded()) << "the first paint decodes the map";
    EXPECT_EQ(positions(), QPoint(0, 0));
    EXPECT_EQ(ui().Image1->pos(), QPoint(0, 0));

    for (ListBox* list : {ui().ListBox1, ui().ListBox2, ui().ListBox3}) {
        EXPECT_EQ(list->count(), 0) << list->objectName().toStdString();
    }
    EXPECT_FALSE(ui().ListBox1->isEnabled());
    EXPECT_TRUE(ui().ListBox2->isEnabled());
    EXPECT_TRUE(ui().ListBox3->isEnabled());
    for (int n = 1; n <= 20; ++n) {
        EXPECT_FALSE(ui().radioButton(n).isChecked()) << n;
        // With none checked, each group's first button is its one tab stop.
        const bool firstOfItsGroup = n == 1 || n == 11 || n == 18;
        EXPECT_EQ((ui().radioButton(n).focusPolicy() & Qt::TabFocus) != 0, firstOfItsGroup) << n;
    }
    EXPECT_FALSE(ui().Label1->isVisible());
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), 0);
    EXPECT_TRUE(ui().StandardPage->isVisible());

    StatusBar& status = *ui().StatusBar1;
    EXPECT_EQ(status.panelText(0), QString());
    EXPECT_EQ(status.panelText(1), QStringLiteral("Map of Marventa v1.5"));
    EXPECT_TRUE(status.panelText(2).startsWith(QStringLiteral("contact: ")));
    EXPECT_TRUE(status.panelText(2).endsWith(QStringLiteral("        ")));
    EXPECT_EQ(status.panelWidth(0), 423);

    // The first frame, (0, 0)-(39, 37), as the overview control paints it.
    const QImage overview = ui().Image2->grab().toImage();
    const QImage pristine(form_->browser().overview().pristine().rgb.data(), OverviewBitmap::kWidth,
                          OverviewBitmap::kHeight, OverviewBitmap::kStride, QImage::Format_RGB888);
    for (const QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 37), QPoint(39, 37)}) {
        EXPECT_EQ(logicalPixel(overview, corner), QColor(Qt::black))
            << corner.x() << "," << corner.y();
    }
    for (const QPoint outside : {QPoint(40, 20), QPoint(20, 38), QPoint(20, 20)}) {
        EXPECT_EQ(logicalPixel(overview, outside), pristine.pixelColor(outside))
            << outside.x() << "," << outside.y();
    }
}

TEST_F(WindowTest, HasTheDesignGeometryAndGrowsOnlyTheMainView) {
    EXPECT_EQ(form_->size(), QSize(846, 629));
    EXPECT_EQ(scrollBox().size(), QSize(646, 610));
    EXPECT_EQ(scrollBox().viewport()->size(), QSize(642 - 14, 606 - 14)) << "both bars shown";
    EXPECT_EQ(ui().Panel1->geometry(), QRect(646, 0, 200, 610));
    EXPECT_EQ(ui().Image2->geometry(), QRect(1, 1, 198, 164));
    EXPECT_EQ(ui().TabbedNotebook1->geometry(), QRect(1, 165, 198, 444));
    EXPECT_EQ(ui().StatusBar1->geometry(), QRect(0, 610, 846, 19));
    const QWidget* pages[] = {ui().StandardPage, ui().CitiesPage, ui().ExtrasPage, ui().InfoPage};
    for (int index = 0; index < 4; ++index) {
        ui().TabbedNotebook1->setCurrentIndex(index);  // a hidden page is laid out when shown
        EXPECT_EQ(pages[index]->size(), QSize(190, 416)) << index;
    }
    ui().TabbedNotebook1->setCurrentIndex(0);

    form_->resize(1000, 700);
    EXPECT_EQ(scrollBox().size(), QSize(800, 681));
    EXPECT_EQ(ui().Panel1->width(), 200);
    EXPECT_EQ(ui().Image2->size(), QSize(198, 164));
    EXPECT_EQ(ui().StatusBar1->geometry(), QRect(0, 681, 1000, 19));
    EXPECT_EQ(ui().StatusBar1->panelWidth(0), 423) << "kept from the initial state";
    // The overview frame follows: 800 x 198 div 3248 = 48, 681 x 164 div 2633 = 42.
    const OverviewBitmap& overview = form_->browser().overview().bitmap();
    const auto isBlack = [&overview](int x, int y) {
        const auto* pixel =
            &overview.rgb[static_cast<std::size_t>(y * OverviewBitmap::kStride + x * 3)];
        return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
    };
    EXPECT_TRUE(isBlack(48, 42));
    EXPECT_TRUE(isBlack(48, 0));
    EXPECT_TRUE(isBlack(0, 42));
}

}  // namespace
}  // namespace marventa
