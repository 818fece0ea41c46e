#include "waterways.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kStep = 4.0;        // pixels between the points of a drawn river
constexpr double kMeander = 10.0;    // largest sideways swing off the course
constexpr double kReachInto = 30.0;  // how far a river runs on into the lake or sea it meets

LakeShape shoreOf(const Lake& lake, const Noise& noise) {
    constexpr int kSides = 120;
    QPolygonF outline;
    for (int i = 0; i < kSides; ++i) {
        const double a = 2 * std::numbers::pi * i / kSides;
        // Noise sampled round a circle, so the shore closes without a seam.
        const double wobble =
            0.07 * noise.fbm(static_cast<float>(lake.shape.centre.x() / 97 + 1.6 * std::cos(a)),
                             static_cast<float>(lake.shape.centre.y() / 97 + 1.6 * std::sin(a)), 4);
        outline << lake.shape.centre + QPointF(lake.shape.rx * (1 + wobble) * std::cos(a),
                                               lake.shape.ry * (1 + wobble) * std::sin(a));
    }
    return {lake.name, lake.shape, outline};
}

// Where a river starts in or ends at a lake, let it run a little into the water so the two meet
// whatever the shore's wobble.
void reachIntoWater(std::vector<QPointF>& course, const std::vector<Lake>& lakes) {
    for (const Lake& lake : lakes) {
        for (bool atEnd : {false, true}) {
            QPointF& end = atEnd ? course.back() : course.front();
            if (lake.shape.reach(end) < 1.5) {
                const QPointF in = lake.shape.centre - end;
                const QPointF extra = end + in * (kReachInto / length(in));
                if (atEnd) {
                    course.push_back(extra);
                } else {
                    course.insert(course.begin(), extra);
                }
            }
        }
    }
}

// A tributary ending on a river already laid turns downstream before it joins, so it meets the
// main stream at a slant rather than square on.
void joinDownstream(std::vector<QPointF>& course, const RiverLine& main) {
    constexpr double kReach = 30.0;
    const Nearest n = nearestOnPolyline(course.back(), main.points);
    if (n.distance > kReach || main.points.size() < 2) {
        return;
    }
    const std::size_t last = main.points.size() - 1;
    const std::size_t k = std::min(last, n.segment + 10);  // some forty pixels downstream
    const QPointF flow = main.points[std::min(last, k + 3)] - main.points[k > 3 ? k - 3 : 0];
    const QPointF down = flow / std::max(1e-9, length(flow));
    const QPointF toTributary = course[course.size() - 2] - main.points[n.segment];
    const double side = down.x() * toTributary.y() - down.y() * toTributary.x() > 0 ? 1.0 : -1.0;
    const QPointF across(-down.y() * side, down.x() * side);
    course.back() = main.points[k] - down * 45.0 + across * 14.0;
    course.push_back(main.points[k]);
}

RiverLine meander(const RiverCourse& river, const std::vector<Lake>& lakes, bool toSea,
                  const Noise& noise) {
    std::vector<QPointF> course = river.course;
    const bool fromLake = std::any_of(lakes.begin(), lakes.end(), [&](const Lake& l) {
        return l.shape.reach(course.front()) < 1.5;
    });
    reachIntoWater(course, lakes);
    if (toSea) {
        const QPointF dir = course.back() - course[course.size() - 2];
        course.push_back(course.back() + dir * (kReachInto * 1.5 / length(dir)));
    }
    const std::vector<QPointF> centre = roundBends(course, 60.0, kStep);
    double total = 0.0;
    for (std::size_t i = 1; i < centre.size(); ++i) {
        total += length(centre[i] - centre[i - 1]);
    }
    RiverLine line{river.name, river.labelled, {}, {}};
    double s = 0.0;
    for (std::size_t i = 0; i < centre.size(); ++i) {
        if (i > 0) {
            s += length(centre[i] - centre[i - 1]);
        }
        const QPointF ahead =
            centre[std::min(i + 1, centre.size() - 1)] - centre[i > 0 ? i - 1 : 0];
        const QPointF across = QPointF(-ahead.y(), ahead.x()) / std::max(1e-9, length(ahead));
        // Both ends stay put: sources, mouths and confluences are where the layout says.
        const float fixedEnds = smoothstep(0.0f, 80.0f, static_cast<float>(s)) *
                                smoothstep(0.0f, 80.0f, static_cast<float>(total - s));
        const double swing =
            kMeander * fixedEnds * noise.fbm(static_cast<float>(s / 190.0), 7.5f, 4);
        line.points.push_back(centre[i] + across * swing);
        const double t = std::pow(s / total, 0.8);
        // A river out of a lake leaves it at full width; one from the hills rises as a thread.
        const double rising =
            fromLake ? 1.0 : 0.3 + 0.7 * smoothstep(0.0f, 90.0f, static_cast<float>(s));
        line.widths.push_back(static_cast<float>(
            rising * (river.sourceWidth + (river.mouthWidth - river.sourceWidth) * t)));
    }
    return line;
}

}  // namespace

Waterways layWaterways(const ProvinceLayout& layout) {
    const Noise noise(0x1A4E'0001);
    Waterways w;
    for (const Lake& lake : layout.lakes) {
        w.lakes.push_back(shoreOf(lake, noise));
    }
    for (const RiverCourse& river : layout.rivers) {
        const bool toSea = distanceToPolyline(river.course.back(), layout.coast) < 60.0;
        RiverCourse joined = river;
        for (const RiverLine& main : w.rivers) {
            joinDownstream(joined.course, main);
        }
        w.rivers.push_back(meander(joined, layout.lakes, toSea, noise));
    }
    return w;
}

}  // namespace marventa
