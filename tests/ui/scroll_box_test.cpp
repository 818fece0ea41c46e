#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "ui/scroll_box.h"

namespace marventa {
namespace {

// The main view alone, with the province map's ranges, as the window first shows it.
class ScrollBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        box_.setPictureSize({3248, 2633});
        box_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box_));
        QObject::connect(&box_, &ScrollBox::realigned, &box_, [this] {
            realigns_.push_back({box_.outerWidth(), box_.outerHeight(), box_.horizontalPosition(),
                                 box_.verticalPosition()});
        });
    }

    void wheel(QWidget* target) {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &event);
    }

    struct Realign {
        int width, height, h, v;
        friend bool operator==(const Realign&, const Realign&) = default;
    };

    ScrollBox box_{QSize(646, 610), nullptr};
    std::vector<Realign> realigns_;
};

TEST_F(ScrollBoxTest, BarsReachRangeMinusClientExtentAndStepByOnePixel) {
    QScrollBar& h = *box_.horizontalScrollBar();
    QScrollBar& v = *box_.verticalScrollBar();
    const int bar = box_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box_);
    ASSERT_TRUE(h.isVisible() && v.isVisible());
    EXPECT_EQ(h.height(), bar);
    EXPECT_EQ(box_.viewport()->size(), QSize(642 - bar, 606 - bar));
    EXPECT_EQ(h.maximum(), 3248 - (642 - bar));
    EXPECT_EQ(v.maximum(), 2633 - (606 - bar));
    EXPECT_EQ(h.maximum(), box_.state().maxHorizontalPosition());
    EXPECT_EQ(h.singleStep(), 1);
    EXPECT_EQ(h.pageStep(), 642 - bar);
    EXPECT_EQ(v.pageStep(), 606 - bar);
    EXPECT_FALSE(h.hasTracking()) << "a dragged thumb takes effect when released";

    // Positions clamp to the bars' ends.
    box_.setHorizontalPosition(100000);
    box_.setVerticalPosition(-5);
    EXPECT_EQ(box_.horizontalPosition(), h.maximum());
    EXPECT_EQ(box_.verticalPosition(), 0);
    EXPECT_EQ(h.value(), h.maximum());

    // A small picture hides both bars and pulls the positions back to 0.
    box_.setPictureSize({300, 200});
    EXPECT_FALSE(h.isVisible());
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(box_.horizontalPosition(), 0);
    EXPECT_EQ(box_.viewport()->size(), QSize(642, 606));
}

TEST_F(ScrollBoxTest, OnlyTheBarsScrollAndTheChildrenFollowThem) {
    QWidget child(box_.viewport());
    child.setGeometry(0, 0, 3248, 2633);

    // Keys on the view itself move nothing, however it got the focus.
    box_.setFocus();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End,
                              Qt::Key_Home, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp}) {
        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier),
              Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            QTest::keyClick(&box_, key, modifiers);
        }
    }
    EXPECT_EQ(box_.horizontalPosition(), 0);
    EXPECT_EQ(box_.verticalPosition(), 0);
    EXPECT_TRUE(realigns_.empty());

    box_.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    box_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    box_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int page = box_.verticalScrollBar()->pageStep();
    EXPECT_EQ(box_.horizontalPosition(), 1);
    EXPECT_EQ(box_.verticalPosition(), 1 + page);
    EXPECT_EQ(child.pos(), QPoint(-1, -1 - page));
    ASSERT_EQ(realigns_.size(), 3u);
    EXPECT_EQ(realigns_.back(), (Realign{646, 610, 1, 1 + page}));

    // Programmatic positions move the children the same way.
    box_.setHorizontalPosition(500);
    EXPECT_EQ(child.pos(), QPoint(-500, -1 - page));
    EXPECT_EQ(box_.horizontalScrollBar()->value(), 500);
    EXPECT_EQ(realigns_.size(), 4u);
    box_.setHorizontalPosition(500);  // no change, no realign
    EXPECT_EQ(realigns_.size(), 4u);
}

TEST_F(ScrollBoxTest, TheWheelScrollsNothingNeitherInTheViewNorOnTheBars) {
    box_.setVerticalPosition(300);
    realigns_.clear();
    wheel(box_.viewport());
    wheel(box_.verticalScrollBar());
    wheel(box_.horizontalScrollBar());
    EXPECT_EQ(box_.verticalPosition(), 300);
    EXPECT_EQ(box_.horizontalPosition(), 0);
    EXPECT_TRUE(realigns_.empty());
}

TEST_F(ScrollBoxTest, AResizeRealignsWithTheOldSizeThenTheNew) {
    box_.setHorizontalPosition(box_.state().maxHorizontalPosition());
    realigns_.clear();
    box_.resize(746, 700);
    ASSERT_EQ(realigns_.size(), 2u);
    EXPECT_EQ(realigns_[0], (Realign{646, 610, realigns_[0].h, realigns_[0].v}));
    // A wider view pulls the position back by the 100 extra pixels, in place for the second.
    EXPECT_EQ(realigns_[1].width, 746);
    EXPECT_EQ(realigns_[1].height, 700);
    EXPECT_EQ(realigns_[1].h, realigns_[0].h - 100);
    EXPECT_EQ(box_.horizontalScrollBar()->maximum(), box_.state().maxHorizontalPosition());
}

TEST_F(ScrollBoxTest, TheContentWidgetCoversTheViewWhenThePictureIsSmaller) {
    QWidget content(box_.viewport());
    box_.setContentWidget(&content);
    EXPECT_EQ(content.size(), QSize(3248, 2633));
    box_.setPictureSize({1020, 400});
    box_.resize(1200, 900);  // past the picture on both axes: no bars
    EXPECT_EQ(content.size(), QSize(1196, 896));
    EXPECT_EQ(content.size(), box_.viewport()->size());
    box_.resize(1200, 300);  // shorter than the picture: a vertical bar narrows the width
    EXPECT_EQ(content.size(), QSize(1182, 400));
    EXPECT_EQ(content.width(), box_.viewport()->width());
}

TEST_F(ScrollBoxTest, OnlyClicksOnTheBareBackgroundCountAsItsOwn) {
    int clicks = 0;
    QObject::connect(&box_, &ScrollBox::clicked, &box_, [&clicks] { ++clicks; });
    QTest::mouseClick(box_.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(box_.viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace marventa
