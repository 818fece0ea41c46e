#include <gtest/gtest.h>

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/land/province_layout.h"

using namespace marventa;

namespace {

// How far out along the ray at `angle` (y down) the wood's outline lies, in pixels.
double outlineAt(const Wood& w, double angle) {
    const QPointF u(std::cos(angle), std::sin(angle));
    double lo = 0.0;
    double hi = 2.0 * std::max(w.shape.rx, w.shape.ry);
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        (w.reach(w.shape.centre + u * mid) < 1.0 ? lo : hi) = mid;
    }
    return lo;
}

}  // namespace

// A lobed wood's outline bulges and bays round its ellipse over the same ground, keeps to the
// ellipse on its kept arc, and without lobes is the ellipse itself.
TEST(WoodOutline, LobesReshapeTheEllipseKeepingItsArea) {
    const Wood plain{QStringLiteral("Plain"), {{500, 400}, 300, 200}};
    const Wood lobed{QStringLiteral("Lobed"),
                     {{500, 400}, 300, 200},
                     {{3, 0.16, 2.1}, {5, 0.08, 4.0}},
                     0.6,
                     2.3};
    for (const QPointF p : {QPointF(500, 400), QPointF(700, 450), QPointF(260, 300)}) {
        EXPECT_DOUBLE_EQ(plain.reach(p), plain.shape.reach(p));
    }
    double inPlain = 0;
    double inLobed = 0;
    for (int y = 100; y < 700; y += 2) {
        for (int x = 100; x < 900; x += 2) {
            inPlain += plain.reach(QPointF(x, y)) < 1.0 ? 1 : 0;
            inLobed += lobed.reach(QPointF(x, y)) < 1.0 ? 1 : 0;
        }
    }
    EXPECT_NEAR(inLobed / inPlain, 1.0, 0.05) << "the lobes grew or shrank the wood";
    // Off the kept arc the outline wanders well in and out of the ellipse's; on it, none.
    double lo = 9.0;
    double hi = 0.0;
    for (double a = -std::numbers::pi; a < 0.0; a += 0.05) {
        const double r = outlineAt(lobed, a) / outlineAt(plain, a);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_GT(hi - lo, 0.25) << "the wood is still a clean oval";
    for (double a = 0.6; a <= 2.3; a += 0.1) {
        EXPECT_NEAR(outlineAt(lobed, a), outlineAt(plain, a), 0.5) << "at " << a;
    }
}
