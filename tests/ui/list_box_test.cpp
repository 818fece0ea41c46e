#include <gtest/gtest.h>

#include <QTest>
#include <optional>
#include <vector>

#include "list_box.h"

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

}  // namespace
}  // namespace marventa
