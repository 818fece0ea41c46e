#include "tools/roads/fords.h"

#include <algorithm>
#include <optional>

#include "tools/common/plane_geometry.h"
#include "tools/roads/bridges.h"
#include "tools/sites/site_rules.h"

namespace marventa {

namespace {

constexpr double kFordReach = 10.0;  // a crossing this close to the place is its ford
constexpr double kFarBank = 22.0;    // how far past the water's edge the way runs on
constexpr double kOnUp = 14.0;       // px the lane runs on beyond that, up the far bank

// The crossing nearest a ford's place, if one lies close enough to be its ford.
std::optional<Crossing> fordOf(const ProvincePlace& place, const std::vector<RoadLine>& roads,
                               const Waterways& water) {
    if (!(groundWordsOf(place.name) & kFordWord)) {
        return std::nullopt;
    }
    const QPointF at(place.at.x, place.at.y);
    const std::vector<Crossing> crossings = findCrossings(roads, water);
    const auto ford = std::min_element(crossings.begin(), crossings.end(),
                                       [&](const Crossing& a, const Crossing& b) {
                                           return length(a.at - at) < length(b.at - at);
                                       });
    if (ford == crossings.end() || length(ford->at - at) > kFordReach) {
        return std::nullopt;
    }
    return *ford;
}

}  // namespace

void runThroughFords(std::vector<RoadLine>& roads, const std::vector<ProvincePlace>& places,
                     const Waterways& water, const std::function<bool(QPointF)>& dry) {
    for (const ProvincePlace& place : places) {
        const std::optional<Crossing> ford = fordOf(place, roads, water);
        if (!ford) {
            continue;
        }
        const double reach = ford->span / 2 + kFarBank;
        for (RoadLine& road : roads) {
            if (road.points.size() < 2 || distanceToPolyline(ford->at, road.points) > 0.5) {
                continue;
            }
            // The end the crossing stands by, which stops short of the far bank.
            for (int end = 0; end < 2; ++end) {
                const QPointF tip = end == 0 ? road.points.front() : road.points.back();
                const double short_ = length(tip - ford->at);
                if (short_ >= reach) {
                    continue;
                }
                const QPointF out = short_ > 1e-6 ? (tip - ford->at) / short_
                                    : end == 0    ? -ford->along
                                                  : ford->along;
                const QPointF bank = ford->at + out * reach;
                if (!dry(bank)) {
                    continue;
                }
                if (end == 0) {
                    road.points.insert(road.points.begin(), bank);
                } else {
                    road.points.push_back(bank);
                }
            }
            break;
        }
    }
}

void laneThroughFords(std::vector<RoadLine>& roads, const std::vector<ProvincePlace>& places,
                      const Waterways& water, const std::function<bool(QPointF)>& dry) {
    for (const ProvincePlace& place : places) {
        const std::optional<Crossing> ford = fordOf(place, roads, water);
        if (!ford) {
            continue;
        }
        const QPointF at(place.at.x, place.at.y);
        for (RoadLine& road : roads) {
            if (road.kind != RoadClass::Track || road.points.size() < 2 ||
                distanceToPolyline(ford->at, road.points) > 0.5) {
                continue;
            }
            road.kind = RoadClass::Lane;
            // The end past the place, on the far bank, runs on the way it was going.
            const bool front = length(road.points.front() - at) < length(road.points.back() - at);
            const QPointF tip = front ? road.points.front() : road.points.back();
            const QPointF run = tip - ford->at;
            if (length(run) < 1e-6 || length(tip - at) > ford->span / 2 + kFarBank + kFordReach) {
                continue;
            }
            // Never on over other water: a second crossing just past the ford reads as a slip.
            RoadLine longer = road;
            const QPointF on = tip + run * (kOnUp / length(run));
            longer.points.insert(front ? longer.points.begin() : longer.points.end(), on);
            if (dry(on) &&
                findCrossings({longer}, water).size() == findCrossings({road}, water).size()) {
                road = std::move(longer);
            }
        }
    }
}

}  // namespace marventa
