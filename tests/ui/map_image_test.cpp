#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <vector>

#include "pictures/picture.h"
#include "recording_reporter.h"
#include "tests/support/picture_fixtures.h"
#include "tests/support/window/logical_pixel.h"
#include "ui/application.h"
#include "ui/map_image.h"

namespace marventa {
namespace {

const PictureHolder& tolvane() {
    return PictureSet::embedded().holder("tolvane");
}

// The control alone, shown and exposed, at most 300 x 200 of it on screen.
class MapImageTest : public testing::Test {
  protected:
    void SetUp() override {
        frame_.resize(300, 200);
        frame_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame_));
    }
    QWidget frame_;
    MapImage image_{&frame_};
};

TEST_F(MapImageTest, PaintsThePictureUnscaledAndTheButtonFacePastIt) {
    image_.resize(1600, 900);  // the scroll box makes it as large as the content
    image_.putPicture(tolvane());
    EXPECT_EQ(image_.pictureSize(), (Size{1488, 830}));
    EXPECT_FALSE(image_.isDecoded()) << "nothing is decoded before the first paint";

    const QImage shown = image_.grab(QRect(0, 0, 300, 200)).toImage();
    ASSERT_TRUE(image_.isDecoded());
    const Picture pixels = decode(tolvane());
    for (const QPoint at : {QPoint(0, 0), QPoint(17, 3), QPoint(299, 199), QPoint(150, 101)}) {
        const auto rgb = pixels.rgb().subspan(std::size_t(at.y()) * pixels.stride() + at.x() * 3);
        EXPECT_EQ(logicalPixel(shown, at), QColor(rgb[0], rgb[1], rgb[2]))
            << at.x() << "," << at.y();
    }
    const QImage past = image_.grab(QRect(1400, 800, 200, 100)).toImage();
    const QColor face = image_.palette().color(QPalette::Window);
    for (const QPoint at : {QPoint(88, 0), QPoint(199, 99), QPoint(0, 30)}) {
        EXPECT_EQ(logicalPixel(past, at), face) << at.x() << "," << at.y();
    }
}

TEST_F(MapImageTest, APictureThatDoesNotDecodeIsReportedOnceAndTheNextOneShows) {
    auto& app = static_cast<Application&>(*QCoreApplication::instance());
    RecordingReporter reporter;
    app.setErrorReporter(&reporter);

    // The header survives, so the size is known, but the decode fails.
    const fixtures::OnePicture broken("broken", kJpegTag,
                                      fixtures::withBrokenFirstScan(tolvane().bytes()));

    image_.resize(300, 200);
    image_.putPicture(broken.holder());
    EXPECT_EQ(image_.pictureSize(), (Size{1488, 830}));
    image_.repaint();
    image_.repaint();
    QCoreApplication::processEvents();  // the error is shown once the paint is over
    app.setErrorReporter(nullptr);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_TRUE(reporter.shown[0].second.startsWith(QStringLiteral("JPEG error #")));
    EXPECT_TRUE(reporter.shown[0].second.endsWith(QLatin1Char('.')));
    EXPECT_FALSE(image_.isDecoded());

    image_.putPicture(tolvane());
    image_.repaint();
    EXPECT_TRUE(image_.isDecoded());
}

}  // namespace
}  // namespace marventa
