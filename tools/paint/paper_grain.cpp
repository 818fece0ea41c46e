#include "tools/paint/paper_grain.h"

#include <QImage>
#include <QPointF>
#include <algorithm>
#include <array>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"

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

namespace {

// A darkening of `amount` (0 .. 1) toward `stain`, as a pigment laid under what is there.
QRgb stained(QRgb c, Rgb stain, float amount) {
    const auto under = [amount](int v, float s) {
        return std::clamp(static_cast<int>(std::lround(v * (1.0f - amount * (1.0f - s / 255.0f)))),
                          0, 255);
    };
    return qRgb(under(qRed(c), stain.r), under(qGreen(c), stain.g), under(qBlue(c), stain.b));
}

// A fox spot: a soft disc of rust with a darker ring where it dried, a little off-round, on
// `sheet` round `at`.
void foxSpot(QImage& sheet, QPointF at, double radius, float depth, Rng& rng) {
    constexpr Rgb kRust{196, 150, 104};
    const double squash = rng.range(0.7, 1.0);
    const double turn = rng.range(0.0, 3.14159);
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    const Noise ragged(rng.next());
    const int r = static_cast<int>(std::ceil(radius * 1.3)) + 1;
    for (int y = static_cast<int>(at.y()) - r; y <= static_cast<int>(at.y()) + r; ++y) {
        if (y < 0 || y >= sheet.height()) {
            continue;
        }
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        for (int x = static_cast<int>(at.x()) - r; x <= static_cast<int>(at.x()) + r; ++x) {
            if (x < 0 || x >= sheet.width()) {
                continue;
            }
            const double dx = x - at.x();
            const double dy = y - at.y();
            const double u = (c * dx + s * dy) / radius;
            const double v = (-s * dx + c * dy) / (radius * squash);
            const auto d = static_cast<float>(
                std::sqrt(u * u + v * v) +
                0.18 * ragged.at(static_cast<float>(u * 2.0), static_cast<float>(v * 2.0)));
            if (d >= 1.0f) {
                continue;
            }
            const float body = 0.55f * (1.0f - smoothstep(0.0f, 1.0f, d));
            const float ring = std::exp(-std::pow((d - 0.82f) / 0.12f, 2.0f));
            row[x] = stained(row[x], kRust, depth * (body + 0.6f * ring));
        }
    }
}

}  // namespace

void ageSheet(QImage& sheet) {
    if (sheet.format() != QImage::Format_RGB32 && sheet.format() != QImage::Format_ARGB32 &&
        sheet.format() != QImage::Format_ARGB32_Premultiplied) {
        sheet = sheet.convertToFormat(QImage::Format_RGB32);
    }
    const int w = sheet.width();
    const int h = sheet.height();
    const Noise tone(0x7007'0101);
    const Noise warmth(0x7007'0102);
    constexpr Rgb kAged{236, 222, 190};  // the paper's own warm cream as it yellows
    // The tone: broad and slow, so that it costs the file next to nothing.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        const float fy = static_cast<float>(y);
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x);
            const float edge = static_cast<float>(std::min({x, y, w - 1 - x, h - 1 - y}));
            const float toward =
                0.08f + 0.1f * smoothstep(-0.5f, 0.6f, warmth.fbm(fx / 520.0f, fy / 520.0f, 2)) +
                0.08f * (1.0f - smoothstep(0.0f, 160.0f, edge));
            const float shade = 1.0f + 0.024f * tone.fbm(fx / 240.0f + 5.0f, fy / 240.0f, 3);
            const QRgb c = row[x];
            // Toward the cream by `toward`, more where the colour is strongest (the paper shows
            // through a wash, not through the ink), and the whole a shade lighter or darker.
            const auto age = [&](int v, float cream) {
                const float mixed = v + (cream * v / 230.0f - v) * toward;
                return std::clamp(static_cast<int>(std::lround(mixed * shade)), 0, 255);
            };
            row[x] = qRgb(age(qRed(c), kAged.r), age(qGreen(c), kAged.g), age(qBlue(c), kAged.b));
        }
    }
    Rng rng(0x7007'0103);
    // Fibres caught in the pulp: short faint curls, lighter or darker than the sheet.
    for (int i = 0; i < (w * h) / 9000; ++i) {
        QPointF at(rng.range(0.0, w), rng.range(0.0, h));
        double a = rng.range(0.0, 6.2832);
        const int steps = 8 + rng.below(20);
        const bool dark = rng.chance(0.6);
        const float k = static_cast<float>(rng.range(0.025, 0.06));
        const double bend = rng.range(-0.12, 0.12);
        for (int j = 0; j < steps; ++j) {
            const int x = static_cast<int>(at.x());
            const int y = static_cast<int>(at.y());
            if (x >= 0 && y >= 0 && x < w && y < h) {
                QRgb& c = reinterpret_cast<QRgb*>(sheet.scanLine(y))[x];
                c = dark ? stained(c, {150, 130, 100}, k)
                         : qRgb(std::min(255, qRed(c) + 6), std::min(255, qGreen(c) + 6),
                                std::min(255, qBlue(c) + 5));
            }
            a += bend + rng.range(-0.15, 0.15);
            at += QPointF(std::cos(a), std::sin(a));
        }
    }
    // Foxing: loose clusters of spots, a few big ones and more small ones round them, thick on
    // some stretches of the sheet and absent from most.
    const Noise where(0x7007'0104);
    const int clusters = 48 + rng.below(12);
    for (int i = 0; i < clusters; ++i) {
        QPointF at(rng.range(0.0, w), rng.range(0.0, h));
        for (int tries = 0; tries < 6; ++tries) {
            if (where.fbm(static_cast<float>(at.x() / 900.0), static_cast<float>(at.y() / 900.0),
                          2) > -0.05f) {
                break;
            }
            at = QPointF(rng.range(0.0, w), rng.range(0.0, h));
        }
        const int spots = 1 + rng.below(7);
        const double spread = rng.range(8.0, 40.0);
        for (int j = 0; j < spots; ++j) {
            const QPointF q =
                at + (j == 0 ? QPointF()
                             : QPointF(rng.range(-spread, spread), rng.range(-spread, spread)));
            const double r = j == 0 ? rng.range(3.0, 9.0) : rng.range(1.0, 4.0);
            foxSpot(sheet, q, r, static_cast<float>(rng.range(0.18, 0.38)), rng);
        }
    }
}

}  // namespace marventa
