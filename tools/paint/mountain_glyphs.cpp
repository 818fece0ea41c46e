#include "tools/paint/mountain_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/crest_rank.h"
#include "tools/paint/ground_rise.h"
#include "tools/paint/ink.h"
#include "tools/paint/snow_cover.h"
#include "tools/paint/tor_glyphs.h"

namespace marventa {

namespace {

// Snow is the paper left bare, a shade lighter than the washed ground; on the shaded flank a
// cool thin wash under a few light strokes of the hatching.
const QColor kSnowLit(246, 242, 230);
const QColor kSnowShade(150, 160, 184, 60);

// The outline from the left foot over the summit to the right foot, and the spine that parts the
// lit flank from the shaded one, from the summit down to the base.
struct Silhouette {
    QPolygonF outline;
    QPolygonF spine;
    QPointF summit;
};

// No stretch of an outline, a side of it over the other, falls sheerer than this: a flank's
// jagged steps, a shoulder raised over the step below it or a tooth dipping under the summit can
// set two points almost one above the other, and the flank reads as a wall cut straight down.
constexpr double kSheerest = 3.6;

// Each point of `outline` (left to right, its feet at its ends) moved across, no farther out than
// [left, right], until no stretch falls sheerer than kSheerest; the heights are kept.
void easeWalls(QPolygonF& outline, double left, double right) {
    for (int pass = 0; pass < 12; ++pass) {
        bool eased = true;
        for (int i = 0; i + 1 < outline.size(); ++i) {
            QPointF& a = outline[i];
            QPointF& b = outline[i + 1];
            const double need = std::fabs(b.y() - a.y()) / kSheerest - (b.x() - a.x());
            if (need <= 1e-3) {
                continue;
            }
            eased = false;
            // The feet stay on the base line's ends.
            const bool aFixed = i == 0;
            const bool bFixed = i + 2 == outline.size();
            const double share = aFixed || bFixed ? 1.0 : 0.5;
            if (!aFixed) {
                a.rx() = std::max(left, a.x() - need * share);
            }
            if (!bFixed) {
                b.rx() = std::min(right, b.x() + need * share);
            }
        }
        if (eased) {
            break;
        }
    }
}

Silhouette silhouette(const Peak& k) {
    Rng rng(k.seed);
    const double w = k.width / 2;
    const double h = k.height;
    Silhouette s;
    const QPointF f = k.foot;
    if (k.tor) {
        const TorShape tor = torShape(k);
        s.outline = tor.outline;
        s.summit = tor.summit;
        s.spine << s.summit << QPointF(s.summit.x(), f.y());
        return s;
    }
    if (k.hill) {
        // A rounded hump, each one its own: fuller or more domed, leaning a little, some a pair
        // run together with the second lower.
        const double lean = rng.range(-0.2, 0.2) * w;
        const bool pair = rng.chance(k.width > 24 ? 0.35 : 0.2);
        const double full = rng.range(0.55, 1.1);
        const auto arc = [full](double u) {
            return u <= 0.0 || u >= 1.0 ? 0.0 : std::pow(std::sin(u * 3.14159265), full);
        };
        const int points = pair ? 16 : 10;
        for (int i = 0; i <= points; ++i) {
            const double t = static_cast<double>(i) / points;
            const double x = -w + 2 * w * t;
            const double bump =
                pair ? std::max(arc(t / 0.64), 0.72 * arc((t - 0.36) / 0.64)) : arc(t);
            s.outline << f + QPointF(x + lean * bump, -h * bump * rng.range(0.96, 1.0));
        }
        // A hump leaning hard rises at its foot as a wall; eased like a peak's flank.
        easeWalls(s.outline, f.x() - w, f.x() + w);
        // The summit is the outline's highest point, so that the flank beyond it takes the
        // shade.
        s.summit = *std::min_element(s.outline.begin(), s.outline.end(),
                                     [](QPointF a, QPointF b) { return a.y() < b.y(); });
        s.spine << s.summit << QPointF(s.summit.x() + 0.25 * w, f.y());
        return s;
    }
    // A peak: each flank a few jagged steps, the summit a little off the middle, sometimes a
    // lower shoulder on one side.
    // The summit leans: most a little off the middle, one in four well over to a side.
    const double drawn = rng.chance(0.25 + 0.15 * std::clamp((50.0 - k.width) / 20.0, 0.0, 1.0))
                             ? rng.range(0.26, 0.4)
                             : rng.range(0.0, 0.24);
    // A tall peak leaning far over stands as a tower: its short flank runs out at least a third
    // of its height from under the summit.
    const double lean = std::clamp(std::min(drawn, 1.0 - 0.37 * h / w), 0.0, drawn);
    const double skew = (rng.chance(0.5) ? -1.0 : 1.0) * lean * w;
    s.summit = f + QPointF(skew, -h);
    // Each flank falls in its own curve, so that no two peaks are one triangle scaled: one
    // scooped (falling fast under the summit, easing out), the other straight or, now and then,
    // full-bellied.
    // A summit leaning far over falls in its scoop down the long flank: scooped, the short one
    // stands as a wall.
    const bool scoopedLeft = rng.chance(0.5) ? lean < 0.26 || skew > 0 : lean >= 0.26 && skew > 0;
    // A tall peak's scoop eases, or its upper flank falls as a wall.
    const double scoopFloor =
        0.45 + 0.35 * std::clamp((k.height / std::max(k.width, 1.0) - 0.55) / 0.6, 0.0, 1.0);
    const double scooped = std::max(scoopFloor, rng.range(0.45, 0.75));
    // The other flank's fall anywhere from a little scooped to full-bellied, not one of a few.
    const double other = rng.chance(0.3) ? rng.range(1.2, 1.75) : rng.range(0.8, 1.15);
    // The small peaks of a range's lower flanks read as one stamp unless their builds differ
    // more than the big summits' do.
    const double small = std::clamp((50.0 - k.width) / 20.0, 0.0, 1.0);
    // One in six worn round over its top: both flanks full-bellied under a domed crown.
    const bool rounded = rng.chance(0.17 + 0.13 * small);
    double fall[2] = {rounded       ? rng.range(1.25, 1.5)
                      : scoopedLeft ? scooped
                                    : other,
                      rounded       ? rng.range(1.2, 1.45)
                      : scoopedLeft ? other
                                    : scooped};
    // Some flanks break in a ledge: a short bench, then a steeper fall below it.
    const bool stepped = rng.chance(0.25);
    const double benchSide = rng.chance(0.5) ? -1.0 : 1.0;
    const bool shoulder = rng.chance(0.35);
    const double shoulderSide = rng.chance(0.5) ? -1.0 : 1.0;
    // Some peaks carry a lower second summit beyond a saddle on one flank, kept inside the
    // middle of the three boxes that placing them checks.
    const bool twin = rng.chance(k.width > 30 ? 0.3 : 0.12 + 0.12 * small);
    // A notch broken out of one flank, high or low, where a gully meets the outline.
    const double notchSide = rng.chance(0.5) ? -1.0 : 1.0;
    const bool notched = rng.chance(0.45);
    const double notchAt = rng.range(0.3, 0.65);
    const double notchDepth = rng.range(0.07, 0.14);
    // Peaks above the smallest read as one triangle rescaled unless their crowns differ too: some
    // run off the summit in a crest, level (flat-topped) or sloping (lopsided), before the flank
    // falls; some twins carry a third, lesser summit on their other flank. Drawn from a hand of
    // their own, so the other peaks keep their builds.
    Rng form(k.seed ^ 0xC4E5'7A11ull);
    const double mid = std::clamp((k.width - 22.0) / 10.0, 0.0, 1.0) *
                       std::clamp((130.0 - k.width) / 20.0, 0.0, 1.0);
    // Not on a summit leaning far over: its short flank falls as a wall, and the top with it
    // reads as a tower.
    const bool crested = !rounded && !twin && form.chance(0.45 * mid) && lean < 0.26;
    const double crestSide = form.chance(0.5) ? -1.0 : 1.0;
    const double crestRun = form.range(0.32, 0.5);
    const double crestDrop = form.chance(0.5) ? form.range(0.0, 0.04) : form.range(0.1, 0.2);
    // Off a level crest a scooped fall drops sheer under its end, and the top reads as a tower.
    if (crested) {
        double& below = fall[crestSide < 0 ? 0 : 1];
        below = std::max(below, 0.95);
    }
    const bool triple = !rounded && twin && form.chance(0.55 * mid);
    // A crown broken by a tooth or two of rock just under the summit on one side, so that the
    // tops of a crest do not all come to one clean point.
    const bool toothed = !rounded && !crested && form.chance(0.35);
    const double toothSide = form.chance(0.5) ? -1.0 : 1.0;
    const int teeth = 1 + static_cast<int>(form.below(2));
    // A lesser summit beyond a saddle, `scale` of a twin's height.
    const auto summitBeyond = [&](double side, double scale) {
        QPolygonF pts;
        const double saddle = rng.range(0.5, 0.6) * scale;
        const double second = std::min(0.72, saddle + rng.range(0.08, 0.16)) * scale;
        pts << f + QPointF(skew + (side * w - skew) * 0.28, -h * saddle)
            << f + QPointF(skew + (side * w - skew) * 0.46, -h * second)
            << f + QPointF(side * w * 0.6, -h * (second - 0.16 * scale))
            << f + QPointF(side * w * 0.74, -h * rng.range(0.3, 0.36) * scale)
            << f + QPointF(side * w * 0.88, -h * rng.range(0.1, 0.15) * scale);
        return pts;
    };
    const auto flank = [&](double side) {
        // Nearly straight, each step jagged (neighbours differ in their count of steps and in
        // how far each one breaks), the last one easing out to the foot.
        QPolygonF pts;
        const int steps = 5 + rng.below(3);
        const double rough = rounded ? rng.range(0.02, 0.05) : rng.range(0.04, 0.11);
        if (rounded) {
            // The crown: two points easing off the summit before the flank falls away.
            for (const double t : {0.05, 0.1}) {
                pts << f + QPointF(skew + (side * w - skew) * t, -h * (1.0 - 2.3 * t * t));
            }
        }
        if (twin && side == shoulderSide) {
            return summitBeyond(side, 1.0);
        }
        if (triple) {
            return summitBeyond(side, 0.86);
        }
        // Along a crest the flank begins at the crest's far end.
        const bool crest = crested && side == crestSide;
        const double from = crest ? crestRun : 0.0;
        const double fromDrop = crest ? crestDrop : 0.0;
        if (toothed && side == toothSide && !crest) {
            // Within the flank's first step, each tooth standing a little proud of its fall.
            const double span = 0.8 / steps;
            for (int i = 0; i < teeth; ++i) {
                const double t = span * (i + 1) / teeth;
                const double fallAt = std::pow(t, fall[side < 0 ? 0 : 1]);
                const double dip = std::min(0.35, fallAt + form.range(0.05, 0.1));
                const double tip = fallAt * form.range(0.3, 0.6);
                pts << f + QPointF(skew + (side * w - skew) * (t - 0.5 * span / teeth),
                                   -h * (1.0 - dip))
                    << f + QPointF(skew + (side * w - skew) * t, -h * (1.0 - tip));
            }
        }
        if (crest) {
            // Never above the summit: the glyph's box is what placing it checks.
            const double jag = form.range(0.0, 0.03);
            pts << f + QPointF(skew + (side * w - skew) * from * 0.5,
                               -h * (1.0 - fromDrop * 0.5 - jag))
                << f + QPointF(skew + (side * w - skew) * from, -h * (1.0 - fromDrop));
        }
        for (int i = 1; i < steps; ++i) {
            const double t = static_cast<double>(i) / steps;  // 0 at the summit, 1 at the foot
            const double curve = std::pow(t, fall[side < 0 ? 0 : 1]);
            const double drop = fromDrop + (1.0 - fromDrop) * (curve * (1.0 + 0.12 * (1.0 - t)) +
                                                               rng.range(-rough, rough) * t);
            double y = -h * (1.0 - drop);
            const double run = from + (1.0 - from) * t;
            const double x = skew + (side * w - skew) * run + rng.range(-0.6, 0.6) * rough * w;
            if (shoulder && side == shoulderSide && i == steps / 2) {
                y = std::min(y, -h * rng.range(0.5, 0.62));
            }
            pts << f + QPointF(x, std::min(y, 0.0));
            if (stepped && side == benchSide && i == (steps + 1) / 2) {
                // The bench runs out nearly level; the next step drops from its lip.
                pts << f + QPointF(x + (side * w - skew) * 0.13, std::min(0.0, y + 0.03 * h));
            }
            // The notch: the outline drops into it and climbs out to the next step.
            if (notched && side == notchSide && std::fabs(t - notchAt) < 0.5 / steps) {
                const auto across = [&](double at) { return skew + (side * w - skew) * at; };
                pts << f + QPointF(across(t + 0.3 / steps), std::min(0.0, y + notchDepth * h))
                    << f + QPointF(across(t + 0.55 / steps),
                                   std::min(0.0, y + 0.2 * notchDepth * h));
            }
        }
        return pts;
    };
    QPolygonF left = flank(-1);
    QPolygonF right = flank(1);
    s.outline << f + QPointF(-w, 0);
    for (auto it = left.rbegin(); it != left.rend(); ++it) {
        s.outline << *it;
    }
    s.outline << s.summit;
    for (const QPointF& q : right) {
        s.outline << q;
    }
    s.outline << f + QPointF(w, 0);
    const auto top = std::find(s.outline.begin(), s.outline.end(), s.summit) - s.outline.begin();
    easeWalls(s.outline, f.x() - w, f.x() + w);
    s.summit = s.outline[static_cast<int>(top)];
    s.spine << s.summit << f + QPointF(skew * 0.5 + 0.1 * w, -0.45 * h)
            << f + QPointF(skew * 0.3 + 0.22 * w, 0);
    return s;
}

QPainterPath closedPath(const QPolygonF& poly) {
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

// The outline from the summit down the right (shaded) flank to its foot.
QPolygonF flankFromSummit(const Silhouette& s) {
    QPolygonF flank;
    bool past = false;
    for (const QPointF& q : s.outline) {
        past = past || q == s.summit;
        if (past) {
            flank << q;
        }
    }
    return flank;
}

// The shaded side: from the spine round the right flank to the foot.
QPainterPath shadedFlank(const Silhouette& s) {
    QPolygonF poly = flankFromSummit(s);
    for (auto it = s.spine.rbegin(); it != s.spine.rend(); ++it) {
        poly << *it;
    }
    return closedPath(poly);
}

// The snow lying along the outline's top: deepest under the summit, thinning down each flank,
// its lower edge running down in a few tongues where gullies hold it and eased between them, so
// that the cap takes the peak's own shape rather than a cut line or a row of teeth.
QPainterPath capRegion(const Peak& k, const Silhouette& s) {
    Rng rng(k.seed ^ 0x5A0E);
    const double reach = k.height * rng.range(0.26, 0.42);  // how far down the flanks it lies
    const double depth = k.height * rng.range(0.15, 0.25);  // how deep under the summit
    // The outline resampled finely, its foot points left off.
    QPolygonF top;
    for (int i = 0; i + 1 < s.outline.size(); ++i) {
        const QPointF a = s.outline[i];
        const QPointF b = s.outline[i + 1];
        const int n = std::max(1, static_cast<int>(length(b - a) / 2.0));
        for (int j = 0; j < n; ++j) {
            top << a + (b - a) * (static_cast<double>(j) / n);
        }
    }
    top << s.outline.back();
    // The gullies: a few tongues along the snowed stretch, each its own length and breadth.
    struct Tongue {
        double at;  // the outline's sample it runs down from
        double half;
        double drop;
    };
    std::vector<Tongue> tongues;
    // Each runs down from a stretch of the outline the snow lies on.
    std::vector<int> snowed;
    for (int i = 0; i < top.size(); ++i) {
        if (top[i].y() - s.summit.y() <= 0.5 * reach) {
            snowed.push_back(i);
        }
    }
    const int count = snowed.empty() ? 0 : 2 + static_cast<int>(rng.below(3));
    for (int i = 0; i < count; ++i) {
        const int at = snowed[rng.below(static_cast<int>(snowed.size()))];
        tongues.push_back(
            {static_cast<double>(at), rng.range(1.2, 3.2), depth * rng.range(0.7, 1.5)});
    }
    // A second summit's snow is a patch of its own, not a band bridging the saddle.
    QPainterPath cap;
    QPolygonF upper;
    QPolygonF lower;
    const auto close = [&] {
        if (upper.size() > 2) {
            QPolygonF patch = upper;
            for (auto it = lower.rbegin(); it != lower.rend(); ++it) {
                patch << *it;
            }
            cap.addPolygon(patch);
            cap.closeSubpath();
        }
        upper.clear();
        lower.clear();
    };
    double wander = rng.range(-1.0, 1.0);
    int rib = 0;
    for (int i = 0; i < top.size(); ++i) {
        const QPointF q = top[i];
        const double below = q.y() - s.summit.y();
        if (below > reach) {
            close();
            continue;
        }
        // Low on a flank a rib of rock now and then breaks the snow through to the outline.
        if (rib == 0 && below > 0.5 * reach && rng.chance(0.03)) {
            rib = 1 + static_cast<int>(rng.below(2));
        }
        if (rib > 0) {
            --rib;
            close();
            continue;
        }
        // The edge eases in and out over several pixels, never from sample to sample.
        wander = 0.85 * wander + 0.15 * rng.range(-1.0, 1.0);
        const double left = 1.0 - below / reach;
        double d = depth * std::pow(left, 0.8) * (0.8 + 0.3 * wander + rng.range(-0.05, 0.05));
        for (const Tongue& t : tongues) {
            const double off = (i - t.at) / t.half;
            d += t.drop * std::exp(-0.5 * off * off) * std::pow(left, 0.6);
        }
        upper << q + QPointF(0, -1);
        lower << q + QPointF(0, std::max(0.0, d));
    }
    close();
    cap.setFillRule(Qt::WindingFill);
    return cap;
}

int clampInt(double v, int lo, int hi) {
    return std::clamp(static_cast<int>(v), lo, hi);
}

// Sums of a mask over rectangles, from its summed-area table.
class MaskSums {
  public:
    explicit MaskSums(const QImage& mask)
        : w_(mask.width() + 1), h_(mask.height() + 1), sums_(static_cast<std::size_t>(w_) * h_) {
        for (int y = 1; y < h_; ++y) {
            const uchar* row = mask.constScanLine(y - 1);
            std::int64_t run = 0;
            for (int x = 1; x < w_; ++x) {
                run += row[x - 1] != 0 ? 1 : 0;
                at(x, y) = at(x, y - 1) + run;
            }
        }
    }

    // Whether any marked pixel lies in [x0, x1) × [y0, y1), clamped to the mask.
    bool any(double x0, double y0, double x1, double y1) const {
        const int a = clampInt(std::floor(x0), 0, w_ - 1);
        const int b = clampInt(std::ceil(x1), 0, w_ - 1);
        const int c = clampInt(std::floor(y0), 0, h_ - 1);
        const int d = clampInt(std::ceil(y1), 0, h_ - 1);
        return at(b, d) - at(a, d) - at(b, c) + at(a, c) > 0;
    }

  private:
    std::int64_t& at(int x, int y) { return sums_[static_cast<std::size_t>(y) * w_ + x]; }
    std::int64_t at(int x, int y) const { return sums_[static_cast<std::size_t>(y) * w_ + x]; }
    int w_, h_;
    std::vector<std::int64_t> sums_;
};

// Whether the silhouette and its ink keep clear, tested band by band down its height: between
// the symbols and tracks of a crowded crest, a big peak's flanks may pass by a symbol that its
// bounding box would meet.
bool clearOf(const MaskSums& sums, const Peak& k) {
    constexpr double kInk = 1.5;
    const QPolygonF outline = silhouette(k).outline;
    const QRectF box = outline.boundingRect().adjusted(-kInk, -kInk, kInk, kInk);
    if (!sums.any(box.left(), box.top(), box.right(), box.bottom())) {
        return true;
    }
    constexpr double kBand = 2;
    for (double y0 = box.top(); y0 < box.bottom(); y0 += kBand) {
        const double y1 = std::min(y0 + kBand, box.bottom());
        // The outline's reach across this band: each edge clipped to it.
        double left = box.right();
        double right = box.left();
        for (int i = 0; i < outline.size(); ++i) {
            const QPointF a = outline[i];
            const QPointF b = outline[(i + 1) % outline.size()];
            const double lo = std::max(std::min(a.y(), b.y()), y0 - kInk);
            const double hi = std::min(std::max(a.y(), b.y()), y1 + kInk);
            if (lo > hi) {
                continue;
            }
            for (const double y : {lo, hi}) {
                const double t = b.y() != a.y() ? (y - a.y()) / (b.y() - a.y()) : 0.0;
                const double x = a.x() + (b.x() - a.x()) * std::clamp(t, 0.0, 1.0);
                left = std::min({left, x, b.y() == a.y() ? b.x() : x});
                right = std::max({right, x, b.y() == a.y() ? b.x() : x});
            }
        }
        if (left <= right && sums.any(left - kInk, y0, right + kInk, y1)) {
            return false;
        }
    }
    return true;
}

struct Candidate {
    Peak peak;
    double rank;  // 0 at the heights' edge .. 1 on the crest
    double score;
    QPointF along = {};  // a crest summit's way along the crest
};

// How far apart two glyphs must stand, as a share of their mean size: along the crest the
// summits overlap into one ridge, down the flanks they part, and the foothills' humps keep
// paper between them.
// The most a summit may outgrow the mean of the peaks about it.
constexpr double kTallest = 1.55;
// The most a peak may stand against its base.
constexpr double kSteepest = 1.3;
// How far apart along a broad crest its massifs' big summits stand.
constexpr double kMassifPeriod = 230;

double spacing(double rank) {
    return 1.45 - 1.1 * rank;
}

}  // namespace

QPolygonF peakOutline(const Peak& peak) {
    return silhouette(peak).outline;
}

std::vector<Peak> placePeaks(const Terrain& terrain, const std::vector<Ridge>& ridges,
                             const QImage& keepOut, const std::vector<QRectF>& symbols,
                             const std::vector<Peak>& held) {
    const Grid<float>& h = terrain.height;
    const CrestRank ranks(h, ridges);
    const Grid<unsigned char> snow = snowCover(h);
    QImage withRooms = keepOut.convertToFormat(QImage::Format_Grayscale8);
    {
        QPainter p(&withRooms);
        // A symbol among peaks stands in a small clearing of its own, not hemmed by rock.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (const QRectF& r : symbols) {
            p.drawRect(r.adjusted(-5, -4, 5, 3));
        }
    }
    const MaskSums blocked(withRooms);
    // The fells stand in groups along their high ground with paper between them.
    const Noise groups(0x9EA4'0003);
    // How broken the ground is about each spot: the height's departure from its own smoothed
    // form, spread over a peak's breadth. Rough ground takes taller, larger peaks.
    const Grid<float> rough = [&] {
        const Grid<float> smooth = boxBlur(h, 6);
        Grid<float> dev(h.width(), h.height(), 0.0f);
        for (int y = 0; y < h.height(); ++y) {
            for (int x = 0; x < h.width(); ++x) {
                dev(x, y) = std::fabs(h(x, y) - smooth(x, y));
            }
        }
        return boxBlur(dev, 10);
    }();
    const float roughScale = [&] {
        std::vector<float> high;
        for (int y = 0; y < h.height(); y += 8) {
            for (int x = 0; x < h.width(); x += 8) {
                if (h(x, y) >= kHillHeight) {
                    high.push_back(rough(x, y));
                }
            }
        }
        if (high.empty()) {
            return 1.0f;
        }
        std::nth_element(high.begin(), high.begin() + high.size() * 9 / 10, high.end());
        return std::max(high[high.size() * 9 / 10], 1e-5f);
    }();
    // How broad the high ground stands about each spot, 0 on a narrow ridge to 1 amid a wide
    // massif: there a few big summits with bare ground between read as loose tents, so the
    // peaks stand smaller and packed several deep instead.
    const Grid<float> breadth = [&] {
        Grid<float> high(h.width(), h.height(), 0.0f);
        for (int y = 0; y < h.height(); ++y) {
            for (int x = 0; x < h.width(); ++x) {
                high(x, y) = h(x, y) >= kHillHeight ? 1.0f : 0.0f;
            }
        }
        Grid<float> share = boxBlur(boxBlur(high, 50), 50);
        for (int y = 0; y < h.height(); ++y) {
            for (int x = 0; x < h.width(); ++x) {
                share(x, y) = smoothstep(0.4f, 0.8f, share(x, y));
            }
        }
        return share;
    }();
    // The ground's folds at a hill's breadth, 1 on the boldest tenth of the fells': the
    // backs of ridges and the brows where an upland breaks stand above the ground round them,
    // a level top or an even slope no higher than it.
    const Grid<float> fold = [&] {
        Grid<float> out = groundFolds(h, 4, 30);
        std::vector<float> high;
        for (int y = 0; y < h.height(); y += 8) {
            for (int x = 0; x < h.width(); x += 8) {
                if (h(x, y) >= kHeightsHeight && ranks.at(x, y).jagged < 0.45f) {
                    high.push_back(out(x, y));
                }
            }
        }
        if (high.empty()) {
            return out;
        }
        const auto tenth = high.begin() + static_cast<std::ptrdiff_t>(high.size() * 9 / 10);
        std::nth_element(high.begin(), tenth, high.end());
        const float scale = std::max(*tenth, 1e-5f);
        for (float& v : out.cells()) {
            v /= scale;
        }
        return out;
    }();
    // The glyph for ground at (x, y) of `rank` within its range.
    const auto glyph = [&](int x, int y, const CrestPlace& c, double t, double roll,
                           std::uint64_t seed) {
        const float hv = h(x, y);
        // The crest's summits sized by the range's height, the glyphs below them by their
        // standing on its flank: they shrink fast, so that the crest stands out.
        const double top = c.rangeHeight > 0 ? c.rangeHeight : 0.45;
        // The volcanic range's crest runs over its cones, kept clear for the rims: there the
        // glyphs grow with the ground instead, so the biggest stand on the cones' shoulders.
        if (c.volcanic) {
            t = std::max(t, std::clamp((hv - kHillHeight) / (top - kHillHeight), 0.0, 1.0));
        }
        const double crestWidth = 24 + 80 * std::clamp((top - 0.4) / 0.6, 0.0, 1.0);
        const double grow = 0.16 + 0.84 * std::pow(t, 2.6);
        Peak k;
        k.seed = seed;
        k.ash = c.volcanic && terrain.ash(x, y) > 127;
        if (c.jagged < 0.45) {
            // Rounded fells: broad humps all the way up, no rock and no snow.
            k.hill = true;
            k.width = std::max(12.0, 1.4 * crestWidth * grow) * (0.75 + 0.5 * roll);
            // Some low and broad, some domed.
            const double build = static_cast<double>((seed >> 20) % 1000) / 1000.0;
            k.height = k.width * (0.36 + 0.14 * t) * (0.85 + 0.3 * build);
        } else if (hv < kHillHeight || t < 0.3) {
            // The foothills' humps each a size and build of their own, not one caret repeated.
            k.hill = true;
            // Larger toward the rock, so that the humps step down from the peaks to the plain.
            const double lift = smoothstep(kHeightsHeight, kHillHeight + 0.04f, hv);
            k.width = 10 + 12 * t + 9 * lift + 10 * roll * roll;
            k.height = k.width * (0.3 + 0.16 * static_cast<double>((seed >> 20) % 100) / 100.0);
        } else {
            // Larger where the ground stands higher within its range and where it is broken;
            // taller against their width on rough ground, broader where it runs smooth, and each
            // a build of its own.
            const double raised = std::clamp((hv - kHillHeight) / (top - kHillHeight), 0.0, 1.0);
            const double broken = std::clamp(rough(x, y) / roughScale, 0.0f, 1.2f);
            const double build = static_cast<double>((seed >> 24) % 1000) / 1000.0;
            // Crest summits amid broad heights stand a little smaller than their massifs'.
            const double packed = c.volcanic || t < 0.85 ? 1.0 : 1.0 - 0.15 * breadth(x, y);
            k.width = std::max(16.0, crestWidth * grow *
                                         (c.volcanic ? 0.7 + 0.6 * roll : 0.62 + 0.8 * roll) *
                                         (0.8 + 0.3 * raised) * (0.85 + 0.25 * broken) * packed);
            k.height = k.width * (0.4 + 0.22 * t) * (0.66 + 0.6 * build) * (0.9 + 0.22 * broken);
            // The volcanic range's rock stands in tors: low piles of blocks, broader than tall
            // and well under the crags' peaks.
            k.tor = c.volcanic;
            if (k.tor) {
                k.height = k.width * (0.36 + 0.24 * build);
            }
            // Snow on the highest alone: not every peak of a high crest, only those near its top.
            k.snow = !k.ash && !k.tor &&
                     (snow(x, y) > 110 || hv > 0.86f ||
                      (c.rangeHeight >= 0.8f && t > 0.75 && hv > c.rangeHeight - 0.16f) ||
                      (c.rangeHeight >= 0.95f && t > 0.35 && hv > c.rangeHeight - 0.24f));
            // One in seven a narrower, steeper spire, as crags break a line of peaks.
            if (!k.tor && (seed >> 11) % 7 == 0) {
                k.width *= 0.8;
                k.height *= 1.22;
            }
        }
        k.foot = QPointF(x, y + 0.3 * k.height);
        return k;
    };
    // Up to the nearby crest, so that peaks stand on the ridges rather than in the gullies
    // between them.
    const auto climb = [&](int& x, int& y, int stride, int steps) {
        for (int i = 0; i < steps; ++i) {
            int bx = x;
            int by = y;
            for (int dy = -stride; dy <= stride; dy += stride) {
                for (int dx = -stride; dx <= stride; dx += stride) {
                    if (h.contains(x + dx, y + dy) && h(x + dx, y + dy) > h(bx, by)) {
                        bx = x + dx;
                        by = y + dy;
                    }
                }
            }
            x = bx;
            y = by;
        }
    };
    Rng rng(0x9EA4'0002);
    std::vector<Candidate> candidates;
    // The summits along each crest, each about half its width from the last so that they
    // overlap into one line, lower toward the range's ends.
    int crestNo = 0;
    constexpr double kCrestStep = 10;
    for (const Crest& crest : ranks.crests()) {
        ++crestNo;
        double along = 0;
        double untilNext = 0;
        std::size_t seg = 0;
        double into = 0;
        while (seg + 1 < crest.points.size()) {
            const QPointF a = crest.points[seg];
            const QPointF b = crest.points[seg + 1];
            const double len = length(b - a);
            if (into >= len) {
                into -= len;
                ++seg;
                continue;
            }
            const QPointF on = a + (b - a) * (into / std::max(len, 1e-6));
            const double roll = rng.uniform();
            const std::uint64_t seed = rng.next();
            int x = clampInt(on.x(), 0, h.width() - 1);
            int y = clampInt(on.y(), 0, h.height() - 1);
            climb(x, y, 3, 4);
            const CrestPlace c = ranks.at(x, y);
            const double t = CrestRank::endTaper(crest, along) * 0.5 + 0.5;
            const bool gap = c.jagged < 0.45 && groups.fbm(x / 150.0f, y / 150.0f, 2) < -0.05f;
            if (h(x, y) >= kHeightsHeight && terrain.woods(x, y) <= 0.5f && !gap) {
                // A high crest of crags takes its sizes from its massifs more than from chance.
                const bool massifs = !c.volcanic && c.jagged >= 0.45 && c.rangeHeight >= 0.7f;
                Peak k = glyph(x, y, c, t, massifs ? 0.5 + 0.35 * (roll - 0.5) : roll, seed);
                double saddle = 1.0;
                double bigHere = 0.0;
                // A crest of crags rises and falls in massifs: a few big summits with lesser
                // ones between them, rather than one size all along.
                // A symbol on the crest keeps a full summit by it, so that the ridge runs on
                // high past it rather than sinking there.
                const bool holdsSymbol =
                    std::any_of(symbols.begin(), symbols.end(), [&](const QRectF& r) {
                        return length(r.center() - QPointF(x, y)) < 0.6 * k.width;
                    });
                if (!c.volcanic && c.jagged >= 0.45 && !holdsSymbol) {
                    const float m =
                        groups.fbm(static_cast<float>(along) / 120.0f + 41.0f * crestNo, 3.7f, 2);
                    // A few big summits where the massif peaks, lower shoulders falling away
                    // from them; the shoulders keep their rock bare.
                    double big = smoothstep(0.08f, 0.32f, m);
                    double massif = 0.58 + 0.3 * smoothstep(-0.3f, 0.08f, m) + 0.4 * big;
                    // Along a high crest, and most amid broad heights, a size wandering along it
                    // reads as a tangle of alike spikes: there the crest rises to a big summit
                    // every so far, the peaks stepping down from it on either hand to low saddles
                    // between.
                    const double core = std::max(static_cast<double>(breadth(x, y)),
                                                 0.75 * smoothstep(0.7f, 0.8f, c.rangeHeight));
                    if (core > 0.0) {
                        const double phase =
                            along / kMassifPeriod +
                            0.3 * groups.fbm(static_cast<float>(along) / 260.0f + 7.0f * crestNo,
                                             1.3f, 2);
                        const double off = std::fabs(phase - std::round(phase)) * kMassifPeriod;
                        const double fall = std::exp(-(off * off) / (58.0 * 58.0));
                        big = (1.0 - core) * big + core * smoothstep(0.55f, 0.9f, fall);
                        massif = (1.0 - core) * massif + core * (0.5 + 1.0 * fall);
                    }
                    k.width *= massif;
                    k.height *= massif * (0.92 + 0.16 * big);
                    k.foot = QPointF(x, y + 0.3 * k.height);
                    const bool highest = c.rangeHeight >= 0.95f;
                    k.snow = k.snow && (massif > (highest ? 0.68 : 0.76) ||
                                        snow(x, y) > (highest ? 130 : 150));
                    saddle = 1.0 + 0.25 * (1.0 - smoothstep(-0.2f, 0.3f, m));
                    bigHere = big * core;
                }
                // Spaced as crest summits even where they taper toward the range's ends, so
                // that the chain runs on to them. Between the summits spaced out along the crest,
                // stand-ins: a summit that cannot stand leaves its place to the nearest of them
                // rather than a gap in the chain.
                const bool summit = untilNext <= 0;
                candidates.push_back(
                    {k, std::max(t, 0.85), (summit ? 10 : 9) + t, (b - a) / std::max(len, 1e-6)});
                if (summit) {
                    // The lesser summits between the massifs stand a little farther apart, their
                    // flanks still meeting.
                    untilNext = std::max(12.0, k.width * rng.range(0.34, 0.46) * saddle);
                    // A lower shoulder stands before the summit, a little to one side, its top
                    // over the summit's foot: the chain stands on one base, back to front,
                    // however the crest runs across the sheet.
                    const double side = rng.chance(0.5) ? -1.0 : 1.0;
                    const double size = rng.range(0.6, 0.78);
                    const std::uint64_t shoulderSeed = rng.next();
                    if (!c.volcanic && c.jagged >= 0.45 && !k.hill) {
                        // A shoulder stands where its top is on the rock, outside the woods.
                        const auto shoulderAt = [&](Peak s, QPointF foot) {
                            s.foot = foot;
                            const QPointF top = s.foot - QPointF(0, 0.3 * s.height);
                            const int sx = clampInt(top.x(), 0, h.width() - 1);
                            const int sy = clampInt(top.y(), 0, h.height() - 1);
                            s.snow = s.snow && snow(sx, sy) > 110;
                            if (h(sx, sy) >= kHillHeight && terrain.woods(sx, sy) <= 0.5f) {
                                candidates.push_back({s, 0.8, 8 + t});
                            }
                        };
                        Peak s = k;
                        s.width *= size;
                        s.height *= size * rng.range(0.85, 1.05);
                        s.seed = shoulderSeed;
                        shoulderAt(s, k.foot + QPointF(side * 0.3 * k.width, 0.34 * k.height));
                        // A broad crest's big summit steps down on both hands: a second
                        // shoulder on the other side, lower again.
                        if (bigHere > 0.5) {
                            Peak o = k;
                            o.width = k.width * size * 0.82;
                            o.height = k.height * size * 0.78;
                            o.seed = shoulderSeed ^ 0x5D0E;
                            shoulderAt(o, k.foot + QPointF(-side * 0.36 * k.width, 0.3 * k.height));
                        }
                    }
                }
            }
            along += kCrestStep;
            into += kCrestStep;
            untilNext -= kCrestStep;
        }
    }
    constexpr int kStep = 8;
    for (int gy = 0; gy * kStep < h.height(); ++gy) {
        for (int gx = 0; gx * kStep < h.width(); ++gx) {
            QPointF at(gx * kStep + rng.range(0.0, kStep), gy * kStep + rng.range(0.0, kStep));
            const double roll = rng.uniform();
            const double keep = rng.uniform();
            const std::uint64_t seed = rng.next();
            int x = clampInt(at.x(), 0, h.width() - 1);
            int y = clampInt(at.y(), 0, h.height() - 1);
            if (h(x, y) < kHeightsHeight || terrain.woods(x, y) > 0.5f) {
                continue;
            }
            climb(x, y, 3, 3);
            const CrestPlace c = ranks.at(x, y);
            const double t = c.rank;
            if (c.jagged < 0.45 && groups.fbm(x / 150.0f, y / 150.0f, 2) < -0.05f) {
                continue;
            }
            // The fells' humps gather along the ground's folds and leave its level tops and even
            // slopes bare; outside every range, where nothing else draws the ground, they keep
            // to the folds alone.
            const double bold = std::clamp(static_cast<double>(fold(x, y)), -1.0, 1.5);
            if (c.jagged < 0.45) {
                const double least = c.rangeHeight > 0 ? 0.45 : 0.0;
                const double draw = static_cast<double>((seed >> 40) % 1000) / 1000.0;
                if (draw > least + (1.0 - least) * smoothstep(0.05f, 0.7f, bold)) {
                    continue;
                }
            }
            // Fewer glyphs the farther from the crest, down to none where the heights give out.
            // Few of them, so that the mass reads as the crest and its shoulders rather than a
            // speckle.
            // Among crags, fewer still in broad patches, so paper shows between the massifs.
            // The cones too gather in clusters rather than an even spread round the craters.
            const double patches =
                smoothstep(-0.25f, 0.25f, groups.fbm(x / 110.0f + 50.0f, y / 110.0f, 2));
            const double thin = c.jagged < 0.45 ? 1.0
                                : c.volcanic    ? 0.35 + 0.65 * patches
                                                : 0.25 + 0.75 * patches;
            // A crest of crags is a mass some peaks deep: where its flanks stand still high, lower
            // peaks and spurs crowd them as on the crest, stepping down into the foothills.
            const double top = c.rangeHeight > 0 ? c.rangeHeight : 0.45;
            const double raised =
                std::clamp((h(x, y) - kHillHeight) / (top - kHillHeight), 0.0, 1.0);
            const bool massif = c.jagged >= 0.45 && !c.volcanic && t > 0.12;
            // Amid broad heights the bare patches close up, so the mass holds together.
            const double wide = massif ? breadth(x, y) : 0.0;
            // Amid broad heights fewer flank peaks, so that the massifs read through them.
            const double mass = massif ? (0.65 - 0.2 * wide) * std::pow(raised, 1.3) : 0.0;
            // The crags' lower heights, bare of peaks, read as a tan halo round scattered
            // summits: humps fill them, stepping down to the plain.
            const double skirt = c.jagged >= 0.45 && !c.volcanic
                                     ? 0.07 + 0.1 * smoothstep(kHeightsHeight, kHillHeight, h(x, y))
                                     : 0.0;
            const double rock = 0.03 + 0.9 * std::max(std::pow(t, 3.0), mass);
            const double chance = rock + skirt;
            const double open = thin + (1.0 - thin) * 0.4 * wide;
            if (t < 0.06 || keep > open * rock + skirt) {
                continue;
            }
            const bool hump = keep > open * rock;
            const double size = hump     ? std::min(t, 0.25)
                                : massif ? std::max(t, std::min(0.72, 0.45 + 0.35 * raised))
                                         : t;
            Peak k = glyph(x, y, c, size, roll, seed);
            // A fell's hump as bold as its fold: broad backs on the big ridges, small ones
            // where the ground barely folds.
            if (c.jagged < 0.45) {
                const double scale = 0.6 + 0.7 * std::max(bold, 0.0);
                k.width *= scale;
                k.height *= scale;
                k.foot = QPointF(x, y + 0.3 * k.height);
            }
            // The smallest peaks scattered down the flanks read as speckle: most give way (the
            // small volcanic range needs its small cones).
            if (!k.hill && k.width < (c.volcanic ? 24 : 28) &&
                keep > (c.volcanic ? 0.5 : 0.3) * thin * rock) {
                continue;
            }
            // The foothills' humps stand in a few groups following the ground, bare ground
            // between them, rather than spread evenly over it.
            const float grouping = groups.fbm(x / 70.0f + 13.0f, y / 70.0f, 2);
            if (k.hill && c.jagged >= 0.45 &&
                (hump ? grouping < 0.05f
                      : keep > thin * chance * smoothstep(-0.2f, 0.2f, grouping))) {
                continue;
            }
            // The humps take what room the rock leaves them.
            candidates.push_back({k, t, t + 0.2 * h(x, y) + 0.03 * roll - (hump ? 2.0 : 0.0)});
        }
    }
    for (Peak k : held) {
        k.held = true;
        candidates.push_back({k, 0.9, 20.0});
    }
    // The crest's summits first, so that the line of them is whole and the flanks fill round it.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });

    // Where a crest summit may stand instead, in its widths along the crest and across it: a
    // track or a symbol on the crest line leaves it beside them, still on the top.
    static const QPointF kSlides[] = {{0, 0},      {-0.3, 0}, {0.3, 0},    {-0.55, 0}, {0.55, 0},
                                      {0, 0.3},    {0, -0.3}, {-0.3, 0.3}, {0.3, 0.3}, {-0.3, -0.3},
                                      {0.3, -0.3}, {0, 0.55}, {0, -0.55}};
    // Accepted peaks by a coarse cell, to find their neighbours.
    constexpr double kCell = 96;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> cells;
    const auto key = [](int cx, int cy) { return (static_cast<std::int64_t>(cy) << 32) + cx; };
    std::vector<Peak> peaks;
    std::vector<double> placedRank;
    const auto wideAt = [&](QPointF q) {
        return static_cast<double>(
            breadth.clamped(static_cast<int>(q.x()), static_cast<int>(q.y())));
    };
    for (const Candidate& c : candidates) {
        // Where the full size would touch something, a smaller peak may still stand.
        const QPointF ridge = c.peak.foot - QPointF(0, 0.3 * c.peak.height);
        // However its size was grown along the crest, a peak and not a tower.
        Peak base = c.peak;
        base.height = std::min(base.height, kSteepest * base.width);
        Peak k = base;
        const float crestHeight =
            h.clamped(static_cast<int>(ridge.x()), static_cast<int>(ridge.y()));
        bool fits = false;
        // No peak stands under a symbol: a crest summit that would meet one moves along the
        // crest to stand beside it, or a size down, so that the symbol sits in a saddle of the
        // ridge rather than pasted over its rock.
        for (const double shrink : {1.0, 0.75, 0.55, 0.4}) {
            k.width = base.width * shrink;
            k.height = base.height * shrink;
            const QPointF at = ridge + QPointF(0, 0.3 * k.height);
            if (shrink < 1.0 && k.width < (k.hill ? 12 : 20)) {
                break;
            }
            for (const QPointF slide : kSlides) {
                if (slide != QPointF() && length(c.along) == 0.0) {
                    break;
                }
                const QPointF across(-c.along.y(), c.along.x());
                k.foot = at + (c.along * slide.x() + across * slide.y()) * k.width;
                const QPointF top = k.foot - QPointF(0, 0.3 * k.height);
                // Moved across, a summit keeps to the crest's top rather than its flank.
                const float least = slide.y() != 0.0 ? std::max(kHeightsHeight, crestHeight - 0.06f)
                                                     : kHeightsHeight;
                if (slide != QPointF() &&
                    (!h.contains(static_cast<int>(top.x()), static_cast<int>(top.y())) ||
                     h(static_cast<int>(top.x()), static_cast<int>(top.y())) < least)) {
                    continue;
                }
                if (clearOf(blocked, k)) {
                    fits = true;
                    break;
                }
            }
            if (fits) {
                break;
            }
        }
        if (!fits) {
            continue;
        }
        // The cones keep their own clusters.
        const double spread =
            ranks.at(static_cast<int>(ridge.x()), static_cast<int>(ridge.y())).volcanic
                ? 0.0
                : wideAt(k.foot);
        const int cx = static_cast<int>(k.foot.x() / kCell);
        const int cy = static_cast<int>(k.foot.y() / kCell);
        bool crowded = false;
        for (int j = cy - 1; j <= cy + 1 && !crowded; ++j) {
            for (int i = cx - 1; i <= cx + 1 && !crowded; ++i) {
                const auto found = cells.find(key(i, j));
                if (found == cells.end()) {
                    continue;
                }
                for (std::size_t n : found->second) {
                    const Peak& o = peaks[n];
                    // Two peaks lean together by their mean standing, so that the crest's
                    // neighbours crowd in on it; a hill keeps the lower one's paper.
                    const double rank = k.hill || o.hill ? std::min(c.rank, placedRank[n])
                                                         : 0.5 * (c.rank + placedRank[n]);
                    // Peaks on the flanks lean on one another in massifs rather than standing
                    // apart as single triangles; hills keep their paper. Amid broad heights they
                    // stand a little farther apart, so that the massifs read through the mass.
                    double share = k.hill || o.hill ? spacing(rank)
                                                    : (1.2 - 0.95 * rank) * (1.0 + 0.3 * spread);
                    double down = (share + 0.1) * (k.height + o.height) / 2;
                    // Fells overlap a little within their groups; row on row of them at a
                    // hump's height apart would read as scales.
                    if (k.hill && o.hill && (k.width > 20 || o.width > 20)) {
                        share = std::max(share, 0.8);
                        down = 0.75 * share * (k.width + o.width) / 2;
                    } else if (k.hill && o.hill) {
                        // Small humps a hump's height apart down the sheet stack into columns.
                        down = std::max(down, 0.6 * share * (k.width + o.width) / 2);
                    }
                    // A lesser peak may stand on a greater one's flank, so that a crest
                    // gathers a mass of spurs about it rather than a moat of bare ground.
                    const double small = std::min(k.width, o.width);
                    const double large = std::max(k.width, o.width);
                    const double across =
                        k.hill || o.hill ? share * (k.width + o.width) / 2
                                         : share * (small + large * std::sqrt(small / large)) / 2;
                    const double dx = (k.foot.x() - o.foot.x()) / across;
                    const double dy = (k.foot.y() - o.foot.y()) / down;
                    if (dx * dx + dy * dy < 1.0) {
                        crowded = true;
                        break;
                    }
                }
            }
        }
        if (!crowded) {
            cells[key(cx, cy)].push_back(peaks.size());
            peaks.push_back(k);
            placedRank.push_back(c.rank);
        }
    }
    // No summit towers over its neighbours: one peak several times the size of those about it
    // reads as a lone mountain pasted on, not as the highest of one mass. Each shrinks about its
    // ridge point, inside its own outline, so it stays clear of what it was clear of.
    for (int round = 0; round < 3; ++round) {
        std::vector<double> widths;
        for (const Peak& k : peaks) {
            widths.push_back(k.width);
        }
        for (std::size_t i = 0; i < peaks.size(); ++i) {
            Peak& k = peaks[i];
            if (k.hill) {
                continue;
            }
            double sum = 0;
            int count = 0;
            for (std::size_t j = 0; j < peaks.size(); ++j) {
                const Peak& o = peaks[j];
                if (j != i && !o.hill && length(o.foot - k.foot) < 0.9 * widths[i] + 40) {
                    sum += widths[j];
                    ++count;
                }
            }
            // Amid broad heights a massif's summit may stand further over the peaks stepping
            // down from it.
            const double tallest = kTallest + 0.35 * wideAt(k.foot);
            if (count == 0 || widths[i] <= tallest * sum / count) {
                continue;
            }
            const double f = tallest * sum / count / widths[i];
            const QPointF ridge = k.foot - QPointF(0, 0.3 * k.height);
            Peak smaller = k;
            smaller.width *= f;
            smaller.height *= f;
            smaller.foot = ridge + QPointF(0, 0.3 * smaller.height);
            // A smaller size can draw another outline; one that would then meet something goes,
            // as does one shrunk to a speck.
            if (smaller.width >= 22 && clearOf(blocked, smaller)) {
                k = smaller;
            } else {
                k.width = 0;
            }
        }
        std::erase_if(peaks, [](const Peak& k) { return k.width <= 0; });
    }
    cells.clear();
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        cells[key(static_cast<int>(peaks[i].foot.x() / kCell),
                  static_cast<int>(peaks[i].foot.y() / kCell))]
            .push_back(i);
    }
    // A glyph standing alone reads as a stray tent pitched on the plain rather than as high
    // ground: none stands without a neighbour, and on the lower heights none without two.
    {
        std::vector<Peak> grouped;
        for (std::size_t i = 0; i < peaks.size(); ++i) {
            const Peak& k = peaks[i];
            const int cx = static_cast<int>(k.foot.x() / kCell);
            const int cy = static_cast<int>(k.foot.y() / kCell);
            int near = 0;
            for (int j = cy - 1; j <= cy + 1; ++j) {
                for (int n = cx - 1; n <= cx + 1; ++n) {
                    const auto found = cells.find(key(n, j));
                    if (found == cells.end()) {
                        continue;
                    }
                    for (std::size_t o : found->second) {
                        const double reach =
                            std::min(kCell, 1.25 * (k.width + peaks[o].width) + 24);
                        near += o != i && length(peaks[o].foot - k.foot) < reach ? 1 : 0;
                    }
                }
            }
            const QPointF top = k.foot - QPointF(0, 0.3 * k.height);
            const bool low =
                h.clamped(static_cast<int>(top.x()), static_cast<int>(top.y())) < kHillHeight;
            if (k.held || near >= (low ? 2 : 1)) {
                grouped.push_back(k);
            }
        }
        peaks = std::move(grouped);
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Peak& a, const Peak& b) { return a.foot.y() < b.foot.y(); });
    joinAlongRidges(peaks);
    return peaks;
}

void joinAlongRidges(std::vector<Peak>& peaks) {
    std::vector<QPolygonF> outlines;
    std::vector<QRectF> boxes;
    for (const Peak& k : peaks) {
        outlines.push_back(peakOutline(k));
        boxes.push_back(outlines.back().boundingRect());
    }
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        Peak& k = peaks[i];
        if (k.hill || k.tor) {
            continue;
        }
        std::vector<std::size_t> behind;
        for (std::size_t j = 0; j < i; ++j) {
            if (!peaks[j].hill && !peaks[j].tor && boxes[j].intersects(boxes[i])) {
                behind.push_back(j);
            }
        }
        if (behind.empty()) {
            continue;
        }
        const QPolygonF& outline = outlines[i];
        const auto summitAt = std::min_element(outline.begin(), outline.end(),
                                               [](QPointF a, QPointF b) { return a.y() < b.y(); });
        const auto covered = [&](QPointF q) {
            return std::any_of(behind.begin(), behind.end(), [&](std::size_t j) {
                return outlines[j].containsPoint(q, Qt::OddEvenFill);
            });
        };
        // Up one leg from its foot: past a little open ground below the peak behind, through
        // it, to where the flank stands clear above it.
        const auto saddle = [&](const QPolygonF& leg) {
            double run = 0;
            double total = 0;
            for (int n = 0; n + 1 < leg.size(); ++n) {
                total += length(leg[n + 1] - leg[n]);
            }
            bool inside = false;
            for (int n = 0; n + 1 < leg.size(); ++n) {
                const QPointF a = leg[n];
                const QPointF b = leg[n + 1];
                const double len = length(b - a);
                for (double t = 0; t < len; t += 1.5) {
                    const bool in = covered(a + (b - a) * (t / len));
                    if (!inside && !in && run + t > 0.4 * total) {
                        return 0.0;
                    }
                    if (inside && !in) {
                        return std::min(run + t, 0.85 * total);
                    }
                    inside = inside || in;
                }
                run += len;
            }
            return 0.0;
        };
        QPolygonF left(outline.begin(), summitAt + 1);
        QPolygonF right(summitAt, outline.end());
        std::reverse(right.begin(), right.end());
        // A short spur of ink runs on below the saddle, lifted off as the hand leaves it.
        Rng rng(k.seed ^ 0x5AD1);
        k.leftLift = saddle(left) * rng.range(0.7, 0.9);
        k.rightLift = saddle(right) * rng.range(0.7, 0.9);
    }
}

namespace {

// How a peak's shade was hatched: the hand varied it with the ground and the moment. The big
// and steep peaks hatched closer, longer and heavier, the small ones with a few strokes only;
// the strokes bowed with the flank's own fall, some broken off and taken up again, and a little
// cross-hatching only in the deepest shade of the big steep ones.
struct ShadeHand {
    double gap = 2.0;     // how far apart the strokes stand along the flank
    double reach = 1.0;   // how far down the flank they run, as a share of the usual
    double nib = 1.0;     // the pen's weight
    double bow = 0.0;     // how far a stroke bows out of its chord, a share of its length
    double broken = 0.0;  // the chance of a stroke broken off and taken up again
    int most = 1000;      // a small peak's few strokes
    int crossing = 0;     // cross strokes in the deepest shade
};

// How far the shaded flank's outline sags in under its chord (scooped, positive) or bows out of
// it (full-bellied, negative), as a share of the chord.
double flankBelly(const Silhouette& s) {
    const QPolygonF flank = flankFromSummit(s);
    if (flank.size() < 3) {
        return 0.0;
    }
    const QPointF a = flank.front();
    const QPointF b = flank.back();
    const double chord = std::max(length(b - a), 1e-6);
    const QPointF in(-(b - a).y() / chord, (b - a).x() / chord);  // toward the peak's middle
    double most = 0;
    for (const QPointF& q : flank) {
        const double off = QPointF::dotProduct(q - a, in) / chord;
        most = std::fabs(off) > std::fabs(most) ? off : most;
    }
    return most;
}

ShadeHand shadeHand(const Peak& k, const Silhouette& s) {
    Rng hand(k.seed ^ 0x4A7C);
    const double small = std::clamp((34.0 - k.width) / 18.0, 0.0, 1.0);
    const double big = std::clamp((k.width - 36.0) / 50.0, 0.0, 1.0);
    const double steep = std::clamp((k.height / std::max(k.width, 1.0) - 0.5) / 0.6, 0.0, 1.0);
    ShadeHand h;
    h.gap = std::clamp(1.7 + k.width / 90, 1.9, 2.7) * hand.range(0.85, 1.35) *
            (1.0 + 0.7 * small) * (1.12 - 0.22 * steep - 0.12 * big);
    h.nib = hand.range(0.9, 1.15);
    // A hand of its own for the rest, so the peaks' other draws keep theirs.
    Rng style(k.seed ^ 0x7A3C'11E5ull);
    h.nib *= (0.86 + 0.24 * big + 0.14 * steep) * style.range(0.85, 1.15);
    h.reach = std::min(1.08, style.range(0.72, 1.05) * (0.92 + 0.14 * steep + 0.06 * big));
    // The strokes follow the flank: sagging in where it is scooped, bowed out where it is full.
    h.bow = std::clamp(0.9 * flankBelly(s), -0.16, 0.16) + style.range(-0.04, 0.04);
    h.broken = style.range(0.04, 0.22);
    if (small > 0.4) {
        h.most = 2 + style.below(small > 0.8 ? 2 : 4);
    }
    if (k.width >= 44 && steep + big > 0.6 && style.chance(0.75)) {
        h.crossing = 3 + style.below(2 + static_cast<int>(4 * std::min(1.0, steep + big - 0.6)));
    }
    return h;
}

// A shade stroke: its chord from its top end down, how far it bows out of it, and where (as a
// share of its length) it is broken off for a little way, if anywhere.
struct ShadeStroke {
    QLineF chord;
    double bow = 0.0;
    double breakAt = -1.0;
    double weight = 1.0;
};

// The shade strokes of a peak's flank: each from just inside the outline down its fall line
// toward the foot, fanning from along the spine under the summit to nearly plumb at the outer
// foot, of uneven spacing and length.
std::vector<ShadeStroke> shadeStrokes(const Peak& k, const Silhouette& s, const ShadeHand& hand) {
    const QPolygonF flank = flankFromSummit(s);
    std::vector<double> along{0.0};
    for (int i = 1; i < flank.size(); ++i) {
        along.push_back(along.back() + length(flank[i] - flank[i - 1]));
    }
    const double total = along.back();
    std::vector<ShadeStroke> strokes;
    if (flank.size() < 2 || total < 2.0) {
        return strokes;
    }
    const double gap = hand.gap;
    const QPointF base = s.spine.back();
    const QPointF foot = flank.back();
    Rng rng(k.seed ^ 0x5EA7);
    Rng form(k.seed ^ 0x5EA8'B0E5ull);
    std::size_t seg = 0;
    // Now and then two strokes drawn close, then a wider space: a hand does not hatch evenly.
    for (double a = gap * rng.range(0.2, 0.7); a < total - 1.5;
         a += gap * (rng.chance(0.2) ? rng.range(0.45, 0.6) : rng.range(0.75, 1.55))) {
        while (seg + 2 < along.size() && along[seg + 1] < a) {
            ++seg;
        }
        const double t = (a - along[seg]) / std::max(along[seg + 1] - along[seg], 1e-6);
        const QPointF on = flank[seg] + (flank[seg + 1] - flank[seg]) * t;
        const double u = a / total;
        // Where a fall line from here meets the ground: the spine's foot under the summit, a
        // little short of the flank's own foot at its end, so that the low strokes fall steeply
        // rather than along the outline.
        const QPointF ground =
            base + (foot - base) * (0.9 * u) + QPointF(rng.range(-0.05, 0.05) * k.width, 0);
        const QPointF down = ground - on;
        const double reach = length(down);
        // Near the flank's foot the fall line may lie almost along the ground: no stroke there.
        if (down.y() < std::max(2.5, 0.45 * reach)) {
            continue;
        }
        const QPointF from = on + down * (0.9 / reach);
        // Longer near the summit, where the flank is deepest; each a little more or less.
        const double share =
            std::min(0.97, (rng.chance(0.25) ? rng.range(0.3, 0.5) : rng.range(0.55, 0.95)) *
                               (1.0 - 0.25 * u) * hand.reach);
        ShadeStroke stroke;
        stroke.chord = QLineF(from, from + (ground - from) * share);
        // The low strokes by the outer foot bow less: there the fall is plumb.
        stroke.bow = hand.bow * (1.0 - 0.6 * u) * form.range(0.6, 1.3);
        stroke.breakAt =
            stroke.chord.length() > 9 && form.chance(hand.broken) ? form.range(0.35, 0.7) : -1.0;
        stroke.weight = form.range(0.82, 1.12);
        strokes.push_back(stroke);
    }
    if (static_cast<int>(strokes.size()) > hand.most) {
        // A small peak's few strokes: those under the summit, where its shade is deepest, and
        // one or two down the flank.
        std::vector<ShadeStroke> few(strokes.begin(), strokes.begin() + (hand.most + 1) / 2);
        for (int i = 1; static_cast<int>(few.size()) < hand.most; ++i) {
            few.push_back(strokes[strokes.size() * i / (hand.most / 2 + 1)]);
        }
        strokes = std::move(few);
    }
    return strokes;
}

// The short strokes laid across the hatching in the deepest shade: down beside the spine, below
// the summit, slanting the other way.
std::vector<QLineF> crossStrokes(const Peak& k, const Silhouette& s, const ShadeHand& hand) {
    std::vector<QLineF> strokes;
    if (hand.crossing == 0 || s.spine.size() < 2) {
        return strokes;
    }
    Rng rng(k.seed ^ 0xC7055ull);
    const QPointF top = s.spine[0];
    const QPointF low = s.spine[1];
    for (int i = 0; i < hand.crossing; ++i) {
        const double f = 0.3 + 0.65 * (i + rng.range(0.1, 0.9)) / hand.crossing;
        const QPointF at = top + (low - top) * f + QPointF(rng.range(1.0, 0.12 * k.width), 0);
        const double len = k.width * rng.range(0.1, 0.17);
        const double slant = rng.range(0.35, 0.6);
        const QPointF d = QPointF(1.0, slant) / std::hypot(1.0, slant);
        strokes.emplace_back(at - d * (0.3 * len), at + d * (0.7 * len));
    }
    return strokes;
}

// A pen stroke pressed at its start and lifted off toward its end.
void drawTapered(QPainter& p, const QLineF& stroke, double nib, double lift) {
    const QPointF d = stroke.p2() - stroke.p1();
    const double len = length(d);
    if (len < 0.5) {
        return;
    }
    const QPointF n(-d.y() / len, d.x() / len);
    const QPointF a = n * (0.5 * nib);
    const QPointF b = n * (0.5 * nib * lift);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{stroke.p1() + a, stroke.p2() + b, stroke.p2() - b, stroke.p1() - a});
}

// A shade stroke as the pen laid it: bowed out of its chord, pressed at its start and lifted
// toward its end, broken off for a pixel or two where the hand lifted.
void drawShadeStroke(QPainter& p, const ShadeStroke& stroke, double nib, double lift) {
    const QPointF a = stroke.chord.p1();
    const QPointF b = stroke.chord.p2();
    const double len = length(b - a);
    if (len < 0.5) {
        return;
    }
    const QPointF n(-(b - a).y() / len, (b - a).x() / len);
    const QPointF bend = (a + b) / 2 + n * (stroke.bow * len);
    const double gapFrom = stroke.breakAt;
    const double gapTo = stroke.breakAt < 0 ? -1.0 : stroke.breakAt + std::min(0.25, 2.0 / len);
    constexpr int kSteps = 8;
    const auto at = [&](double t) {
        return (1 - t) * (1 - t) * a + 2 * (1 - t) * t * bend + t * t * b;
    };
    // Each piece a run of the curve, its sides drawn at the pen's width there.
    const auto piece = [&](double t0, double t1) {
        QPolygonF left;
        QPolygonF right;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = t0 + (t1 - t0) * i / kSteps;
            const QPointF d = at(std::min(1.0, t + 0.02)) - at(std::max(0.0, t - 0.02));
            const double dl = std::max(length(d), 1e-9);
            const QPointF side(-d.y() / dl, d.x() / dl);
            const double width = 0.5 * nib * stroke.weight * (1.0 - (1.0 - lift) * t);
            left << at(t) + side * width;
            right << at(t) - side * width;
        }
        for (auto it = right.rbegin(); it != right.rend(); ++it) {
            left << *it;
        }
        p.drawPolygon(left);
    };
    p.setPen(Qt::NoPen);
    if (gapFrom < 0) {
        piece(0.0, 1.0);
    } else {
        piece(0.0, gapFrom);
        piece(std::min(1.0, gapTo), 1.0);
    }
}

// How a peak's outline is weighted along its length: lighter before `turn` (the lit flank up
// to the summit) than after it, and lifted off the paper over [gapFrom, gapTo).
struct LineWeight {
    double before = 1.0;
    double after = 1.0;
    double turn = 0.0;
    double gapFrom = -1.0;
    double gapTo = -1.0;
};

// An ink line along `line` as a hand draws it: the nib's weight swelling and easing, the line
// wandering a fraction of a pixel off its course, each end lifted off thinner.
void inkLine(QPainter& p, const QPolygonF& line, double pen, std::uint64_t seed,
             const LineWeight& weight = {}) {
    if (line.size() < 2) {
        return;
    }
    Rng rng(seed ^ 0x1A4D);
    const double phase[4] = {rng.range(0.0, 6.3), rng.range(0.0, 6.3), rng.range(0.0, 6.3),
                             rng.range(0.0, 6.3)};
    const double drift = rng.range(0.25, 0.45);
    QPolygonF pts;
    std::vector<double> at;
    double run = 0;
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i];
        const QPointF b = line[i + 1];
        const double len = length(b - a);
        const int n = std::max(1, static_cast<int>(len / 2.5));
        const QPointF normal =
            len > 1e-6 ? QPointF(-(b - a).y() / len, (b - a).x() / len) : QPointF();
        for (int j = 0; j < n; ++j) {
            const double s = run + len * j / n;
            const double off = i == 0 && j == 0 ? 0.0
                                                : drift * std::sin(s / 23.0 + phase[0]) +
                                                      0.15 * std::sin(s / 9.0 + phase[1]);
            pts << a + (b - a) * (static_cast<double>(j) / n) + normal * off;
            at.push_back(s);
        }
        run += len;
    }
    pts << line.back();
    at.push_back(run);
    for (int i = 0; i + 1 < pts.size(); ++i) {
        const double s = 0.5 * (at[i] + at[i + 1]);
        if (s >= weight.gapFrom && s < weight.gapTo) {
            continue;
        }
        // The nib lifts toward each end and into and out of a break.
        double fromEnd = std::min(s, run - s);
        if (weight.gapTo > weight.gapFrom) {
            fromEnd = std::min(
                fromEnd, std::fabs(s < weight.gapFrom ? weight.gapFrom - s : s - weight.gapTo));
        }
        const double ends = std::min(1.0, 0.45 + 0.55 * fromEnd / 5.0);
        const double press =
            1.0 + 0.2 * std::sin(s / 31.0 + phase[2]) + 0.1 * std::sin(s / 12.0 + phase[3]);
        // The change of weight eased over a few pixels round the summit.
        const double side = std::clamp((s - weight.turn) / 6.0 + 0.5, 0.0, 1.0);
        const double heft = weight.before + (weight.after - weight.before) * side;
        p.setPen(QPen(kReliefInk, std::max(0.35, pen * heft * press * ends), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(pts[i], pts[i + 1]);
    }
}

LineWeight outlineWeight(const Peak& k, const Silhouette& s) {
    Rng rng(k.seed ^ 0xB10C);
    LineWeight weight;
    const double hand = rng.range(0.85, 1.15);
    // Small peaks stand farther off: their lit edge fainter still.
    const double far = std::clamp((40.0 - k.width) / 30.0, 0.0, 1.0);
    weight.before = hand * (0.68 - 0.12 * far);
    weight.after = hand * (1.12 - 0.08 * far);
    double lit = 0;
    for (int i = 0; i + 1 < s.outline.size() && s.outline[i] != s.summit; ++i) {
        lit += length(s.outline[i + 1] - s.outline[i]);
    }
    weight.turn = lit;
    if (lit > 24 && rng.chance(0.5)) {
        weight.gapFrom = lit * rng.range(0.3, 0.7);
        weight.gapTo = weight.gapFrom + rng.range(2.5, 4.5);
    }
    return weight;
}

// `line` with `head` pixels of its length left off its start and `tail` off its end.
QPolygonF trimmed(const QPolygonF& line, double head, double tail) {
    double total = 0;
    for (int i = 0; i + 1 < line.size(); ++i) {
        total += length(line[i + 1] - line[i]);
    }
    const double to = total - tail;
    QPolygonF out;
    double run = 0;
    for (int i = 0; i + 1 < line.size() && run < to; ++i) {
        const QPointF a = line[i];
        const QPointF b = line[i + 1];
        const double len = length(b - a);
        const auto at = [&](double s) { return a + (b - a) * ((s - run) / std::max(len, 1e-9)); };
        if (run + len > head) {
            out << (run >= head ? a : at(head));
            if (run + len >= to) {
                out << at(to);
            }
        }
        run += len;
    }
    return out;
}

// A hill's shade: a few strokes down its flank away from the light, from just under its outline,
// the longest nearest the summit.
void hatchHill(QPainter& p, const Peak& k, const Silhouette& s, const QPainterPath& body) {
    Rng rng(k.seed ^ 0x41C7);
    // Each hump by a hand of its own: closer or more open, a heavier or a lighter nib.
    const int strokes = std::clamp(static_cast<int>(k.width / rng.range(4.5, 6.5)), 2, 7);
    const double nib = (k.width > 20 ? 0.95 : 0.75) * rng.range(0.8, 1.3);
    QColor ink = kReliefInk;
    ink.setAlpha(rng.chance(0.3) ? 215 : 190);
    p.save();
    p.setClipPath(body);
    p.setBrush(ink);
    const double right = k.foot.x() + k.width / 2;
    for (int i = 0; i < strokes; ++i) {
        const double u = (i + 0.6 + rng.range(-0.2, 0.2)) / (strokes + 0.4);
        const double x = s.summit.x() + (right - s.summit.x()) * u;
        // The outline's height above this x, from its two points either side.
        double top = k.foot.y();
        for (int j = 0; j + 1 < s.outline.size(); ++j) {
            const QPointF a = s.outline[j];
            const QPointF b = s.outline[j + 1];
            if (a.x() <= x && b.x() >= x && b.x() > a.x()) {
                top = a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
                break;
            }
        }
        const double depth = k.foot.y() - top;
        if (depth < 2.5) {
            continue;
        }
        // Now and then a stroke left out, or a short one beside a long.
        if (i > 0 && rng.chance(0.15)) {
            continue;
        }
        const QPointF from(x, top + 1.2);
        const double len = depth * (rng.chance(0.25) ? rng.range(0.3, 0.5) : rng.range(0.55, 0.9));
        // Pressed hardest by the summit, lighter toward the outer foot.
        drawTapered(p, QLineF(from, from + QPointF(rng.range(0.15, 0.35) * len, len)),
                    nib * (1.15 - 0.35 * u), 0.25);
    }
    p.restore();
}

}  // namespace

void inkReliefLine(QPainter& painter, const QPolygonF& line, double pen, std::uint64_t seed) {
    inkLine(painter, line, pen, seed);
}

void inkTaperedStroke(QPainter& painter, const QLineF& stroke, double nib, double lift) {
    drawTapered(painter, stroke, nib, lift);
}

std::vector<QLineF> peakShadeStrokes(const Peak& peak) {
    if (peak.hill) {
        return {};
    }
    if (peak.tor) {
        return torShadeStrokes(peak);
    }
    const Silhouette s = silhouette(peak);
    std::vector<QLineF> lines;
    for (const ShadeStroke& stroke : shadeStrokes(peak, s, shadeHand(peak, s))) {
        lines.push_back(stroke.chord);
    }
    return lines;
}

void drawPeak(QPainter& p, const Peak& k) {
    if (k.tor) {
        drawTor(p, k);
        return;
    }
    const Silhouette s = silhouette(k);
    p.save();
    const QPainterPath body = closedPath(s.outline);
    const QPainterPath shade = shadedFlank(s).intersected(body);
    // The lit rock warmer than the pale ground round it, so that a snow cap shows: the peak
    // carries its own tone, the ground round it none.
    const QColor ground = k.ground.isValid() ? k.ground : QColor(232, 220, 186);
    QColor lit = QColor::fromRgbF(0.58f * ground.redF() + 0.42f * 0.82f,
                                  0.58f * ground.greenF() + 0.42f * 0.72f,
                                  0.58f * ground.blueF() + 0.42f * 0.55f);
    const QColor dark = k.ash ? QColor(70, 58, 54) : QColor(96, 72, 50);
    if (k.ash) {
        // Cinder only tints the rock: a cone is inked as any peak is, paper showing on its lit
        // side, or the small ones read as solid triangles.
        lit = QColor::fromRgbF(0.62f * ground.redF() + 0.38f * 0.66f,
                               0.62f * ground.greenF() + 0.38f * 0.62f,
                               0.62f * ground.blueF() + 0.38f * 0.6f);
    }
    if (k.hill) {
        // A hill: the ground's own tone over what stands behind it, a few strokes of shade,
        // its outline over the top.
        p.setPen(Qt::NoPen);
        p.setBrush(k.ash ? lit : ground);
        p.drawPath(body);
        QColor wash = dark;
        wash.setAlpha(k.width > 20 ? 40 : 24);
        p.setBrush(wash);
        p.drawPath(shade);
        hatchHill(p, k, s, body);
        p.setBrush(Qt::NoBrush);
        // Weighted as a peak is: the lit side lighter than the shaded, now and then left open.
        inkLine(p, s.outline, k.width > 20 ? 1.2 : 0.95, k.seed, outlineWeight(k, s));
        p.restore();
        return;
    }
    // The big summits inked firmest, so that the crest reads as one line even at half size.
    // The small ones by hands that differ more, so that no two read as one stamp.
    const double pen = std::clamp(0.9 + k.width / 48, 1.1, 2.2) *
                       (k.width < 50 ? Rng(k.seed ^ 0xFE11).range(0.8, 1.25) : 1.0);
    p.setPen(Qt::NoPen);
    // The rock's tone fades to the ground's toward the foot, so that no peak stands on a hard
    // line of colour where the outline is not inked.
    QLinearGradient rock(s.summit, QPointF(s.summit.x(), k.foot.y()));
    rock.setColorAt(0.0, lit);
    rock.setColorAt(0.55, lit);
    rock.setColorAt(1.0, ground);
    p.setBrush(rock);
    p.drawPath(closedPath(s.outline));
    // The shaded flank: hatched close down its fall over a thin wash, dark enough that the
    // ridge holds as a mass from afar, still ink rather than a flat grey at 1:1.
    // Each peak hatched by a hand that varied: closer or more open, steeper or flatter strokes,
    // the wash under them thinner where the hatching is open.
    const ShadeHand hand = shadeHand(k, s);
    const double gap = hand.gap;
    QColor wash = k.ash ? dark : QColor(78, 56, 38);
    wash.setAlpha(static_cast<int>(std::clamp(230 - 45 * gap, 90.0, 160.0) * (k.ash ? 0.5 : 1.0)));
    // The snow left bare before the shade goes on, so that the hatching runs up into it.
    QPainterPath cap;
    if (k.snow) {
        cap = capRegion(k, s).intersected(body);
        p.setBrush(kSnowLit);
        p.drawPath(cap);
    }
    // Thinning toward the foot, where the pen has left off, so that it ends in no hard edge.
    QLinearGradient fade(s.summit, QPointF(s.summit.x(), k.foot.y()));
    fade.setColorAt(0.0, wash);
    fade.setColorAt(0.6, wash);
    QColor thin = wash;
    thin.setAlpha(wash.alpha() * 2 / 5);
    fade.setColorAt(1.0, thin);
    p.setBrush(fade);
    p.drawPath(k.snow ? shade.subtracted(cap) : shade);
    if (k.snow) {
        p.setBrush(kSnowShade);
        p.drawPath(shade.intersected(cap));
        // The rock's wash was laid up to the snow and dried darker against it.
        p.save();
        p.setClipPath(body.subtracted(cap));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(96, 72, 50, 60), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(cap);
        p.restore();
        p.setPen(Qt::NoPen);
    }
    // The hatching runs on up into the snow, lighter there, so the cap still reads as snow.
    const double nib = hand.nib;
    const std::vector<ShadeStroke> strokes = shadeStrokes(k, s, hand);
    for (const bool onSnow : {false, true}) {
        if (onSnow && !k.snow) {
            break;
        }
        p.setClipPath(!k.snow ? shade : onSnow ? shade.intersected(cap) : shade.subtracted(cap));
        QColor hatch = kReliefInk;
        hatch.setAlpha(onSnow ? 110 : 230);
        p.setBrush(hatch);
        // On the snow only every other stroke runs on, lighter: the shade there is a cool
        // film, not rock.
        for (std::size_t i = 0; i < strokes.size(); ++i) {
            if (!onSnow || i % 2 == 0) {
                drawShadeStroke(p, strokes[i], onSnow ? 0.65 * nib : nib, 0.35);
            }
        }
        if (!onSnow) {
            // Lighter than the hatching they cross, so the shade deepens rather than blots.
            hatch.setAlpha(175);
            p.setBrush(hatch);
            for (const QLineF& cross : crossStrokes(k, s, hand)) {
                drawTapered(p, cross, 0.75 * nib, 0.4);
            }
        }
    }
    p.setClipping(false);
    // The ink: the outline over the top, not along the ground; the spine a short stroke. The
    // shaded flank firmer than the lit one, each peak by a hand a little heavier or lighter, and
    // the lit flank now and then left open where the light catches it.
    // The pen leaves the paper before it reaches the ground, farther on the lit side, so that
    // the flanks run down into the ground and the peaks beside them rather than each standing
    // as a tent on a base.
    Rng lift(k.seed ^ 0x1F7E);
    const double leftRun = length(s.summit - (k.foot - QPointF(k.width / 2, 0)));
    const double rightRun = length(s.summit - (k.foot + QPointF(k.width / 2, 0)));
    const double head =
        std::max(k.leftLift, lift.chance(0.2) ? 0.0 : leftRun * lift.range(0.08, 0.3));
    const double tail =
        std::max(k.rightLift, lift.chance(0.3) ? 0.0 : rightRun * lift.range(0.04, 0.16));
    LineWeight weight = outlineWeight(k, s);
    weight.turn -= head;
    weight.gapFrom -= head;
    weight.gapTo -= head;
    p.setBrush(Qt::NoBrush);
    inkLine(p, trimmed(s.outline, head, tail), pen, k.seed, weight);
    p.setBrush(kReliefInk);
    drawTapered(p, QLineF(s.spine[0], s.spine[1]), pen * 0.75, 0.3);
    p.restore();
}

}  // namespace marventa
