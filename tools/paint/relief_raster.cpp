#include "tools/paint/relief_raster.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/patches.h"
#include "tools/paint/brush_strokes.h"
#include "tools/paint/ground_rise.h"
#include "tools/paint/heights_tan.h"
#include "tools/paint/paper_grain.h"
#include "tools/paint/sea_strokes.h"
#include "tools/paint/snow_cover.h"

namespace marventa {

namespace {

Rgb scale(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}

// The meadow's green by the height of the lowland: a little fresher just above the shore. Higher
// ground keeps the lowland's green unless the heights' tan is laid over it.
Rgb landTint(float h) {
    constexpr Rgb kShore{176, 203, 140};
    constexpr Rgb kMeadow{164, 198, 128};
    constexpr Rgb kUpper{190, 206, 142};
    return h <= 0.1f ? mix(kShore, kMeadow, std::max(h, 0.0f) / 0.1f)
                     : mix(kMeadow, kUpper, std::min(h - 0.1f, 0.1f) / 0.1f);
}

constexpr Rgb kPaper{242, 233, 206};
// The sea in a printed atlas's greyed blue-green, bound to the paper it is laid on: a brighter,
// bluer water reads as a screen's cyan beside the washes of the land. Out to sea a bluer,
// deeper wash, laid heavier (`seaStrokes`) by a reach that wanders rather than as a gradient.
// The shallows hardly paler than the water beyond them: a lighter band round every shore reads
// as a glow, where the hand tells them by its ripple lines and the coastal wash's dried rim.
constexpr Rgb kShallow{154, 182, 188};
constexpr Rgb kDeep{146, 176, 186};
constexpr Rgb kOpenSea{128, 161, 180};
// A lake in one even wash a little deeper than the sea's shallows: a tone graded toward its
// middle leaves the shore paler, as a glow inside the shore line.
constexpr Rgb kLake{128, 162, 174};
constexpr Rgb kRipple{56, 86, 104};
constexpr Rgb kCoastInk{46, 68, 84};
constexpr Rgb kWoodFloor{122, 160, 98};
constexpr Rgb kHeather{196, 168, 156};
constexpr Rgb kAsh{122, 112, 104};
constexpr Rgb kMarsh{150, 172, 132};
constexpr Rgb kScoria{136, 96, 82};
constexpr Rgb kSnow{236, 238, 240};
// The heights' tan, one flat wash however high the ground under it, a shade deeper than the
// meadow as well as warmer: an edge told by its hue alone is lost as the picture is compressed.
constexpr Rgb kHeightsTan{188, 180, 130};
// How much more the shaded flanks' second wash lays on the tan.
constexpr float kFlankWash = 0.35f;
// The lowland's wash a shade warmer on its rises and a shade cooler down in its hollows.
constexpr Rgb kRiseTone{204, 200, 138};
constexpr Rgb kHollowTone{150, 190, 150};
// A rise this far above the country round it takes the full shift of tone.
constexpr float kLieScale = 0.012f;

// The light falls from the north-west, 45 degrees up; a level pixel keeps its tint.
float hillShade(const Grid<float>& h, int x, int y) {
    constexpr float kExaggeration = 340.0f;
    const float dx = (h.clamped(x + 1, y) - h.clamped(x - 1, y)) * 0.5f * kExaggeration;
    const float dy = (h.clamped(x, y + 1) - h.clamped(x, y - 1)) * 0.5f * kExaggeration;
    constexpr float kLx = -0.5f, kLy = -0.5f, kLz = 0.7071f;
    const float lit = (-dx * kLx - dy * kLy + kLz) / std::sqrt(dx * dx + dy * dy + 1.0f);
    return std::clamp(0.5f + 0.5f * lit / kLz, 0.35f, 1.25f);
}

float gradient(const Grid<float>& h, int x, int y) {
    const float dx = (h.clamped(x + 1, y) - h.clamped(x - 1, y)) * 0.5f;
    const float dy = (h.clamped(x, y + 1) - h.clamped(x, y - 1)) * 0.5f;
    return std::sqrt(dx * dx + dy * dy) + 1e-6f;
}

// A wash of colour `c` (as it dries on plain paper) laid `density` thick: a pigment filters the
// paper under it, so a thin wash lets more of the paper through and a thick one darkens.
Rgb washOver(Rgb c, float density) {
    auto ch = [&](float v, float p) {
        return p * std::pow(std::clamp(v / p, 0.05f, 1.5f), density);
    };
    return {ch(c.r, kPaper.r), ch(c.g, kPaper.g), ch(c.b, kPaper.b)};
}

// Signed distance in pixels from the line where `f` (shifted by `wobble`) crosses `level`,
// positive on its high side, from the field's slope at the pixel: near the line, where it
// matters, that is close enough.
float edgeDistance(const Grid<float>& f, int x, int y, float level, float wobble) {
    const float gx = (f.clamped(x + 2, y) - f.clamped(x - 2, y)) * 0.25f;
    const float gy = (f.clamped(x, y + 2) - f.clamped(x, y - 2)) * 0.25f;
    return (f(x, y) + wobble - level) / (std::sqrt(gx * gx + gy * gy) + 1e-5f);
}

// What a wash laid over the high side of an edge `dist` pixels away adds to the density: the
// flat wash itself, with a hard rim where its pigment ran to the edge as it dried, and a little
// more just inside it.
float laidWash(float dist, float amount, float pool) {
    const float cover = smoothstep(-0.6f, 0.6f, dist);
    const float inside = std::max(dist, 0.0f);
    return cover *
           (amount + pool * (0.8f * std::exp(-inside / 1.6f) + 0.2f * std::exp(-inside / 11.0f)));
}

QRgb toPixel(Rgb c) {
    auto ch = [](float v) { return static_cast<int>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
    return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

}  // namespace

Grid<float> distanceToOpenWater(const Terrain& terrain) {
    const Grid<float>& h = terrain.height;
    Grid<unsigned char> dry(h.width(), h.height(), 0);
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            dry(x, y) = h(x, y) < 0.0f || terrain.lake(x, y) > 127 ? 0 : 1;
        }
    }
    const Grid<float> nearLand = distanceTo(dry, kInletHalfWidth + 1.0f);
    Grid<unsigned char> open(h.width(), h.height(), 0);
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            open(x, y) = nearLand(x, y) > kInletHalfWidth ? 1 : 0;
        }
    }
    return distanceTo(open, kInletHalfWidth + 1.0f);
}

