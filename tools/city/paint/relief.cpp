#include "relief.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/noise.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kSquash = 0.9;  // rises are a little wider than deep on the plan

double smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace

Relief::Relief(const CityLayout& site) : rises_(site.rises), seed_(site.seed ^ 0x815E) {}

double Relief::reach(std::size_t i, QPointF dir) const {
    const Noise noise(seed_);
    const auto k = static_cast<float>(i);
    const double wobble = noise.fbm(static_cast<float>(dir.x() * 1.6) + k * 7,
                                    static_cast<float>(dir.y() * 1.6) + k * 3, 2, 0.35f);
    return rises_[i].radius * (1 + 0.22 * wobble);
}

double Relief::profile(std::size_t i, double t) const {
    if (!isCrag(i)) {
        return smooth(t);
    }
    const double cliff = smooth((t - kCliffFrom) / (kCliffTo - kCliffFrom));
    // Gentle lower slopes, so the shade gathers under the cliff rather than over the fields.
    return 0.25 * smooth(t / kCliffFrom) + 0.75 * cliff;
}

double Relief::height(QPointF at) const {
    double h = 0;
    for (std::size_t i = 0; i < rises_.size(); ++i) {
        const QPointF d = at - rises_[i].centre;
        const double dist = std::hypot(d.x(), d.y() / kSquash);
        if (dist >= rises_[i].radius * 1.3) {
            continue;
        }
        const QPointF dir = dist > 0 ? QPointF(d.x(), d.y() / kSquash) / dist : QPointF(1, 0);
        const double t = 1 - dist / reach(i, dir);
        if (t > 0) {
            h = std::max(h, rises_[i].height * rises_[i].radius * 0.2 * profile(i, t));
        }
    }
    return h;
}

std::vector<QPointF> Relief::level(std::size_t i, double t) const {
    std::vector<QPointF> ring;
    constexpr int kSteps = 160;
    for (int s = 0; s < kSteps; ++s) {
        const double a = 2 * std::numbers::pi * s / kSteps;
        const QPointF dir(std::cos(a), std::sin(a));
        const double r = reach(i, dir) * (1 - t);
        ring.push_back(rises_[i].centre + QPointF(dir.x(), dir.y() * kSquash) * r);
    }
    return ring;
}

void shadeRelief(QImage& image, const Relief& relief, const QImage& weight) {
    if (relief.empty()) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    // Heights on a 2-px lattice; the shading between its points is bilinear, and smooth enough.
    constexpr int kStep = 2;
    const int gw = w / kStep + 2;
    const int gh = h / kStep + 2;
    std::vector<float> z(static_cast<std::size_t>(gw * gh));
    for (int gy = 0; gy < gh; ++gy) {
        for (int gx = 0; gx < gw; ++gx) {
            z[static_cast<std::size_t>(gy * gw + gx)] =
                static_cast<float>(relief.height(QPointF(gx * kStep, gy * kStep)));
        }
    }
    // Light from the north-west, 45 degrees up: lit slopes lighten, turned-away ones darken.
    const double lx = -1 / std::sqrt(3.0);
    const double ly = -1 / std::sqrt(3.0);
    const double lz = 1 / std::sqrt(3.0);
    std::vector<float> light(z.size(), 0.f);
    for (int gy = 1; gy + 1 < gh; ++gy) {
        for (int gx = 1; gx + 1 < gw; ++gx) {
            const auto at = [&](int x, int y) { return z[static_cast<std::size_t>(y * gw + x)]; };
            const double dx = (at(gx + 1, gy) - at(gx - 1, gy)) / (2.0 * kStep);
            const double dy = (at(gx, gy + 1) - at(gx, gy - 1)) / (2.0 * kStep);
            const double n = std::sqrt(dx * dx + dy * dy + 1);
            light[static_cast<std::size_t>(gy * gw + gx)] =
                static_cast<float>((-dx * lx - dy * ly + lz) / n - lz);
        }
    }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* strength = weight.constScanLine(y);
        const int gy = y / kStep;
        const float fy = static_cast<float>(y % kStep) / kStep;
        for (int x = 0; x < w; ++x) {
            if (strength[x] == 0) {
                continue;
            }
            const int gx = x / kStep;
            const float fx = static_cast<float>(x % kStep) / kStep;
            const auto l = [&](int dx, int dy) {
                return light[static_cast<std::size_t>((gy + dy) * gw + gx + dx)];
            };
            const float top = l(0, 0) + (l(1, 0) - l(0, 0)) * fx;
            const float bottom = l(0, 1) + (l(1, 1) - l(0, 1)) * fx;
            const double s =
                std::clamp((top + (bottom - top) * fy) * 1.25, -0.2, 0.25) * strength[x] / 255.0;
            if (std::abs(s) < 0.004) {
                continue;
            }
            const QRgb c = line[x];
            // Shadow leans a little to umber, light to the paper's cream.
            const auto mixed = [&](int v, double towards) {
                const double out = s > 0 ? v + (towards - v) * s : v * (1 + s);
                return std::clamp(static_cast<int>(std::lround(out)), 0, 255);
            };
            line[x] = s > 0 ? qRgb(mixed(qRed(c), 255), mixed(qGreen(c), 250), mixed(qBlue(c), 232))
                            : qRgb(mixed(qRed(c), 0), mixed(qGreen(c), 0),
                                   std::clamp(static_cast<int>(qBlue(c) * (1 + 1.15 * s)), 0, 255));
        }
    }
}

