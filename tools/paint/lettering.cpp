#include "tools/paint/lettering.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

QTransform placed(QPointF at, double degrees) {
    QTransform t;
    t.translate(at.x(), at.y());
    t.rotate(degrees);
    return t;
}

// A polyline measured along its length, to find the point and heading at any distance.
class Measured {
  public:
    explicit Measured(const std::vector<QPointF>& line) : line_(line), at_(line.size(), 0.0) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            at_[i] = at_[i - 1] + length(line[i] - line[i - 1]);
        }
    }
    double total() const { return at_.back(); }
    QPointF point(double s) const {
        s = std::clamp(s, 0.0, total());
        const auto hi = std::upper_bound(at_.begin(), at_.end(), s);
        const std::size_t i =
            hi == at_.end() ? at_.size() - 1 : static_cast<std::size_t>(hi - at_.begin());
        if (i == 0) {
            return line_.front();
        }
        const double span = at_[i] - at_[i - 1];
        const double t = span > 0 ? (s - at_[i - 1]) / span : 0.0;
        return line_[i - 1] + (line_[i] - line_[i - 1]) * t;
    }
    // The heading in degrees over `reach` pixels either side of `s`.
    double heading(double s, double reach) const {
        const double from = std::clamp(s - reach, 0.0, std::max(0.0, total() - 2 * reach));
        const QPointF d = point(from + 2 * reach) - point(from);
        return std::atan2(d.y(), d.x()) * kDegrees;
    }

  private:
    const std::vector<QPointF>& line_;
    std::vector<double> at_;
};

std::vector<QPointF> movingAverage(const std::vector<QPointF>& pts, int radius) {
    const int n = static_cast<int>(pts.size());
    std::vector<QPointF> out(pts.size());
    for (int i = 0; i < n; ++i) {
        QPointF sum;
        int count = 0;
        for (int j = std::max(0, i - radius); j <= std::min(n - 1, i + radius); ++j) {
            sum += pts[static_cast<std::size_t>(j)];
            ++count;
        }
        out[static_cast<std::size_t>(i)] = sum / count;
    }
    return out;
}

// The box a letter's ink fills, turned with it; nothing for a space.
void addLetterBox(std::vector<QPolygonF>& boxes, const QPainterPath& letter, const QTransform& t) {
    const QRectF r = letter.boundingRect();
    if (!r.isEmpty()) {
        boxes.push_back(t.map(QPolygonF(r)));
    }
}

// Where a writing hand set one letter, against where the type would: a fraction of a pixel
// along and off the line and a degree or so turned, drifting from letter to letter rather than
// jumping, the same for the same name each time. Small type strays less.
struct Stray {
    double along;
    double off;
    double degrees;
};

// One letter of a word as the type sets it: its cell in the word (for the ground it covers), the
// middle of its own advance (where its ink sits, kerned against the letter before) and its ink
// drawn round that middle on the baseline.
struct TypeLetter {
    double x0, x1;
    double middle;
    QPainterPath ink;
};

std::vector<TypeLetter> typeset(const QString& text, const QFontMetricsF& m, const QFont& font,
                                double baseline) {
    std::vector<TypeLetter> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Each letter keeps its advance within the whole word, so spacing and kerning hold: a
        // kern between two letters moves the second, not the one after it.
        const double x0 = m.horizontalAdvance(text.left(i));
        const double x1 = m.horizontalAdvance(text.left(i + 1));
        const double advance = m.horizontalAdvance(text.mid(i, 1));
        QPainterPath ink;
        ink.addText(QPointF(-advance / 2, baseline), font, text.mid(i, 1));
        out.push_back({x0, x1, x1 - advance / 2, ink});
    }
    return out;
}

// Less than this between two letters' boxes and the hand keeps the pair as the type sets it.
constexpr double kLetterFloor = 0.6;

