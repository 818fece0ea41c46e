#pragma once

#include <QPointF>
#include <functional>
#include <vector>

#include "tools/land/terrain.h"
#include "tools/water/waterways.h"

namespace marventa {

// The ground as a road builder prices it, on a lattice of kCell pixels: dear where it is steep,
// wooded, wet or over running water, cheaper on dry, level ground low in a valley, free of cost
// along roads already laid; the sea and lakes cannot be crossed. A step's price also grows
// steeply with its grade, so a road meeting ground too steep to climb straight takes it slantwise,
// turning back on itself where the slope is narrow.
class CostLattice {
  public:
    static constexpr int kCell = 8;

    CostLattice(const Terrain& terrain, const Waterways& water);

    int cellOf(QPointF p) const;
    // The cell of `p`, or where that lies in water the nearest dry one within a few cells (a
    // port's point may share its cell with the sea).
    int landCellOf(QPointF p) const;
    QPointF centre(int cell) const;
    int size() const { return w_ * h_; }

    // Cells a road already runs through are cheap for later ones; `discount` is the fraction of
    // the open ground's price they cost.
    void markRoad(const std::vector<QPointF>& points);
    bool onRoad(int cell) const { return road_[std::size_t(cell)] != 0; }
    // Unmarks the roads within `radius` of `at`.
    void forgetRoads(QPointF at, double radius);
    void setRoadDiscount(float discount) { discount_ = discount; }

    // Cells to keep off (other places), each with its surcharge; 0 clears.
    void setCrowded(int cell, float surcharge) { crowded_[std::size_t(cell)] = surcharge; }
    void clearCrowding();

    // Cheapest costs from `start` (Dijkstra) until `stop` holds for a settled cell or the cost
    // passes `maxCost`. Cells within `free` pixels of the start pay no crowding (a road may
    // always leave its own place).
    struct Sweep {
        std::vector<float> cost;  // per cell; infinity where not reached
        std::vector<int> from;    // the previous cell on the cheapest way, -1 at the start
        int reached = -1;         // the cell where `stop` held, if any
        std::vector<int> pathTo(int cell) const;
    };
    Sweep sweep(int start, float maxCost, const std::function<bool(int)>& stop,
                double free = 0) const;

    // Height at a cell's centre.
    float height(int cell) const { return height_[std::size_t(cell)]; }
    // Whether a road may cross the cell (not the sea, not a lake).
    bool passable(int cell) const { return ground_[std::size_t(cell)] < 1e30f; }
    // Whether a river or brook runs through the cell.
    bool running(int cell) const { return running_[std::size_t(cell)] != 0; }

  private:
    float stepCost(int from, int to, int dx, int dy, int start, double free) const;
    float cellCost(int cell, int start, double free) const;

    int w_ = 0;
    int h_ = 0;
    float discount_ = 1.0f;
    std::vector<float> height_;
    std::vector<float> ground_;   // price of crossing the cell on the level, kBlocked for water
    std::vector<char> road_;      // cells a road already runs through
    std::vector<char> running_;   // cells a river or brook runs through
    std::vector<float> crowded_;  // surcharge near places
};

}  // namespace marventa
