#include "tools/roads/shared_ground.h"

#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <limits>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kStep = 2.0;
constexpr double kOn = 2.5;       // this close, a point runs on the other road
constexpr double kLongOn = 40.0;  // a stretch on the other road this long is drawn once
constexpr double kBeside = 40.0;
constexpr double kClose = 16.0;  // a road this near another as it meets it turns onto it  // a
                                 // strand nearer than this all along is the other road's

QRectF boxOf(const std::vector<QPointF>& line, double margin) {
    return QPolygonF(QList<QPointF>(line.begin(), line.end()))
        .boundingRect()
        .adjusted(-margin, -margin, margin, margin);
}

// How far each point of `line` lies from `road`.
std::vector<double> gapsTo(const std::vector<QPointF>& line, const std::vector<QPointF>& road) {
    std::vector<double> gap(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        gap[i] = distanceToPolyline(line[i], road);
    }
    return gap;
}

// The stretches of a line whose `gap` to one other road shows them on its ground: a run of points
// beside it that starts and ends on it, when the run strays off it or is long (a road that only
// touches or crosses another keeps its line there). Each as its first and last point.
std::vector<std::pair<std::size_t, std::size_t>> sharedRuns(const std::vector<double>& gap) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    const std::size_t n = gap.size();
    std::size_t i = 0;
    while (i < n) {
        if (gap[i] >= kOn) {
            ++i;
            continue;
        }
        std::size_t last = i;
        for (std::size_t j = i + 1; j < n && gap[j] < kBeside; ++j) {
            if (gap[j] < kOn) {
                last = j;
            }
        }
        const bool strays =
            std::any_of(gap.begin() + std::ptrdiff_t(i), gap.begin() + std::ptrdiff_t(last + 1),
                        [](double g) { return g >= kOn; });
        if (last > i && (strays || double(last - i) * kStep >= kLongOn)) {
            runs.emplace_back(i, last);
        }
        i = last + 1;
    }
    return runs;
}

// Which points of `line` lie on ground one of `kept` already takes.
std::vector<bool> sharedPoints(const std::vector<QPointF>& line, const std::vector<RoadLine>& kept,
                               const std::vector<QRectF>& boxes) {
    std::vector<bool> shared(line.size(), false);
    const QRectF own = boxOf(line, 0);
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (!boxes[k].intersects(own)) {
            continue;
        }
        for (const auto& [first, last] : sharedRuns(gapsTo(line, kept[k].points))) {
            std::fill(shared.begin() + std::ptrdiff_t(first),
                      shared.begin() + std::ptrdiff_t(last + 1), true);
        }
    }
    return shared;
}

// Where `line` ends on a kept road partway along it after running close beside it, it turns onto
// it where it first comes close: the glancing stretch would read as a second strand.
bool meetSquarely(std::vector<QPointF>& line, const std::vector<RoadLine>& kept,
                  const std::vector<QRectF>& boxes) {
    bool turned = false;
    for (int end = 0; end < 2; ++end) {
        std::reverse(line.begin(), line.end());
        for (std::size_t k = 0; k < kept.size(); ++k) {
            const std::vector<QPointF>& road = kept[k].points;
            if (!boxes[k].contains(line.back()) || distanceToPolyline(line.back(), road) >= kOn ||
                std::min(length(line.back() - road.front()), length(line.back() - road.back())) <
                    kBeside) {
                continue;
            }
            std::size_t first = line.size() - 1;
            while (first > 0 && distanceToPolyline(line[first - 1], road) < kClose) {
                --first;
            }
            if (double(line.size() - 1 - first) * kStep < kClose) {
                continue;
            }
            const Nearest n = nearestOnPolyline(line[first], road);
            line.resize(first + 1);
            line.push_back(road[n.segment] + (road[n.segment + 1] - road[n.segment]) * n.along);
            turned = true;
            break;
        }
    }
    return turned;
}

}  // namespace

std::vector<RoadLine> mergeSharedGround(std::vector<RoadLine> roads) {
    std::stable_sort(roads.begin(), roads.end(),
                     [](const RoadLine& a, const RoadLine& b) { return a.kind < b.kind; });
    std::vector<RoadLine> kept;
    std::vector<QRectF> boxes;
    for (const RoadLine& r : roads) {
        std::vector<QPointF> line = resample(r.points, kStep);
        const bool turned = meetSquarely(line, kept, boxes);
        const std::vector<bool> shared = sharedPoints(line, kept, boxes);
        if (!turned && std::none_of(shared.begin(), shared.end(), [](bool b) { return b; })) {
            boxes.push_back(boxOf(r.points, kBeside));
            kept.push_back(r);
            continue;
        }
        // The pieces between shared stretches, each reaching onto the road it leaves or meets.
        std::size_t i = 0;
        while (i < line.size()) {
            if (shared[i] && (i + 1 == line.size() || shared[i + 1])) {
                ++i;
                continue;
            }
            std::size_t j = i + 1;
            while (j < line.size() && !shared[j]) {
                ++j;
            }
            const std::size_t end = std::min(j + 1, line.size());
            std::vector<QPointF> piece(line.begin() + std::ptrdiff_t(i),
                                       line.begin() + std::ptrdiff_t(end));
            if (piece.size() >= 2 && polylineLength(piece) > kStep) {
                boxes.push_back(boxOf(piece, kBeside));
                kept.push_back({std::move(piece), r.kind});
            }
            i = j;
        }
    }
    return kept;
}

double strandFromStart(const std::vector<QPointF>& line, const std::vector<RoadLine>& roads,
                       RoadClass kind) {
    const std::vector<QPointF> points = resample(line, kStep);
    const QRectF own = boxOf(points, 0);
    double reach = 0;
    for (const RoadLine& r : roads) {
        if (r.kind != kind || !boxOf(r.points, kBeside).intersects(own)) {
            continue;
        }
        const std::vector<double> gap = gapsTo(points, r.points);
        const auto runs = sharedRuns(gap);
        if (runs.empty() || runs.front().first != 0) {
            continue;
        }
        const std::size_t last = runs.front().second;
        if (std::any_of(gap.begin(), gap.begin() + std::ptrdiff_t(last + 1),
                        [](double g) { return g >= kOn; })) {
            reach = std::max(reach, length(points[last] - points.front()));
        }
    }
    return reach;
}

}  // namespace marventa