std::vector<Stray> handFor(const QString& text, const QFont& font,
                           const std::vector<TypeLetter>& type) {
    std::uint64_t h = 0xCBF2'9CE4'8422'2325ull;
    for (const QChar c : text) {
        h = (h ^ c.unicode()) * 0x100'0000'01B3ull;
    }
    Rng rng(mix64(h ^ static_cast<std::uint64_t>(font.pixelSize())));
    const double reach = std::clamp(font.pixelSize() / 30.0, 0.5, 1.0);
    std::vector<Stray> out;
    double along = 0.0;
    double off = 0.0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        along = std::clamp(0.5 * along + rng.range(-0.45, 0.45), -0.8, 0.8);
        off = std::clamp(0.55 * off + rng.range(-0.5, 0.5), -0.9, 0.9);
        out.push_back({along * reach, off * reach, rng.range(-1.0, 1.0)});
    }
    // The stray never closes two letters up until they touch: a pair whose boxes stand apart
    // may come nearer by what lies beyond the floor; a closer pair (kerned, or an overhang)
    // moves as one.
    for (std::size_t i = 1; i < out.size(); ++i) {
        const QRectF a = type[i - 1].ink.boundingRect();
        const QRectF b = type[i].ink.boundingRect();
        if (a.isEmpty() || b.isEmpty()) {
            continue;
        }
        const double gap = (type[i].middle + b.left()) - (type[i - 1].middle + a.right());
        // Turned by a degree either way, a letter's corners swing towards its neighbour.
        const double swing = (std::max(a.height(), b.height()) / 2) *
                             (std::abs(out[i - 1].degrees) + std::abs(out[i].degrees)) / kDegrees;
        const double room = gap - kLetterFloor - swing;
        if (room > 0) {
            out[i].along = std::max(out[i].along, out[i - 1].along - room);
        } else {
            out[i] = {std::max(out[i].along, out[i - 1].along), out[i - 1].off, out[i - 1].degrees};
        }
    }
    return out;
}

// A letter's transform as the hand set it, from where the type puts its middle.
QTransform strayed(const Stray& s, const QTransform& t) {
    return QTransform().translate(s.along, s.off).rotate(s.degrees) * t;
}

double turn(double from, double to) {
    double d = to - from;
    while (d > 180) {
        d -= 360;
    }
    while (d < -180) {
        d += 360;
    }
    return d;
}

// Each letter's ink in its own frame and where the hand set it on the sheet.
std::vector<std::pair<QPainterPath, QTransform>> handStraight(const QString& text,
                                                              const QFont& font, QPointF centre,
                                                              double degrees) {
    const QFontMetricsF m(font);
    const double width = m.horizontalAdvance(text);
    std::vector<TypeLetter> type = typeset(text, m, font, (m.ascent() - m.descent()) / 2);
    const std::vector<Stray> hand = handFor(text, font, type);
    const QTransform t = placed(centre, degrees);
    std::vector<std::pair<QPainterPath, QTransform>> out;
    for (std::size_t i = 0; i < type.size(); ++i) {
        out.emplace_back(
            std::move(type[i].ink),
            strayed(hand[i], QTransform().translate(-width / 2 + type[i].middle, 0) * t));
    }
    return out;
}

}  // namespace

std::vector<QPainterPath> lettersStraight(const QString& text, const QFont& font, QPointF centre,
                                          double degrees) {
    std::vector<QPainterPath> out;
    for (const auto& [ink, t] : handStraight(text, font, centre, degrees)) {
        out.push_back(t.map(ink));
    }
    return out;
}

SetText setStraight(const QString& text, const QFont& font, QPointF centre, double degrees,
                    double padding) {
    const QFontMetricsF m(font);
    const double width = m.horizontalAdvance(text);
    const double height = m.ascent() + m.descent();
    const QTransform t = placed(centre, degrees);
    SetText out{
        {},
        t.map(QPolygonF(QRectF(-(width + padding) / 2, -height / 2, width + padding, height))),
        {}};
    for (const auto& [ink, lt] : handStraight(text, font, centre, degrees)) {
        out.glyphs.addPath(lt.map(ink));
        addLetterBox(out.letters, ink, lt);
    }
    return out;
}

