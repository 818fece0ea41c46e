#include "tools/paint/paper_grain.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"

namespace marventa {

PaperGrain paperGrain(int width, int height) {
    const Noise bumps(0x7007'0001);
    const Noise speck(0x7007'0002);
    const Noise strands(0x7007'0003);
    const Noise gate(0x7007'0004);
    const Noise clumps(0x7007'0005);
    const Noise sizing(0x7007'0006);
    const Noise gathering(0x7007'0007);
    // Sampled on axes turned off the pixels' own, so that the noise's lattice never lines up
    // with the sheet's rows as a faint grid.
    constexpr float kTurnC = 0.8912f;  // cos 27 degrees
    constexpr float kTurnS = 0.4540f;
    // Fibres lie every way but fall in a few runs; each run's strands are short, cut off by a
    // coarser gate.
    static constexpr std::array<std::pair<float, float>, 3> kFibreRuns{
        {{0.9397f, 0.3420f}, {0.1219f, 0.9925f}, {-0.7431f, 0.6691f}}};
    PaperGrain g{Grid<float>(width, height, 0.0f), Grid<float>(width, height, 0.0f),
                 Grid<float>(width, height, 0.0f)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float u = kTurnC * fx + kTurnS * fy;
            const float v = -kTurnS * fx + kTurnC * fy;
            // The cold-pressed tooth: bumps a few pixels across, with a finer speck on them.
            const float bump = bumps.fbm(u / 3.1f, v / 2.7f, 2, 0.45f);
            const float fine = speck.at(u / 1.35f + 7.0f, v / 1.35f);
            float fibre = 0.0f;
            for (std::size_t k = 0; k < kFibreRuns.size(); ++k) {
                const auto [c, s] = kFibreRuns[k];
                const float a = c * fx + s * fy;
                const float b = -s * fx + c * fy;
                const float kf = 40.0f * static_cast<float>(k);
                const float line = 1.0f - std::fabs(strands.at(a / 13.0f + kf, b / 1.7f));
                const float on = smoothstep(0.45f, 0.75f, gate.at(fx / 21.0f + kf, fy / 21.0f));
                fibre = std::max(fibre, on * std::pow(line, 8.0f));
            }
            // A sheet is not pressed evenly: over broad stretches its tooth stands out plainly,
            // over others it lies all but smooth, fading softly from one to the next, so that it
            // never reads as one filter laid over the whole.
            const float rough =
                0.4f + 1.3f * smoothstep(-0.4f, 0.4f, sizing.fbm(fx / 600.0f, fy / 600.0f, 1));
            g.tooth(x, y) = rough * (0.7f * bump + 0.08f * fine + 0.5f * fibre);
            const float clump =
                0.45f + 0.55f * smoothstep(-0.5f, 0.6f, clumps.fbm(fx / 9.0f, fy / 9.0f, 2));
            g.settle(x, y) = rough * clump * (-0.75f * bump + 0.15f * fine + 0.45f * fibre);
            // The grains lie in the deepest hollows only, as separate specks, and only where the
            // wash stood long enough in a puddle to drop them.
            const float speck = smoothstep(0.2f, 0.55f, -bump + 0.35f * fine);
            const float cluster =
                smoothstep(-0.05f, 0.4f, gathering.fbm(u / 24.0f + 3.0f, v / 19.0f, 2));
            g.granules(x, y) = speck * cluster;
        }
    }
    return g;
}

void inkOnTooth(QImage& sheet, const QImage& washes, const PaperGrain& grain) {
    const int w = std::min({sheet.width(), washes.width(), grain.tooth.width()});
    const int h = std::min({sheet.height(), washes.height(), grain.tooth.height()});
    // The share of the ink a crest keeps off: enough to fleck a stroke, never to break a
    // letter or a line apart.
    constexpr float kSkip = 0.42f;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        const auto* under = reinterpret_cast<const QRgb*>(washes.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb inked = row[x];
            const QRgb wash = under[x];
            // Only where ink darkened the wash: a light fill laid over it is paper, not ink.
            if (qGray(inked) + 6 > qGray(wash)) {
                continue;
            }
            const float crest = smoothstep(0.1f, 0.45f, grain.tooth(x, y));
            if (crest <= 0.0f) {
                continue;
            }
            const float k = kSkip * crest;
            const auto toward = [k](int a, int b) {
                return a + static_cast<int>(static_cast<float>(b - a) * k + 0.5f);
            };
            row[x] = qRgb(toward(qRed(inked), qRed(wash)), toward(qGreen(inked), qGreen(wash)),
                          toward(qBlue(inked), qBlue(wash)));
        }
    }
}

}  // namespace marventa