void drawSlopes(QPainter& p, const Relief& relief, bool sparse) {
    if (relief.empty()) {
        return;
    }
    p.save();
    p.setBrush(Qt::NoBrush);
    // A crag's cliff band: a grey rock tint, then jagged strokes down its face.
    for (std::size_t i = 0; i < relief.count(); ++i) {
        if (!relief.isCrag(i)) {
            continue;
        }
        const auto outer = relief.level(i, Relief::kCliffFrom);
        const auto inner = relief.level(i, Relief::kCliffTo);
        QPainterPath rock;
        rock.addPolygon(QPolygonF(QList<QPointF>(outer.begin(), outer.end())));
        rock.closeSubpath();
        rock.addPolygon(QPolygonF(QList<QPointF>(inner.begin(), inner.end())));
        rock.closeSubpath();
        p.fillPath(rock, QColor(150, 142, 130, 120));
        Rng rng(0xC4A6 + i);
        for (std::size_t s = 0; s < outer.size(); s += sparse ? 2 : 1) {
            const QPointF top = inner[s];
            const QPointF foot = outer[s];
            const QPointF down = foot - top;
            const QPointF side(-down.y() * 0.12, down.x() * 0.12);
            const double f = rng.range(0.5, 1.0);
            QPolygonF tooth;
            tooth << top << top + down * (0.45 * f) + side * rng.range(-1, 1) << top + down * f;
            p.setPen(QPen(QColor(70, 62, 56, 200), 1.1));
            p.drawPolyline(tooth);
        }
        p.setPen(QPen(QColor(70, 62, 56, 220), 1.4));
        p.drawPolygon(QPolygonF(QList<QPointF>(inner.begin(), inner.end())));
    }
    // Form line at each rise's foot.
    for (std::size_t i = 0; i < relief.count(); ++i) {
        const auto foot = relief.level(i, 0.1);
        QPen pen(QColor(140, 104, 70, 150), 1.1, Qt::CustomDashLine);
        pen.setDashPattern({6, 4});
        p.setPen(pen);
        p.drawPolygon(QPolygonF(QList<QPointF>(foot.begin(), foot.end())));
    }
    // Hachures in rows between level lines over each rise's lower flanks, each stroke down the
    // fall line; heavier on the slopes turned away from the light.
    const double gap = sparse ? 9 : 6.5;
    for (std::size_t i = 0; i < relief.count(); ++i) {
        const double top = relief.isCrag(i) ? Relief::kCliffFrom : 0.42;
        int row = 0;
        for (double t = 0.1; t < top - 0.01; t += 0.055, ++row) {
            const auto upper = relief.level(i, t + 0.05);
            const auto lower = relief.level(i, t);
            double run = row % 2 ? gap / 2 : 0;
            for (std::size_t s = 0; s < lower.size(); ++s) {
                const QPointF a = lower[s];
                const QPointF b = lower[(s + 1) % lower.size()];
                const double edge = std::hypot(b.x() - a.x(), b.y() - a.y());
                for (; run < edge; run += gap) {
                    const double f = run / edge;
                    const QPointF foot = a + (b - a) * f;
                    const QPointF head = upper[s] + (upper[(s + 1) % upper.size()] - upper[s]) * f;
                    const QPointF fall = foot - head;
                    const double len = std::hypot(fall.x(), fall.y());
                    if (len < 0.5) {
                        continue;
                    }
                    const double away =
                        std::max(0.0, (fall.x() + fall.y()) / (len * std::sqrt(2.0)));
                    const int alpha = static_cast<int>(70 + 90 * away);
                    p.setPen(QPen(QColor(118, 86, 56, alpha), 0.8 + 0.5 * away));
                    p.drawLine(head + fall * 0.1, foot);
                }
                run -= edge;
            }
        }
    }
    p.restore();
}

void drawFormLines(QPainter& p, const Relief& relief) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < relief.count(); ++i) {
        if (relief.isCrag(i)) {
            continue;
        }
        for (double t = 0.25; t < 0.95; t += 0.15) {
            const auto ring = relief.level(i, t);
            QPen pen(QColor(128, 92, 60, 150), 1.1, Qt::CustomDashLine);
            pen.setDashPattern({3, 3});
            p.setPen(pen);
            p.drawPolygon(QPolygonF(QList<QPointF>(ring.begin(), ring.end())));
        }
    }
    p.restore();
}

}  // namespace marventa
