#include <gtest/gtest.h>

#include <QTest>
#include <optional>
#include <vector>

#include "ui/list_box.h"

namespace marventa {
namespace {

// A short list box alone, thirteen names, shorter than its rows: the last ones lie below the
// visible part.
class ListBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        list_.resize(178, 140);
        for (int row = 0; row < 13; ++row) {
            list_.appendName("Stone " + std::to_string(row));
        }
        list_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
        QObject::connect(&list_, &ListBox::picked, &list_,
                         [this] { reported_.push_back(list_.selectedRow()); });
    }

    QPoint centreOf(int row) { return list_.visualItemRect(list_.item(row)).center(); }

    ListBox list_{nullptr};
    std::vector<std::optional<int>> reported_;
};

TEST_F(ListBoxTest, ADragPastTheVisibleRowsReportsTheRowItEndsOn) {
    QWidget& rows = *list_.viewport();
    const QPoint below(centreOf(6).x(), rows.height());  // on the edge, over a row cut in half
    QTest::mouseClick(&rows, Qt::LeftButton, {}, centreOf(6));
    QTest::mousePress(&rows, Qt::LeftButton, {}, centreOf(6));
    QTest::mouseMove(&rows, below);
    QTest::mouseRelease(&rows, Qt::LeftButton, {}, below);

    ASSERT_FALSE(reported_.empty());
    ASSERT_TRUE(list_.selectedRow().has_value());
    EXPECT_EQ(reported_.back(), list_.selectedRow()) << "the operation saw another row";
}

// As in a classic single-selection list box: the left button selects, other buttons do nothing,
// Ctrl and Shift neither deselect nor extend. After every act the row selected is the row the
// operation saw last.
TEST_F(ListBoxTest, OnlyTheLeftButtonSelectsAndModifiersChangeNothing) {
    QWidget& rows = *list_.viewport();
    const auto selectedAndReported = [this](int row) {
        EXPECT_EQ(list_.selectedRow(), std::optional<int>(row));
        ASSERT_FALSE(reported_.empty());
        EXPECT_EQ(reported_.back(), std::optional<int>(row));
    };
    QTest::mouseClick(&rows, Qt::LeftButton, {}, centreOf(2));
    selectedAndReported(2);
    const std::size_t picks = reported_.size();

    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(&rows, button, {}, centreOf(5));
        QTest::mouseDClick(&rows, button, {}, centreOf(5));
        QTest::mousePress(&rows, button, {}, centreOf(4));
        QTest::mouseMove(&rows, centreOf(6));
        QTest::mouseRelease(&rows, button, {}, centreOf(6));
    }
    EXPECT_EQ(reported_.size(), picks) << "another button ran the click operation";
    selectedAndReported(2);

    QTest::mouseClick(&rows, Qt::LeftButton, Qt::ControlModifier, centreOf(2));
    selectedAndReported(2);
    QTest::mouseClick(&rows, Qt::LeftButton, Qt::ShiftModifier, centreOf(4));
    selectedAndReported(4);
    QTest::mouseClick(&rows, Qt::LeftButton, Qt::ControlModifier, centreOf(7));
    selectedAndReported(7);

    list_.setFocus();
    QTest::keyClick(&list_, Qt::Key_Space, Qt::ControlModifier);
    selectedAndReported(7);
    QTest::keyClick(&list_, Qt::Key_Down, Qt::ControlModifier);
    selectedAndReported(8);
    QTest::keyClick(&list_, Qt::Key_End, Qt::ShiftModifier);
    selectedAndReported(12);

    // Below the last row there is nothing to select, and the row stays selected.
    list_.resize(list_.width(), 13 * ListBox::kItemHeight + 60);
    const QPoint belowTheRows(centreOf(12).x(), rows.height() - 5);
    QTest::mouseClick(&rows, Qt::LeftButton, {}, belowTheRows);
    QTest::mouseDClick(&rows, Qt::LeftButton, {}, belowTheRows);
    QTest::mouseClick(&rows, Qt::LeftButton, Qt::ControlModifier, belowTheRows);
    selectedAndReported(12);
}

}  // namespace
}  // namespace marventa
