#pragma once

#include <cstddef>
#include <vector>

namespace marventa {

struct NetworkLink {
    std::size_t a;
    std::size_t b;
    bool trunk;  // part of the cheapest tree joining every place; otherwise a loop
};

// Which places a road joins, from what it costs to go between each pair (`cost[a][b]`, infinite
// where no way exists): the cheapest tree joining them all (Kruskal), then a few loops from the
// relative-neighbourhood graph, where going round by the tree costs more than `detour` times
// the direct way. Trunk links come first, cheapest first; then the loops, cheapest first.
std::vector<NetworkLink> chooseLinks(const std::vector<std::vector<float>>& cost, double detour);

}  // namespace marventa
