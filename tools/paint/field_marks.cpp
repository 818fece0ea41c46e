#include "tools/paint/field_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "tools/common/blend.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"
#include "tools/land/terrain.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/spaced_points.h"
#include "tools/paint/tree_glyphs.h"

namespace marventa {

namespace {

constexpr int kCell = 8;      // the farmed land's grid, in pixels
constexpr int kStep = 15;     // one mark at most in each step × step of the sheet
constexpr double kRow = 2.6;  // between a strip's furrows
constexpr int kFurrows = 3;
constexpr double kTussockReach = 8.4;  // half a tussock's width
constexpr double kClumpRoom = 115.0;   // between the middles of two clumps of tussocks

// Thin and a little transparent, so that the marks lie in the wash rather than on it, yet dark
// enough to read as ink: a pale mark on the wash reads as a smudge of dirt.
const QColor kFurrowInk(64, 48, 30, 185);
const QColor kHedgeInk(44, 60, 34, 200);
const QColor kTuftInk(60, 74, 42, 185);

QPointF along(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

// Open lowland: above the shore, below the heights, and no wood, marsh, heather or ash.
bool openLowland(const Terrain& t, int x, int y) {
    const float h = t.height(x, y);
    return h > 0.02f && h < kHeightsHeight - 0.03f && t.woods(x, y) < 0.2f && t.lake(x, y) == 0 &&
           t.marsh(x, y) < 24 && t.moor(x, y) < 60 && t.ash(x, y) < 16;
}

// Rough grazing where grass grows in tussocks: heather, and the drier fringe of a marsh (its
// wetter ground has reeds of its own).
bool roughPasture(const Terrain& t, int x, int y) {
    const float h = t.height(x, y);
    return h > 0.02f && h < kHeightsHeight - 0.03f && t.woods(x, y) < 0.2f && t.lake(x, y) == 0 &&
           t.ash(x, y) < 16 && (t.moor(x, y) >= 60 || (t.marsh(x, y) >= 24 && t.marsh(x, y) < 90));
}

// Distance in pixels from every cell of the farmed land's grid to the nearest marked cell.
Grid<float> distanceFrom(const Grid<unsigned char>& marked, float cap) {
    Grid<float> d = distanceTo(marked, cap / kCell);
    for (float& v : d.cells()) {
        v *= kCell;
    }
    return d;
}

// A clump of up to `wanted` tussocks loosely about `at`, wider than deep as ground seen aslant,
// each within `reach` of it on ground `fits` takes, appended to `marks`; within a clump tussocks
// stand close, their boxes overlapping, their ink apart. A lone tussock reads as a speck, not
// grazing: a clump of fewer than two is taken back. Whether it stands.
template <typename Fits>
bool growClump(const QImage& keepOut, std::vector<FieldMark>& marks, QPointF at, Rng& hand,
               int wanted, double reach, const Fits& fits) {
    const std::size_t first = marks.size();
    const auto apart = [&](QPointF q) {
        return std::none_of(marks.begin() + static_cast<std::ptrdiff_t>(first), marks.end(),
                            [&](const FieldMark& o) {
                                return std::hypot(o.at.x() - q.x(), 1.6 * (o.at.y() - q.y())) < 8.0;
                            });
    };
    for (int i = 0; i < 2 * wanted && static_cast<int>(marks.size() - first) < wanted; ++i) {
        const double a = hand.range(0.0, 2.0 * std::numbers::pi);
        const double r = i == 0 ? 0.0 : hand.range(5.0, reach);
        const QPointF q = at + QPointF(std::cos(a) * r, 0.55 * std::sin(a) * r);
        if (!fits(static_cast<int>(q.x()), static_cast<int>(q.y()))) {
            continue;
        }
        FieldMark m{q, FieldMarkKind::Tuft, 0.0, 0.0, hand.next()};
        if (!apart(q) ||
            !clearOn(keepOut, fieldMarkBox(m).adjusted(-2, -2, 2, 2).toAlignedRect())) {
            continue;
        }
        marks.push_back(m);
    }
    if (marks.size() - first < 2) {
        marks.resize(first);
        return false;
    }
    return true;
}

// One try at a jittered spot in every `cell` × `cell` of `sheet`'s grid, each with a roll and a
// hand of its own from `seed`: `visit(at, roll, hand)` where `fits` takes the ground and
// `clumps` leaves it room.
template <typename Fits, typename Visit>
void everyTry(const Grid<float>& sheet, int cell, std::uint64_t seed, const Fits& fits,
              const SpacedPoints& clumps, const Visit& visit) {
    Rng rng(seed);
    for (int gy = 0; gy * cell < sheet.height(); ++gy) {
        for (int gx = 0; gx * cell < sheet.width(); ++gx) {
            const QPointF at(gx * cell + rng.range(0.0, cell), gy * cell + rng.range(0.0, cell));
            const double roll = rng.uniform();
            Rng hand(rng.next());
            if (fits(static_cast<int>(at.x()), static_cast<int>(at.y())) && clumps.roomAt(at)) {
                visit(at, roll, hand);
            }
        }
    }
}

// Tussocks on the rough pasture in clumps of a few, each clump a spot of grazing with wide bare
// heath between clumps, appended to `marks`; the tussocks of a clump differ in size, the clumps
// are alike in none.
void placeTussocks(const Terrain& t, const QImage& keepOut, std::vector<FieldMark>& marks) {
    constexpr int kTry = 20;  // one clump tried per cell of this size
    const Noise patches(0xF1E1'D004);
    SpacedPoints clumps(QSize(t.height.width(), t.height.height()), kClumpRoom);
    const auto fits = [&](int x, int y) {
        return t.height.contains(x, y) && roughPasture(t, x, y);
    };
    everyTry(t.height, kTry, 0xF1E1'D005, fits, clumps, [&](QPointF at, double roll, Rng& hand) {
        const float patch =
            patches.fbm(static_cast<float>(at.x() / 90.0), static_cast<float>(at.y() / 90.0), 2);
        if (roll <= 0.5 * smoothstep(-0.1f, 0.3f, patch) &&
            growClump(keepOut, marks, at, hand, 3 + hand.below(5), 16.0, fits)) {
            clumps.take(at);
        }
    });
}

// Rushes on the open lowland where a stream runs by: now and then a clump of a few tussocks on
// its bank, with long stretches of bare bank between, so that the open country shows its water
// without a mark strewn over it.
void placeBankTufts(const Terrain& t, const QImage& keepOut, std::vector<FieldMark>& marks) {
    constexpr int kTry = 24;
    constexpr double kBankRoom = 100.0;
    const Noise patches(0xF1E1'D006);
    SpacedPoints clumps(QSize(t.height.width(), t.height.height()), kBankRoom);
    const auto fits = [&](int x, int y) { return t.height.contains(x, y) && openLowland(t, x, y); };
    everyTry(t.height, kTry, 0xF1E1'D007, fits, clumps, [&](QPointF at, double roll, Rng& hand) {
        const float patch =
            patches.fbm(static_cast<float>(at.x() / 150.0), static_cast<float>(at.y() / 150.0), 2);
        if (roll > 0.5 * smoothstep(-0.2f, 0.3f, patch)) {
            return;
        }
        const std::optional<QPointF> bank = nearestStream(keepOut, at, 14);
        if (!bank) {
            return;
        }
        // Set back from the water by the stream's margin on the mask and a tussock's reach.
        const QPointF off = at - *bank;
        const double d = std::max(std::hypot(off.x(), off.y()), 1e-6);
        const QPointF middle = *bank + off / d * hand.range(8.0, 11.0);
        if (growClump(keepOut, marks, middle, hand, 2 + hand.below(3), 10.0, fits)) {
            clumps.take(middle);
        }
    });
}

}  // namespace

Grid<float> farmedLand(const ProvinceScene& s, QSize sheet) {
    const int w = sheet.width() / kCell + 1;
    const int h = sheet.height() / kCell + 1;
    Grid<unsigned char> towns(w, h, 0);
    for (const ProvincePlace& p : s.places) {
        if (p.kind == PlaceKind::City || p.kind == PlaceKind::Town ||
            p.kind == PlaceKind::Settlement) {
            const int x = static_cast<int>(p.at.x) / kCell;
            const int y = static_cast<int>(p.at.y) / kCell;
            if (towns.contains(x, y)) {
                towns(x, y) = 1;
            }
        }
    }
    // Only the home fields: strips strewn along the roads between towns read as stray strokes.
    const Grid<float> toTown = distanceFrom(towns, 200.0f);
    Grid<float> farmed(w, h, 0.0f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            farmed(x, y) = 1.0f - smoothstep(26.0f, 105.0f, toTown(x, y));
        }
    }
    return farmed;
}

std::vector<FieldMark> placeFieldMarks(const Terrain& t, const QImage& keepOut,
                                       const Grid<float>& farmed) {
    // Neighbouring fields are laid out the same way, turning slowly across the country.
    const Noise lay(0xF1E1'D001);
    // Farms come in blocks of strips with the open pasture between them, not strewn evenly.
    const Noise blocks(0xF1E1'D003);
    const int cols = t.height.width() / kStep + 1;
    const int rows = t.height.height() / kStep + 1;
    std::vector<FieldMark> marks;
    std::vector<int> inCell(static_cast<std::size_t>(cols * rows), -1);
    for (int gy = 0; gy < rows; ++gy) {
        for (int gx = 0; gx < cols; ++gx) {
            Rng rng(mix64((static_cast<std::uint64_t>(gy) << 24) ^ static_cast<std::uint64_t>(gx) ^
                          0xF1E1'D002ull));
            const QPointF at(gx * kStep + rng.range(0.0, kStep),
                             gy * kStep + rng.range(0.0, kStep));
            const int x = static_cast<int>(at.x());
            const int y = static_cast<int>(at.y());
            if (!t.height.contains(x, y)) {
                continue;
            }
            const bool lowland = openLowland(t, x, y);
            if (!lowland) {
                continue;
            }
            const double f = sampleBilinear(farmed, static_cast<float>(at.x() / kCell),
                                            static_cast<float>(at.y() / kCell));
            const double block = smoothstep(-0.15f, 0.2f,
                                            blocks.fbm(static_cast<float>(at.x() / 85.0),
                                                       static_cast<float>(at.y() / 85.0), 2));
            // A block is ploughed whole or not at all: strips strewn singly read as stray strokes.
            const double field = f * block > 0.58 ? 0.9 : 0.0;
            const double roll = rng.uniform();
            FieldMark m{at, FieldMarkKind::Tuft, 0.0, 0.0, rng.next()};
            if (roll < field) {
                // Hedgerows run round a block's rim; its strips lie within.
                const bool rim = block < 0.6;
                m.kind = rim || rng.chance(0.12) ? FieldMarkKind::Hedge : FieldMarkKind::Furrows;
                m.angle = lay.fbm(static_cast<float>(at.x() / 300.0),
                                  static_cast<float>(at.y() / 300.0), 2) *
                              std::numbers::pi +
                          rng.range(-0.05, 0.05);
                // A hedge bounds a strip's side: it runs across the furrows' way as often as
                // along it.
                if (m.kind == FieldMarkKind::Hedge && rng.chance(0.5)) {
                    m.angle += std::numbers::pi / 2;
                }
                m.length =
                    m.kind == FieldMarkKind::Hedge ? rng.range(15.0, 23.0) : rng.range(11.5, 14.0);
            } else {
                continue;
            }
            const QRectF box = fieldMarkBox(m);
            if (!clearOn(keepOut, box.adjusted(-2, -2, 2, 2).toAlignedRect())) {
                continue;
            }
            // Marks in neighbouring steps stay apart.
            bool apart = true;
            for (int ny = std::max(0, gy - 1); ny <= gy && apart; ++ny) {
                for (int nx = std::max(0, gx - 1); nx <= std::min(cols - 1, gx + 1); ++nx) {
                    const int k = inCell[static_cast<std::size_t>(ny * cols + nx)];
                    if (k >= 0 && fieldMarkBox(marks[static_cast<std::size_t>(k)])
                                      .adjusted(-3, -3, 3, 3)
                                      .intersects(box)) {
                        apart = false;
                        break;
                    }
                }
            }
            if (apart) {
                inCell[static_cast<std::size_t>(gy * cols + gx)] = static_cast<int>(marks.size());
                marks.push_back(m);
            }
        }
    }
    placeTussocks(t, keepOut, marks);
    placeBankTufts(t, keepOut, marks);
    // A strip or hedge with no other field beside it, where a road or a name cut its block
    // away, reads as a stray tick rather than a farm.
    const auto farm = [](const FieldMark& m) { return m.kind != FieldMarkKind::Tuft; };
    std::vector<FieldMark> kept;
    for (const FieldMark& m : marks) {
        if (!farm(m) || std::any_of(marks.begin(), marks.end(), [&](const FieldMark& o) {
                return &o != &m && farm(o) && std::fabs(o.at.x() - m.at.x()) < 30 &&
                       std::hypot(o.at.x() - m.at.x(), o.at.y() - m.at.y()) < 30;
            })) {
            kept.push_back(m);
        }
    }
    return kept;
}

QRectF fieldMarkBox(const FieldMark& m) {
    if (m.kind == FieldMarkKind::Tuft) {
        return {m.at - QPointF(kTussockReach, 6.2), QSizeF(2 * kTussockReach, 9.5)};
    }
    const QPointF u = along(m.angle) * (m.length / 2);
    const double across = m.kind == FieldMarkKind::Hedge ? 1.6 : kRow * (kFurrows - 1) / 2 + 0.6;
    const QPointF v = along(m.angle + std::numbers::pi / 2) * across;
    QPolygonF corners{m.at - u - v, m.at + u - v, m.at + u + v, m.at - u + v};
    return corners.boundingRect().adjusted(-0.6, -0.6, 0.6, 0.6);
}

void drawFieldMark(QPainter& p, const FieldMark& m) {
    Rng rng(m.seed);
    p.setBrush(Qt::NoBrush);
    const QPointF u = along(m.angle);
    const QPointF v = along(m.angle + std::numbers::pi / 2);
    switch (m.kind) {
        case FieldMarkKind::Furrows: {
            // A field's bounds in a faint line, its furrows parallel within, each a little
            // shorter or longer at either end, as ploughed.
            const double side = kRow * (kFurrows - 1) / 2 + 0.9;
            const QPointF end = u * (m.length / 2);
            QColor bound = kFurrowInk;
            bound.setAlpha(95);
            p.setPen(QPen(bound, 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolygon(QPolygonF({m.at - end - v * side, m.at + end - v * side,
                                     m.at + end + v * side, m.at - end + v * side}));
            p.setPen(QPen(kFurrowInk, 0.7, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < kFurrows; ++i) {
                const QPointF mid = m.at + v * (kRow * (i - (kFurrows - 1) / 2.0));
                const double a = m.length / 2 - rng.range(0.0, 1.6);
                const double b = m.length / 2 - rng.range(0.0, 1.6);
                p.drawLine(mid - u * a, mid + u * b);
            }
            break;
        }
        case FieldMarkKind::Hedge: {
            // A row of small bushes: a line of low scallops.
            p.setPen(QPen(kHedgeInk, 0.75, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath hedge;
            QPointF q = m.at - u * (m.length / 2);
            hedge.moveTo(q);
            const int bushes = std::max(3, static_cast<int>(m.length / 2.8));
            const QPointF step = u * (m.length / bushes);
            for (int i = 0; i < bushes; ++i) {
                hedge.quadTo(q + step / 2 - v * rng.range(1.1, 1.6), q + step);
                q += step;
            }
            p.drawPath(hedge);
            break;
        }
        case FieldMarkKind::Tuft: {
            // A tussock of one to three tufts, each of its own size, blades and lean, so that no
            // two read as one stamp.
            p.setPen(QPen(kTuftInk, 0.7, Qt::SolidLine, Qt::RoundCap));
            const int tufts = rng.chance(0.45) ? 1 : 2 + rng.below(2);
            for (int i = 0; i < tufts; ++i) {
                const QPointF base = m.at + QPointF(i == 0 ? 0.0 : rng.range(-3.5, 3.5),
                                                    1.2 + (i == 0 ? 0.0 : rng.range(-1.5, 1.5)));
                const double scale = rng.range(0.7, 1.45);
                const double lean = rng.range(-0.25, 0.25);
                const int blades = 2 + rng.below(3);
                for (int b = 0; b < blades; ++b) {
                    const double a = lean + (blades == 1 ? 0.0 : -0.65 + 1.3 * b / (blades - 1)) +
                                     rng.range(-0.12, 0.12);
                    const double len = scale * rng.range(2.0, 3.4);
                    const QPointF foot = base + QPointF(std::sin(a) * 0.5, 0);
                    p.drawLine(foot, foot + QPointF(std::sin(a) * len, -std::cos(a) * len));
                }
            }
            break;
        }
    }
}

}  // namespace marventa
