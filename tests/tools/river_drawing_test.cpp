#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <iostream>
#include <vector>

#include "tools/paint/river_banks.h"

using namespace marventa;

namespace {

enum class Kind { Paper, Water, Ink, Sand };

Kind kindOf(QRgb c) {
    const int r = qRed(c);
    const int b = qBlue(c);
    if (qGray(c) < 150 && b > r + 30) {
        return Kind::Ink;
    }
    if (b > r + 8) {
        return Kind::Water;
    }
    return qGray(c) < 250 ? Kind::Sand : Kind::Paper;
}

}  // namespace

// A long broad river on bare paper: where it runs in one channel its water lies darker toward
// one bank than toward the other, not as a flat fill; over some reaches it braids, a bar of sand
// standing in it with water either side, and over others it keeps to one channel.
TEST(RiverDrawing, TheWaterDeepensTowardOneBankAndBraidsRoundBars) {
    constexpr int kWidth = 3200;
    constexpr int kHeight = 200;
    constexpr double kMiddle = 100.0;
    std::vector<QPointF> course;
    for (int x = 20; x <= kWidth - 20; x += 3) {
        course.emplace_back(x, kMiddle + 6.0 * std::sin(x / 400.0));
    }
    const std::vector<float> widths(course.size(), 12.0f);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        drawRiver(p, course, widths);
    }
    int braided = 0;
    int channelled = 0;
    int columns = 0;
    double unevenness = 0.0;
    for (int x = 200; x < kWidth - 200; x += 2) {
        // Down the column: the runs of water, and any sand between two of them.
        std::vector<int> water;
        int sand = 0;
        bool barBetween = false;
        for (int y = 0; y < kHeight; ++y) {
            const Kind k = kindOf(image.pixel(x, y));
            if (k == Kind::Water) {
                if (sand > 1 && !water.empty()) {
                    barBetween = true;
                }
                water.push_back(y);
                sand = 0;
            } else if (k == Kind::Sand && !water.empty()) {
                ++sand;
            }
        }
        ++columns;
        if (water.size() < 6) {
            continue;
        }
        if (barBetween) {
            ++braided;
            continue;
        }
        ++channelled;
        // The water's tone in its upper third against its lower third.
        const std::size_t third = water.size() / 3;
        double upper = 0.0;
        double lower = 0.0;
        for (std::size_t i = 0; i < third; ++i) {
            upper += qGray(image.pixel(x, water[i])) / static_cast<double>(third);
            lower +=
                qGray(image.pixel(x, water[water.size() - 1 - i])) / static_cast<double>(third);
        }
        unevenness += std::fabs(upper - lower);
    }
    std::cout << braided << " of " << columns << " columns braided, the water's thirds "
              << unevenness / channelled << " grey apart\n";
    EXPECT_GT(channelled, columns / 3) << "the river braids all the way";
    EXPECT_GT(braided, columns / 25) << "the broad river never braids";
    EXPECT_GT(unevenness / channelled, 4.0) << "the river's water is a flat fill";
}
