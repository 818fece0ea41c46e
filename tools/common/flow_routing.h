#pragma once

#include <cstdint>
#include <vector>

#include "grid.h"

namespace marventa {

// Water on a height grid: every cell drains to its steepest lower neighbour (of eight), down to
// an outlet (the sea).
struct FlowField {
    std::vector<int> receiver;  // the cell each cell drains to; itself for an outlet
    std::vector<int> order;     // every cell after the one it drains to (outlets first)
    std::vector<float> area;    // cells draining through each one, itself included
};

// Priority flood: raises every hollow to just above its spill point, rising by `epsilon` from
// cell to cell, so that every cell has a strictly downhill path to an outlet. Cells marked in
// `outlet` keep their height.
Grid<float> fillHollows(const Grid<float>& h, const std::vector<char>& outlet, float epsilon);

// Steepest descent over a filled grid, with the cells ordered from the outlets upstream and the
// area draining through each. With `scatter` non-zero each cell weighs its diagonal neighbours by
// a length drawn from that seed (between 1 and 2) rather than the true one: on an even slope,
// neighbouring cells then no longer all pick the same of the eight directions, so water that
// carves the ground gathers into branching valleys instead of straight parallel gullies.
FlowField routeFlow(const Grid<float>& filled, const std::vector<char>& outlet,
                    std::uint64_t scatter = 0);

// The order and areas again, for receivers changed after routing (each still strictly lower).
void gatherFlow(FlowField& flow, const Grid<float>& filled, const std::vector<char>& outlet);

// The eight neighbour steps, straight ones first.
inline constexpr int kStepX[8] = {1, 0, -1, 0, 1, -1, -1, 1};
inline constexpr int kStepY[8] = {0, 1, 0, -1, 1, 1, -1, -1};

}  // namespace marventa
