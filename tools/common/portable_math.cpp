#include "portable_math.h"

#include <cmath>
#include <numbers>

namespace marventa {

double portableLog1p(double x) {
    // 1 + x = m * 2^e with m within a factor sqrt(2) of 1; ln m = 2 artanh(s), s = (m-1)/(m+1),
    // |s| < 0.172, whose odd series is good to 1e-16 by its eleventh term.
    int e = 0;
    double m = std::frexp(1.0 + x, &e);  // exact: it only takes the number apart
    if (m < std::numbers::sqrt2 / 2) {
        m *= 2;
        --e;
    }
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    double sum = 0;
    for (int k = 21; k >= 1; k -= 2) {
        sum = sum * s2 + 1.0 / k;
    }
    return e * std::numbers::ln2 + 2 * s * sum;
}

double portableAtan2(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (ax == 0 && ay == 0) {
        return 0;
    }
    // atan of t in 0 .. 1, brought under tan(pi/12) by atan t = pi/6 + atan((t sqrt3 - 1)/(t +
    // sqrt3)).
    const bool steep = ay > ax;
    double t = steep ? ax / ay : ay / ax;
    double base = 0;
    if (t > 2 - std::numbers::sqrt3) {
        t = (t * std::numbers::sqrt3 - 1) / (t + std::numbers::sqrt3);
        base = std::numbers::pi / 6;
    }
    const double t2 = t * t;
    double sum = 0;
    for (int k = 23; k >= 1; k -= 2) {
        sum = sum * t2 + ((k / 2) % 2 == 0 ? 1.0 : -1.0) / k;
    }
    double a = base + t * sum;
    if (steep) {
        a = std::numbers::pi / 2 - a;
    }
    if (x < 0) {
        a = std::numbers::pi - a;
    }
    return y < 0 ? -a : a;
}

}  // namespace marventa