std::optional<SetText> setAlong(const QString& text, const QFont& font,
                                const std::vector<QPointF>& middle, double padding) {
    const QFontMetricsF m(font);
    const double width = m.horizontalAdvance(text);
    if (middle.size() < 2) {
        return std::nullopt;
    }
    const Measured line(middle);
    if (line.total() < width + padding) {
        return std::nullopt;
    }
    const double start = (line.total() - width) / 2;
    const double half = (m.ascent() + m.descent()) / 2;
    const std::vector<TypeLetter> type = typeset(text, m, font, (m.ascent() - m.descent()) / 2);
    const std::vector<Stray> hand = handFor(text, font, type);
    SetText out;
    QPolygonF bottom;
    for (std::size_t i = 0; i < type.size(); ++i) {
        const double mid = start + type[i].middle;
        const QTransform lt =
            strayed(hand[i], placed(line.point(mid), line.heading(mid, std::max(4.0, half))));
        out.glyphs.addPath(lt.map(type[i].ink));
        addLetterBox(out.letters, type[i].ink, lt);
        // The ground runs cell to cell, each turned with the line at the cell's own middle.
        const double cell = start + (type[i].x0 + type[i].x1) / 2;
        const QTransform t = placed(line.point(cell), line.heading(cell, std::max(4.0, half)));
        const double w = type[i].x1 - type[i].x0;
        const double left = -w / 2 - (i == 0 ? padding / 2 : 0.0);
        const double right = w / 2 + (i + 1 == type.size() ? padding / 2 : 0.0);
        out.footprint << t.map(QPointF(left, -half)) << t.map(QPointF(right, -half));
        bottom << t.map(QPointF(left, half)) << t.map(QPointF(right, half));
    }
    std::reverse(bottom.begin(), bottom.end());
    out.footprint += bottom;
    return out;
}

std::optional<std::vector<QPointF>> gentleStretch(const std::vector<QPointF>& line, double fraction,
                                                  double textLength, double offset,
                                                  double bendiness) {
    constexpr double kStep = 4.0;
    const std::vector<QPointF> pts = resample(line, kStep);
    if (pts.size() < 8) {
        return std::nullopt;
    }
    // Smoothed over some forty pixels either way: a river's wiggles are finer than a letter.
    const std::vector<QPointF> smooth = movingAverage(movingAverage(pts, 10), 10);
    std::vector<QPointF> beside(smooth.size());
    for (std::size_t i = 0; i < smooth.size(); ++i) {
        const QPointF d = smooth[std::min(smooth.size() - 1, i + 2)] - smooth[i >= 2 ? i - 2 : 0];
        const QPointF left = QPointF(d.y(), -d.x()) / std::max(1e-9, length(d));
        beside[i] = smooth[i] + left * offset;
    }
    const Measured along(beside);
    const double need = textLength + 16.0;
    if (along.total() < need) {
        return std::nullopt;
    }
    const double from = std::clamp(fraction * along.total() - need / 2, 0.0, along.total() - need);
    std::vector<QPointF> stretch;
    for (double s = from; s < from + need; s += kStep) {
        stretch.push_back(along.point(s));
    }
    stretch.push_back(along.point(from + need));
    // Readable: the line turns little over any letter's width and not much over the whole name.
    const Measured piece(stretch);
    const double first = piece.heading(0, 6);
    double lo = 0, hi = 0;
    for (double s = kStep; s <= piece.total(); s += kStep) {
        const double h = piece.heading(s, 6);
        if (std::abs(turn(piece.heading(std::max(0.0, s - 24), 6), h)) > 15.0 * bendiness) {
            return std::nullopt;
        }
        const double t = turn(first, h);
        lo = std::min(lo, t);
        hi = std::max(hi, t);
    }
    if (hi - lo > 40.0 * bendiness) {
        return std::nullopt;
    }
    if (stretch.back().x() < stretch.front().x()) {
        std::reverse(stretch.begin(), stretch.end());
    }
    return stretch;
}

}  // namespace marventa