QImage rangeCover(const std::vector<Peak>& peaks, QSize size) {
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const Peak& k : peaks) {
        if (!k.hill) {
            p.drawPolygon(peakOutline(k));
        }
    }
    return mask;
}

QImage paintRelief(const Terrain& terrain, const QImage* cover, const QImage* ranges,
                   const QImage* inkGaps) {
    const Grid<float>& h = terrain.height;
    const int w = h.width();
    const int ht = h.height();

    // Water: the sea lies below zero, lakes where their cover is more than half.
    Grid<unsigned char> wet(w, ht, 0);
    Grid<unsigned char> dry(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool water = h(x, y) < 0.0f || terrain.lake(x, y) > 127;
            wet(x, y) = water ? 1 : 0;
            dry(x, y) = water ? 0 : 1;
        }
    }
    // Depth, ripples and beaches follow the distance to the shore, smoothed so that its
    // pixel-stepped contours do not show as stairs along a slanting coast.
    const Grid<float> toLand = boxBlur(distanceTo(dry, 200.0f), 2);
    const Grid<float> toWater = boxBlur(distanceTo(wet, 200.0f), 2);
    const Grid<float> toLandExact = distanceTo(dry, 4.0f);
    const Grid<float> toWaterExact = distanceTo(wet, 4.0f);
    // The sea's ripples keep to the open coast: measured from the shore as if every sheltered
    // inlet were filled, so that they never follow a river's funnel or a narrow creek inland as
    // a spike.
    const Grid<float> toOpenSea = distanceToOpenWater(terrain);
    Grid<float> rippleFrom(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            rippleFrom(x, y) = toOpenSea(x, y) <= 0.0f
                                   ? toLand(x, y)
                                   : std::max(0.0f, kInletHalfWidth - toOpenSea(x, y));
        }
    }
    rippleFrom = boxBlur(rippleFrom, 2);
    // Which way each shore faces, from the distance across it: a shore whose water lies away
    // from the light (falling from the north-west) is in the land's shadow, and an engraver
    // inks it heavier there, lighter on the lit side.
    auto shadowSide = [&](const Grid<float>& out, const Grid<float>& in, int x, int y) {
        const float gx = (out.clamped(x + 2, y) - out.clamped(x - 2, y)) -
                         (in.clamped(x + 2, y) - in.clamped(x - 2, y));
        const float gy = (out.clamped(x, y + 2) - out.clamped(x, y - 2)) -
                         (in.clamped(x, y + 2) - in.clamped(x, y - 2));
        const float len = std::sqrt(gx * gx + gy * gy);
        return len > 1e-4f ? (gx + gy) / (len * std::sqrt(2.0f)) : 0.0f;
    };

    const Grid<unsigned char> snow = snowCover(h);
    Grid<float> lakeCover(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            lakeCover(x, y) = terrain.lake(x, y) / 255.0f;
        }
    }

    // The light wash of the shading comes from the ground smoothed a little, so that the
    // lattice's faint steps on flat land do not show as stairs.
    const Grid<float> shaded = boxBlur(h, 3);
    // On the lowland, from the ground smoothed far more: there the erosion's shallow runnels
    // would shade as blots and streaks where a hand would lay one even tone.
    const Grid<float> broad = boxBlur(boxBlur(h, 9), 9);
    // The lowland's real slopes, the sides of its valleys and the rise to the ranges, from the
    // ground smoothed less: shaded a little more, so that the heights do not stand on a flat.
    const Grid<float> rolling = boxBlur(boxBlur(h, 5), 5);
    // The marsh's cover comes on the land's lattice; softened, its wash shows no blocks.
    Grid<float> marshCover(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            marshCover(x, y) = terrain.marsh(x, y) / 255.0f;
        }
    }
    const Grid<float> marsh = boxBlur(boxBlur(marshCover, 8), 8);
    const Grid<float> lie = groundRise(h);

    // The wood floor's wash, and how far each pixel lies inside it: a wash pools at its edge.
    // It runs out to the wood's inked edge wherever trees stand near it, so that the floor meets
    // the meadow there rather than a pale strip; where the trees left a wood's mask bare, its
    // floor would hang as a green blot off them.
    Grid<float> woods(w, ht, 0.0f);
    {
        Grid<unsigned char> treed(w, ht, cover == nullptr ? 1 : 0);
        for (int y = 0; cover != nullptr && y < ht; ++y) {
            for (int x = 0; x < w; ++x) {
                treed(x, y) = cover->constScanLine(y)[x] != 0 ? 1 : 0;
            }
        }
        constexpr float kFloorReach = 20.0f;
        const Grid<float> toTrees = distanceTo(treed, kFloorReach + 1.0f);
        // A copse, a wood too small to have a body, keeps its floor under its trees: run out
        // between them it lies round the clump as a bare patch.
        Grid<unsigned char> wooded(w, ht, 0);
        for (int y = 0; y < ht; ++y) {
            for (int x = 0; x < w; ++x) {
                wooded(x, y) = terrain.woods(x, y) >= 0.54f ? 1 : 0;
            }
        }
        constexpr float kCopseArea = 9000.0f;
        const Grid<float> copse = patchSums(wooded, Grid<float>(w, ht, 1.0f));
        for (int y = 0; y < ht; ++y) {
            for (int x = 0; x < w; ++x) {
                const float reach = copse(x, y) < kCopseArea ? 0.0f : kFloorReach;
                woods(x, y) = toTrees(x, y) <= reach ? terrain.woods(x, y) : 0.0f;
            }
        }
    }
    woods = boxBlur(woods, 1);
    Grid<unsigned char> outsideWood(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            outsideWood(x, y) = woods(x, y) < 0.54f ? 1 : 0;
        }
    }
    const Grid<float> intoWood = boxBlur(distanceTo(outsideWood, 12.0f), 1);

    const Noise paper(0x9A9E'0001);
    const Noise stain(0x9A9E'0002);
    const PaperGrain grain = paperGrain(w, ht);
    const Noise bloom(0x9A9E'0004);
    const Noise rimNoise(0x9A9E'0005);

    // The land's washes as a hand lays them: a few broad flat washes over one another in
    // slightly different tones, each ending in an irregular edge where its pigment dried darker,
    // rather than one tone graded smoothly. Each is laid where its own field rises past a level.
    struct Layer {
        float scale;   // the field's wavelength, pixels
        float angle;   // the way the brush drew its strokes, radians
        float level;   // laid where the field is above this
        float amount;  // the flat wash's density
        float pool;    // its dried rim's
        Rgb tone;
    };
    // Laid thin, with faint rims: they follow no ground of their own, and any firmer they lie
    // as blotches across it. The washes' firm rims are kept for the real edges: the rises of the
    // ground, the woods and the shore. Each is drawn out along its brush's way, as strokes of a
    // broad brush lie, not as round clouds.
    static constexpr std::array<Layer, 3> kLayers{{
        {340.0f, -0.25f, 0.08f, 0.035f, 0.075f, {206, 200, 128}},
        {190.0f, 0.35f, 0.2f, 0.03f, 0.07f, {146, 182, 116}},
        {105.0f, -0.6f, 0.3f, 0.025f, 0.06f, {176, 192, 150}},
    }};
    std::vector<Grid<float>> layers;
    for (std::size_t k = 0; k < kLayers.size(); ++k) {
        Grid<float> f(w, ht, 0.0f);
        const float s = kLayers[k].scale;
        const float shift = 17.0f * static_cast<float>(k);
        const float c = std::cos(kLayers[k].angle);
        const float sn = std::sin(kLayers[k].angle);
        for (int y = 0; y < ht; ++y) {
            for (int x = 0; x < w; ++x) {
                const float fx = static_cast<float>(x);
                const float fy = static_cast<float>(y);
                const float along = (c * fx + sn * fy) / (1.7f * s);
                const float across = (-sn * fx + c * fy) / (0.65f * s);
                f(x, y) = bloom.fbm(along + shift, across, 3);
            }
        }
        layers.push_back(std::move(f));
    }
    // The edges' own raggedness, from a brush that never runs true: added to a field, it moves
    // its line a few pixels to and fro.
    Grid<float> ragged(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            ragged(x, y) = 0.6f * rimNoise.fbm(fx / 14.0f, fy / 14.0f, 2) +
                           0.4f * rimNoise.fbm(fx / 42.0f + 5.0f, fy / 42.0f, 2);
        }
    }
    // The heights' tan is laid round the groups of drawn peaks alone, ending in a wandering
    // edge a little way out with its dried rim, never graded off with the ground's height into
    // a glow.
    Grid<unsigned char> peaked(w, ht, 0);
    for (int y = 0; ranges != nullptr && y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            peaked(x, y) = ranges->constScanLine(y)[x] != 0 ? 1 : 0;
        }
    }
    const HeightsTan tanField = heightsTan(peaked, h);
    // The tan's edge wanders as the brush swept, over tens of pixels, never from pixel to pixel;
    // read across its own slope, so it stays a pixel or two wide however the wander bends it.
    Grid<float> tanLine(w, ht, 0.0f);
    // Here and there a second stroke of tan overlapped the first, a slightly darker band with
    // its own edge, drawn out along the brush's way.
    Grid<float> tanOverlap(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            tanLine(x, y) = tanField.edge(x, y) +
                            9.0f * bloom.fbm(fx / 80.0f + 30.0f, fy / 80.0f, 2) +
                            2.5f * rimNoise.fbm(fx / 38.0f + 12.0f, fy / 38.0f - 4.0f, 2);
            const float along = (0.88f * fx + 0.47f * fy) / 300.0f;
            const float across = (-0.47f * fx + 0.88f * fy) / 70.0f;
            tanOverlap(x, y) = stain.fbm(along + 61.0f, across, 2) +
                               0.08f * rimNoise.fbm(fx / 30.0f - 8.0f, fy / 30.0f, 2);
        }
    }
    // A range's flanks turned from the light, from the ground smoothed to the size of a flank:
    // a second, darker wash goes over them inside the tan, as a painter models a range with
    // two washes rather than one flat fill.
    Grid<float> turnedAway(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            turnedAway(x, y) = 1.0f - hillShade(broad, x, y);
        }
    }
    // The ground's wash as a broad brush laid it, stroke by stroke; the sea's its own way.
    const Grid<float> strokes = brushStrokes(w, ht, 0x9A9E'0006);
    const Grid<float> seaLaid = seaStrokes(toLand, 0x9A9E'0007);
    // Back-runs: here and there a wash was wetted again as it dried, and the water pushed its
    // pigment out into a pale patch with a dark, crinkled rim.
    Grid<float> backRuns(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            backRuns(x, y) = bloom.fbm(fx / 75.0f + 50.0f, fy / 75.0f + 20.0f, 2) +
                             0.1f * rimNoise.fbm(fx / 14.0f + 3.0f, fy / 14.0f, 2);
        }
    }
    // The paper on its own: a tone that wanders at two broad scales. Under the sea's even wash
    // (`water` 1) it all but goes, or it reads as clouds in the water.
    auto paperTone = [&](int x, int y, float water) {
        const float fx = static_cast<float>(x);
        const float fy = static_cast<float>(y);
        const float broad = 1.0f - 0.8f * water;
        return 1.0f + broad * 0.02f * stain.fbm(fx / 380.0f, fy / 380.0f, 4) +
               broad * 0.0095f * paper.fbm(fx / 46.0f, fy / 46.0f, 2);
    };
    // The tooth shows through a wash as its pigment catches on the crests and sinks in the
    // hollows, by `show`: plainer under a heavy wash than under a thin one.
    auto onTooth = [&](Rgb c, int x, int y, float show) {
        return scale(c, 1.0f + show * grain.tooth(x, y));
    };
    // How thickly the ground wash was laid: a little uneven, denser where it dried against an
    // edge `edge` pixels away (a wash's pigment runs to its rim as it dries).
    auto washDensity = [&](float fx, float fy, float edge) {
        const float uneven = 0.85f + 0.04f * bloom.fbm(fx / 620.0f, fy / 620.0f, 2) +
                             0.02f * bloom.fbm(fx / 150.0f, fy / 150.0f, 3) +
                             0.006f * bloom.fbm(fx / 31.0f + 7.0f, fy / 31.0f, 2);
        const float rim = 0.5f + 0.5f * bloom.fbm(fx / 90.0f + 3.0f, fy / 90.0f, 2);
        const float pooled = std::exp(-edge / 5.5f) * smoothstep(0.0f, 1.0f, edge);
        return uneven + (0.5f + 0.6f * rim) * pooled;
    };
    // `lake` for a pixel at a lake's shore, whose cover alone does not say which water it takes.
    auto waterColour = [&](int x, int y, bool lake) {
        const bool sea = !lake && (h(x, y) < 0.0f || terrain.lake(x, y) < 128);
        const float d = toLand(x, y);
        const float fx = static_cast<float>(x);
        const float fy = static_cast<float>(y);
        // The sea as one light wash, a second laid over it a way out with a faint dried edge
        // that follows the coast; the sea's depth itself is left out, since its ups and downs lay
        // blotches in the wash. Out at sea the distance runs across a river's mouth as the
        // ripples do, or the tone steps in toward it as a notch.
        const float across = sea ? std::max(d, rippleFrom(x, y)) : d;
        const float out =
            across + 6.0f * stain.fbm(fx / 140.0f + 3.0f, fy / 140.0f, 3) + 3.0f * ragged(x, y);
        float density = 0.84f;
        Rgb c = kLake;
        float heavy = 0.0f;
        if (sea) {
            density += laidWash(out - 46.0f, 0.0f, 0.05f);
            // A heavier wash along the coast itself, ending a way out in a wandering dried rim.
            const float coastal = 24.0f + 9.0f * bloom.fbm(fx / 120.0f + 8.0f, fy / 120.0f, 2) +
                                  4.0f * ragged(x, y) - across;
            density += laidWash(coastal, 0.04f, 0.1f);
            heavy = smoothstep(-2.0f, 4.0f, coastal);
            const float deep =
                0.4f * smoothstep(0.0f, 46.0f, out) + 0.6f * smoothstep(46.0f, 56.0f, out);
            c = mix(mix(kShallow, kDeep, deep), kOpenSea, smoothstep(90.0f, 260.0f, d));
        }
        // The blue granulates: its grains drop into the tooth's hollows in speckled clusters,
        // more of them in the heavier coastal wash, and between them it lies nearly smooth.
        density += sea ? seaLaid(x, y) : 0.0f;
        density *= 1.0f + 0.05f * grain.settle(x, y) +
                   (sea ? 0.6f + 0.3f * heavy : 0.3f) * grain.granules(x, y);
        c = washOver(mix(c, kPaper, 0.22f), density);
        // Ripple lines inked along the shore, as an engraver lays them: a few, close in, each
        // wandering nearer and farther, swelling and thinning, heavier in the shore's shadow and
        // broken into pieces of uneven length that taper at their ends, the outer ones shorter,
        // fainter and more often missing. A lake takes two, fine and well broken, set off its
        // shore: a firm ring close inside it reads as a second outline.
        const float rd = sea ? rippleFrom(x, y) : d;
        const float shadow =
            sea ? shadowSide(rippleFrom, toWater, x, y) : shadowSide(toLand, toWater, x, y);
        const float spread = 1.0f + 0.3f * stain.fbm(fx / 210.0f + 21.0f, fy / 210.0f, 2) +
                             0.12f * paper.fbm(fx / 60.0f + 4.0f, fy / 60.0f + 8.0f, 2);
        // Close together by the shore and wider apart outward.
        static constexpr std::array<std::pair<float, float>, 4> kSeaLines{
            {{4.0f, 0.64f}, {8.5f, 0.5f}, {14.0f, 0.36f}, {21.5f, 0.24f}}};
        static constexpr std::array<std::pair<float, float>, 2> kLakeLines{
            {{7.0f, 0.34f}, {12.5f, 0.24f}}};
        const std::span<const std::pair<float, float>> rings =
            sea ? std::span<const std::pair<float, float>>(kSeaLines)
                : std::span<const std::pair<float, float>>(kLakeLines);
        // Where a river's mouth or a creek opens, the shore the ripples follow (the inlet
        // filled) lies nearer than the real one: the lines end there rather than bridge it.
        const float mouth = sea ? 1.0f - smoothstep(1.0f, 3.0f, d - rippleFrom(x, y)) : 1.0f;
        float inner = -100.0f;  // where the line inside this one runs here
        for (std::size_t i = 0; i < rings.size(); ++i) {
            const auto [at, strength] = rings[i];
            // How far out the line is, from 0 at the shore to about 2.5 at its outermost, for
            // how often the pen lifts and how far the line wanders.
            const float k = std::clamp(3.0f * (at - 4.5f) / 20.5f, 0.0f, 2.6f);
            const float fi = static_cast<float>(i);
            // Each line keeps its own course, so that the gaps between them open and close
            // along the coast, and its own pressure, swelling and thinning in a few strokes.
            const float gap = i == 0 ? 3.0f : at - rings[i - 1].first;
            const float wander =
                (0.7f + 0.8f * k) * stain.fbm(fx / 55.0f + 5.0f * fi, fy / 55.0f, 2) +
                0.38f * gap * rimNoise.fbm(fx / 95.0f + 17.0f * fi, fy / 95.0f - 6.0f * fi, 2);
            const float weight =
                std::clamp(0.55f + 0.3f * bloom.fbm(fx / 70.0f, fy / 70.0f + 9.0f * fi, 2) +
                               0.3f * paper.fbm(fx / 24.0f - 3.0f * fi, fy / 24.0f + 11.0f, 2) +
                               0.25f * shadow,
                           0.15f, 1.25f);
            // Over a hundred pixels and more each line drifts nearer the shore and away from it
            // on its own, the farther out the more, so that none runs as the shore's copy.
            const float drift =
                sea ? std::min(0.5f * (at - 2.5f), 4.5f) * 2.5f *
                          stain.fbm(fx / 150.0f - 9.0f * fi, fy / 150.0f + 4.0f * fi, 2)
                    : 0.0f;
            const float place = (i == 0 ? at : at * spread) + wander + drift;
            // The pen lifts where its line would run into the one inside it.
            const float clear = smoothstep(1.6f, 3.2f, place - inner);
            inner = place;
            // The pieces: the pen lifts often, at uneven spacing, and a little more often the
            // farther out; each piece thins to a point as the pen comes off the paper.
            const float breaks = 0.65f * paper.fbm(fx / 34.0f + 13.0f * fi, fy / 34.0f, 2) +
                                 0.35f * rimNoise.fbm(fx / 12.0f - 7.0f * fi, fy / 12.0f, 2);
            const float lift = sea ? -0.22f + 0.12f * k : -0.1f;
            const float piece = smoothstep(lift, lift + 0.16f, breaks);
            const float fine = (sea ? 1.0f : 0.55f) * (0.3f + 0.7f * piece);
            const float band = 1.0f - smoothstep(0.15f * weight * fine, (0.45f + weight) * fine,
                                                 std::fabs(rd - place));
            // Long stretches where an outer line was never drawn at all.
            const float stretch = rimNoise.fbm(fx / 160.0f + 31.0f * fi, fy / 160.0f, 2);
            const float kept =
                i < 1 && sea ? 1.0f : smoothstep(-0.3f + 0.14f * k, -0.2f + 0.14f * k, stretch);
            c = mix(c, kRipple,
                    band * strength * piece * kept * clear * mouth * (0.75f + 0.5f * weight));
        }
        // The pale open sea's thin wash shows the least of it, the coast's heavier band more.
        return onTooth(c, x, y, sea ? 0.004f + 0.004f * heavy : 0.01f);
    };
    auto landColour = [&](int x, int y) {
        const float fx = static_cast<float>(x);
        const float fy = static_cast<float>(y);
        const float hv = std::max(h(x, y), 0.0f);
        // The drier tan of the heights lies round their drawn peaks alone, as one wash with an
        // edge: graded by height it spreads over a range's broad shoulders and down its flanks
        // as a soft glow with nothing drawn in it.
        const float climbs = smoothstep(0.0012f, 0.0045f, gradient(rolling, x, y));
        const float tanEdge = edgeDistance(tanLine, x, y, 0.0f, 0.0f);
        const float tanSoft = tanField.soft(x, y);
        const float tan = smoothstep(-tanSoft, tanSoft, tanEdge);
        // A pale first wash, and a second stroke over it along the crests.
        const float crestEdge = edgeDistance(tanField.crest, x, y, 0.0f, 0.0f);
        const float crestLaid = tan * smoothstep(-0.8f, 0.8f, crestEdge);
        Rgb c = mix(landTint(std::min(hv, 0.12f)), kHeightsTan, tan * (0.72f + 0.28f * crestLaid));
        // The lowland's wash follows its lie, a shade warmer on the rises and cooler down in
        // the valleys' bottoms.
        const float lowland = 1.0f - smoothstep(0.22f, 0.3f, hv);
        const float lieTone = lowland * std::clamp(lie(x, y) / kLieScale, -1.0f, 1.0f);
        c = mix(c, lieTone > 0.0f ? kRiseTone : kHollowTone, 0.17f * std::fabs(lieTone));
        // Lowland meadows vary between lush and dry; the high moor is heather, on the fells'
        // tops and shoulders.
        const float dry = smoothstep(-0.25f, 0.35f, stain.fbm(fx / 520.0f + 9.0f, fy / 520.0f, 4));
        c = mix(c, {206, 204, 140}, 0.15f * dry * (1.0f - smoothstep(0.2f, 0.35f, hv)));
        c = mix(c, kHeather,
                0.34f * terrain.moor(x, y) / 255.0f * smoothstep(0.12f, 0.22f, hv) *
                    smoothstep(0.2f * kLieScale, 1.6f * kLieScale, lie(x, y)) *
                    (0.5f + 0.5f * climbs));
        // The marsh's wash ends at a brush's edge rather than fading out.
        const float marshEdge = edgeDistance(marsh, x, y, 0.28f, 0.07f * ragged(x, y));
        const float marshLaid = smoothstep(-0.6f, 0.6f, marshEdge);
        c = mix(c, kMarsh, 0.32f * (0.3f * marsh(x, y) + 0.7f * marshLaid));
        // Volcanic tors: cinder-dark slopes, reddish scoria toward the tops; the cinder laid on
        // the heights alone, so that it does not haze the plain round the range.
        c = mix(c, mix(kAsh, kScoria, smoothstep(0.3f, 0.55f, hv)),
                0.2f * terrain.ash(x, y) / 255.0f * smoothstep(0.3f, 0.45f, hv));
        c = mix(c, kSnow, 0.08f * snow(x, y) / 255.0f);
        // The woods' floor only where trees can stand: none on the lowest flats by the water,
        // where it would lie as a bare green blot.
        const float wood = smoothstep(0.52f, 0.56f, woods(x, y)) *
                           (1.0f - smoothstep(0.5f, 0.62f, hv)) * smoothstep(0.008f, 0.016f, hv);
        c = mix(c, kWoodFloor, 0.38f * wood);
        // The broad washes laid over the ground, each in its own tone.
        float laid = 0.0f;
        for (std::size_t k = 0; k < kLayers.size(); ++k) {
            const Layer& l = kLayers[k];
            const float dist =
                edgeDistance(layers[k], x, y, l.level, 0.05f * l.scale / 200.0f * ragged(x, y));
            const float cover = smoothstep(-0.6f, 0.6f, dist);
            c = mix(c, l.tone, 0.06f * cover);
            laid += laidWash(dist, l.amount, l.pool);
        }
        // Where the lowland rises, a thin wash over each step of higher ground, its dried rim
        // along the valley's side; in stretches, not as a ring round every rise.
        for (const float level : {0.07f, 0.14f, 0.21f}) {
            const float dist = edgeDistance(broad, x, y, level, 0.006f * ragged(x, y));
            const float stretch = smoothstep(
                -0.15f, 0.35f, rimNoise.fbm(fx / 170.0f + 40.0f * level, fy / 170.0f, 2));
            // The heights keep the washes laid over them, only their rims fade, or the ground
            // under the ranges would stand paler than the lowland round it.
            laid += laidWash(dist, 0.025f, 0.2f * stretch * lowland);
        }
        // The heights' tint dried along its edge in a dark rim, heavier where more pigment ran
        // to it; the marsh's the same. Inside, the tan lies flat but for a second stroke over
        // it here and there and a few broad soft blooms where it was wetted again.
        const float rimLoad = 0.6f + 0.25f * rimNoise.fbm(fx / 90.0f - 20.0f, fy / 90.0f, 2);
        // A soft edge ran into damp paper and dried with no rim.
        laid += 0.02f * tan +
                laidWash(tanEdge, 0.0f, rimLoad * (1.0f - smoothstep(1.0f, 3.0f, tanSoft)));
        laid += tan * laidWash(crestEdge, 0.02f, 0.1f * rimLoad);
        laid += tan * laidWash(edgeDistance(tanOverlap, x, y, 0.3f, 0.0f), 0.07f, 0.09f);
        laid -= tan * 0.07f *
                smoothstep(0.2f, 0.6f, bloom.fbm(fx / 230.0f + 70.0f, fy / 230.0f - 15.0f, 2));
        laid += tan * laidWash(edgeDistance(turnedAway, x, y, 0.05f, 0.04f * ragged(x, y)),
                               kFlankWash, 0.16f);
        laid += strokes(x, y);
        laid += laidWash(marshEdge, 0.0f, 0.2f);
        // A back-run: paler inside, its pigment dried in a dark crinkled line round it.
        laid += laidWash(edgeDistance(backRuns, x, y, 0.56f, 0.0f), -0.05f, 0.22f);
        // Only a breath of the shading stays, least on the heights: the drawn peaks carry the
        // relief, and shaded slopes under them read as an airbrushed halo.
        const float upland = smoothstep(0.12f, 0.3f, hv);
        const float shade =
            upland * hillShade(shaded, x, y) + (1.0f - upland) * hillShade(broad, x, y);
        const float slope = (1.0f - upland) * (hillShade(rolling, x, y) - 1.0f);
        c = scale(c, 1.0f + (0.1f - 0.05f * upland) * (shade - 1.0f) + 0.16f * slope);
        // Washes laid thin, so the paper shows through them.
        c = mix(c, kPaper, 0.26f);
        // A wash is paler and duller than a printed tint.
        const float grey = 0.3f * c.r + 0.55f * c.g + 0.15f * c.b;
        c = mix(mix(c, {grey, grey, grey}, 0.22f), kPaper, 0.12f);
        // No tint of its own under the ranges: any area colour there reads as a plateau with
        // an edge. The peaks' density carries a range at the overview's size.
        // The wash pools at the shore and, a little, along the wood's edge.
        const float woodEdge = intoWood(x, y) > 0.0f ? intoWood(x, y) + 0.8f : 20.0f;
        const float edge = std::min(toWater(x, y), woodEdge * 1.3f);
        // Each pigment settles its own way: the green hardly at all, so the lowland lies calm;
        // the earths of the woods' floor, the heights and the marsh as a scatter of grains,
        // never a mottle.
        const float earth = std::max({wood, tan, marshLaid});
        const float density =
            (washDensity(fx, fy, edge) + laid) *
            (1.0f + 0.1f * grain.settle(x, y) + 0.16f * earth * grain.granules(x, y));
        return onTooth(washOver(c, density), x, y, 0.022f + 0.008f * earth);
    };
    QImage image(w, ht, QImage::Format_RGB32);
    for (int y = 0; y < ht; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // How much of the pixel is water, and how far it lies from the shore line: at the
            // sea from the height's zero crossing (to a fraction of a pixel), at a lake from
            // its cover.
            float water = wet(x, y) ? 1.0f : 0.0f;
            float shore = wet(x, y) ? toLandExact(x, y) : toWaterExact(x, y);
            const float lakeNear = lakeCover.clamped(x - 2, y) + lakeCover.clamped(x + 2, y) +
                                   lakeCover.clamped(x, y - 2) + lakeCover.clamped(x, y + 2);
            const bool byLake = shore < 3.0f && lakeNear > 0.0f;
            if (shore < 3.0f) {
                // The shore line to a fraction of a pixel, so that it runs as one pen stroke
                // rather than in the pixels' steps: at a lake from its cover's half, at the sea
                // from the height's zero crossing.
                const float signedPx = byLake ? (0.5f - lakeCover(x, y)) / gradient(lakeCover, x, y)
                                              : h(x, y) / gradient(h, x, y);
                water = 1.0f - smoothstep(-0.5f, 0.5f, signedPx);
                shore = std::min(std::fabs(signedPx), 3.0f);
            }
            Rgb c = water >= 1.0f   ? waterColour(x, y, byLake)
                    : water <= 0.0f ? landColour(x, y)
                                    : mix(landColour(x, y), waterColour(x, y, byLake), water);
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            // The coast's pen heavier than the inland lines: heaviest where the shore lies in
            // the land's shadow, thinnest where it faces the light, its pressure swelling and
            // easing along the shore as well.
            const float weight =
                std::clamp(1.0f + 0.42f * shadowSide(toLand, toWater, x, y) +
                               0.3f * paper.fbm(fx / 260.0f + 5.0f, fy / 260.0f, 2) +
                               0.22f * paper.fbm(fx / 34.0f + 9.0f, fy / 34.0f, 2),
                           0.45f, 1.75f);
            const float gap = inkGaps != nullptr ? inkGaps->constScanLine(y)[x] / 255.0f : 0.0f;
            c = mix(c, kCoastInk,
                    (1.0f - gap) * (1.0f - smoothstep(0.55f * weight, 1.7f * weight, shore)));
            row[x] = toPixel(scale(c, paperTone(x, y, water)));
        }
    }
    return image;
}

}  // namespace marventa
