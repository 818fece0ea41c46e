#include "tools/common/patches.h"

#include <utility>
#include <vector>

namespace marventa {

Grid<float> patchSums(const Grid<unsigned char>& mask, const Grid<float>& weight) {
    const int w = mask.width();
    const int h = mask.height();
    Grid<unsigned char> seen(w, h, 0);
    Grid<float> sums(w, h, 0.0f);
    std::vector<std::pair<int, int>> patch;
    std::vector<std::pair<int, int>> open;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (mask(x, y) == 0 || seen(x, y) != 0) {
                continue;
            }
            patch.clear();
            open.assign(1, {x, y});
            seen(x, y) = 1;
            float sum = 0.0f;
            while (!open.empty()) {
                const auto [px, py] = open.back();
                open.pop_back();
                patch.emplace_back(px, py);
                sum += weight(px, py);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx;
                        const int ny = py + dy;
                        if (mask.contains(nx, ny) && mask(nx, ny) != 0 && seen(nx, ny) == 0) {
                            seen(nx, ny) = 1;
                            open.emplace_back(nx, ny);
                        }
                    }
                }
            }
            for (const auto& [px, py] : patch) {
                sums(px, py) = sum;
            }
        }
    }
    return sums;
}

}  // namespace marventa
