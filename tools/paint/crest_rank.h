#pragma once

#include <QPointF>
#include <vector>

#include "tools/common/grid.h"
#include "tools/land/province_layout.h"

namespace marventa {

// How a pixel of high ground stands within its range. `rank` runs from 0 where the heights give
// out to 1 on the crest: its distance from the crest in the range's half widths, with its
// height against the highest ground nearby; it falls toward the range's ends as well. `jagged`,
// `volcanic` and `rangeHeight` come from the range (rolling uplands outside every range count as
// fells, of no height of their own).
struct CrestPlace {
    float rank = 0;
    float jagged = 0.3f;
    bool volcanic = false;
    float rangeHeight = 0;
};

// A range's crest as the ground has it: the layout's line moved onto the highest of the
// broadly smoothed ground across it, a point every few pixels.
struct Crest {
    const Ridge* ridge = nullptr;
    std::vector<QPointF> points;
    double length = 0;
};

// The highest of `ground` within `reach` cells of each cell of `cell` pixels (sampled at the
// cells' middles): a coarse grid, one value per cell.
Grid<float> highestAround(const Grid<float>& ground, int cell, int reach);

class CrestRank {
  public:
    CrestRank(const Grid<float>& height, const std::vector<Ridge>& ridges);

    const std::vector<Crest>& crests() const { return crests_; }

    // 0 at a crest's ends, rising to 1 a quarter of its length in.
    static double endTaper(const Crest& crest, double along);

    CrestPlace at(int x, int y) const;

  private:
    std::vector<Crest> crests_;
    Grid<float> mass_;   // the height smoothed over a hill's breadth
    Grid<float> crest_;  // the highest of `mass_` within a range's half width, per coarse cell
};

}  // namespace marventa
