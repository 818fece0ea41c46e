#include "tools/roads/road_network.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace marventa {

namespace {

using Matrix = std::vector<std::vector<float>>;

// Cheapest costs between every pair over the links chosen so far (Floyd–Warshall).
Matrix overLinks(std::size_t n, const std::vector<NetworkLink>& links, const Matrix& cost) {
    Matrix d(n, std::vector<float>(n, std::numeric_limits<float>::infinity()));
    for (std::size_t i = 0; i < n; ++i) {
        d[i][i] = 0;
    }
    for (const NetworkLink& l : links) {
        d[l.a][l.b] = d[l.b][l.a] = cost[l.a][l.b];
    }
    for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                d[i][j] = std::min(d[i][j], d[i][k] + d[k][j]);
            }
        }
    }
    return d;
}

}  // namespace

std::vector<NetworkLink> chooseLinks(const Matrix& cost, double detour) {
    const std::size_t n = cost.size();
    std::vector<NetworkLink> pairs;
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b) {
            if (std::isfinite(cost[a][b])) {
                pairs.push_back({a, b, false});
            }
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(), [&](const NetworkLink& x, const NetworkLink& y) {
        return cost[x.a][x.b] < cost[y.a][y.b];
    });
    // Kruskal over a union–find of the places.
    std::vector<std::size_t> root(n);
    std::iota(root.begin(), root.end(), std::size_t{0});
    auto find = [&](std::size_t i) {
        while (root[i] != i) {
            i = root[i] = root[root[i]];
        }
        return i;
    };
    std::vector<NetworkLink> links;
    for (NetworkLink& p : pairs) {
        if (find(p.a) != find(p.b)) {
            root[find(p.a)] = find(p.b);
            p.trunk = true;
            links.push_back(p);
        }
    }
    // A loop is a relative neighbour (no third place nearer to both ends than they are to each
    // other) that the tree makes a long way round.
    for (const NetworkLink& p : pairs) {
        if (p.trunk) {
            continue;
        }
        const float direct = cost[p.a][p.b];
        bool neighbours = true;
        for (std::size_t c = 0; c < n && neighbours; ++c) {
            neighbours = c == p.a || c == p.b || std::max(cost[p.a][c], cost[p.b][c]) >= direct;
        }
        if (neighbours && overLinks(n, links, cost)[p.a][p.b] > detour * direct) {
            links.push_back(p);
        }
    }
    return links;
}

}  // namespace marventa
