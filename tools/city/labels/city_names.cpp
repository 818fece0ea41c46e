#include "city_names.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <optional>
#include <set>

#include "tools/common/labels.h"
#include "tools/common/plane_geometry.h"

namespace marventa::plan {

namespace {

constexpr QRgb kFree = 0xFF000000;
constexpr QRgb kWall = 0xFFFFFFFF;
constexpr QRgb kHouseBase = 0x00100000;  // houses from here; named buildings below it
constexpr QRgb kLabel = 0xFFFFFFFE;

QRgb namedId(std::size_t i) {
    return 0xFF000000 | static_cast<QRgb>(i + 1);
}

QRgb houseId(std::size_t i) {
    return 0xFF000000 | (kHouseBase + static_cast<QRgb>(i));
}

class Occupancy {
  public:
    Occupancy(const Town& town) : image_(town.plan.size, QImage::Format_RGB32) {
        image_.fill(kFree);
        QPainter p(&image_);
        p.setPen(Qt::NoPen);
        // Outlined too, so that a thin corner of a plot still marks its pixels.
        auto paint = [&](const Area& body, QRgb id) {
            p.setPen(QPen(QColor::fromRgb(id), 1.5));
            p.setBrush(QColor::fromRgb(id));
            p.drawPath(pathOf(body));
        };
        for (std::size_t i = 0; i < town.houses.size(); ++i) {
            paint(town.houses[i].body, houseId(i));
        }
        for (std::size_t i = 0; i < town.named.size(); ++i) {
            paint(town.named[i].body, namedId(i));
        }
        p.setPen(QPen(QColor::fromRgb(kWall), kWallWidth + 3, Qt::SolidLine, Qt::RoundCap));
        for (const auto& run : town.plan.wall) {
            p.drawPolyline(QPolygonF(QList<QPointF>(run.begin(), run.end())));
        }
        // A shipyard's slipways are kept as clear as the wall.
        p.setPen(
            QPen(QColor::fromRgb(kWall), 2 * kSlipwayHalfWidth + 2, Qt::SolidLine, Qt::FlatCap));
        for (const Building& b : town.named) {
            for (const auto& [from, to] : b.slipways) {
                p.drawLine(from, to);
            }
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(kWall));
        for (const QPointF& t : town.plan.towers) {
            p.drawEllipse(t, 10, 10);
        }
        // The door marks stay readable.
        for (const Building& b : town.named) {
            for (const Door& d : b.doors) {
                p.fillRect(QRectF(d.at - QPointF(5, 5), QSizeF(10, 10)), QColor::fromRgb(kLabel));
            }
        }
    }

    // Whether the box is clear for building `own`'s name; counts the houses in the way.
    bool clear(const QRect& r, QRgb own, std::set<QRgb>* houses = nullptr) const {
        if (!image_.rect().contains(r)) {
            return false;
        }
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb v = row[x];
                if (v == kFree || v == own) {
                    continue;
                }
                if (houses && (v & 0xFFFFFF) >= kHouseBase && v != kLabel && v != kWall) {
                    houses->insert(v);
                    continue;
                }
                return false;
            }
        }
        return true;
    }

    // Whether a leader line runs clear; over plain houses too when `overHouses`.
    bool clearLine(QPointF a, QPointF b, QRgb own, bool overHouses = false) const {
        for (const QPointF& s : resample({a, b}, 1.5)) {
            const QPoint q = s.toPoint();
            if (!image_.rect().contains(q)) {
                return false;
            }
            const QRgb v = image_.pixel(q);
            const bool house = (v & 0xFFFFFF) >= kHouseBase && v != kLabel && v != kWall;
            if (v != kFree && v != own && !(overHouses && house)) {
                return false;
            }
        }
        return true;
    }

    void mark(const QRectF& r, QRgb v) {
        QPainter p(&image_);
        p.fillRect(r, QColor::fromRgb(v));
    }

    // A leader line is kept clear too, so no later name or leader crosses it.
    void markLine(QPointF a, QPointF b) {
        QPainter p(&image_);
        p.setPen(QPen(QColor::fromRgb(kLabel), 3.0));
        p.drawLine(a, b);
    }

    void clearHouse(const Area& body) {
        QPainter p(&image_);
        p.setPen(Qt::NoPen);
        p.fillPath(pathOf(body), QColor::fromRgb(kFree));
    }

  private:
    QImage image_;
};

QRect pixels(const QRectF& r) {
    return r.adjusted(-2, -2, 2, 2).toAlignedRect();
}

QPointF nearestOnBox(const QRectF& r, QPointF p) {
    return {std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom())};
}

// The body's outline point nearest to `p`.
QPointF nearestOnBody(const Area& body, QPointF p) {
    QPointF best = p;
    double bestD = 1e18;
    for (const Poly& poly : body) {
        const QPolygonF ring = outer(poly);
        const Nearest n = nearestOnPolyline(p, std::vector<QPointF>(ring.begin(), ring.end()));
        if (n.distance < bestD) {
            bestD = n.distance;
            best = ring[static_cast<qsizetype>(n.segment)] +
                   (ring[static_cast<qsizetype>(n.segment + 1)] -
                    ring[static_cast<qsizetype>(n.segment)]) *
                       n.along;
        }
    }
    return best;
}

// Spots round the body, nearest first, standing off it by `gaps`.
std::vector<QRectF> spots(const QRectF& body, QSizeF size, std::initializer_list<double> gaps) {
    const double w = size.width();
    const double h = size.height();
    const QPointF c = body.center();
    std::vector<QRectF> out{QRectF(c - QPointF(w / 2, h / 2), size)};
    for (double gap : gaps) {
        out.emplace_back(QPointF(body.right() + gap, c.y() - h / 2), size);
        out.emplace_back(QPointF(body.left() - gap - w, c.y() - h / 2), size);
        out.emplace_back(QPointF(c.x() - w / 2, body.top() - gap - h), size);
        out.emplace_back(QPointF(c.x() - w / 2, body.bottom() + gap), size);
        out.emplace_back(QPointF(body.right() + gap, body.top() - gap - h), size);
        out.emplace_back(QPointF(body.left() - gap - w, body.top() - gap - h), size);
        out.emplace_back(QPointF(body.right() + gap, body.bottom() + gap), size);
        out.emplace_back(QPointF(body.left() - gap - w, body.bottom() + gap), size);
        for (double f : {0.25, 0.75}) {
            out.emplace_back(QPointF(body.left() + body.width() * f - w / 2, body.top() - gap - h),
                             size);
            out.emplace_back(QPointF(body.left() + body.width() * f - w / 2, body.bottom() + gap),
                             size);
        }
        // Beside the body but slid along it, for a small building hemmed in by a wall or a road.
        for (double f : {-0.5, 0.5}) {
            out.emplace_back(QPointF(body.right() + gap, c.y() + (h + 4) * f * 2 - h / 2), size);
            out.emplace_back(QPointF(body.left() - gap - w, c.y() + (h + 4) * f * 2 - h / 2), size);
            out.emplace_back(QPointF(c.x() + w * f - w / 2, body.top() - gap - h), size);
            out.emplace_back(QPointF(c.x() + w * f - w / 2, body.bottom() + gap), size);
        }
    }
    return out;
}

}  // namespace

QSizeF nameSize(const QString& text) {
    const QFontMetricsF m(mapFont(TypeFace::SansBold, 14));
    return {m.horizontalAdvance(text) + 6, m.ascent() + m.descent() + 1};
}

QSizeF titleSize(const QString& title) {
    const QFontMetricsF m(mapFont(TypeFace::PlanTitle, 44, 5));
    return {m.horizontalAdvance(title) + 48, 72};
}

NamePlan placeNames(Town& town, const QString& title) {
    NamePlan plan;
    Occupancy occupancy(town);
    auto giveWay = [&](const std::set<QRgb>& houses) {
        for (QRgb v : houses) {
            Lot& h = town.houses[(v & 0xFFFFFF) - kHouseBase];
            occupancy.clearHouse(h.body);
            h.body.clear();
            h.back.clear();
        }
    };
    // The title in the corner with the fewest houses under it.
    const QSizeF ts = titleSize(title);
    const QSize size = town.plan.size;
    const std::vector<QRectF> corners{
        QRectF(QPointF(16, 16), ts), QRectF(QPointF(size.width() - 16 - ts.width(), 16), ts),
        QRectF(QPointF(16, size.height() - 16 - ts.height()), ts),
        QRectF(QPointF(size.width() - 16 - ts.width(), size.height() - 16 - ts.height()), ts)};
    std::size_t fewest = 1u << 30;
    for (const QRectF& c : corners) {
        std::set<QRgb> houses;
        if (occupancy.clear(pixels(c), kFree, &houses) && houses.size() < fewest) {
            fewest = houses.size();
            plan.title = c;
        }
    }
    {
        std::set<QRgb> houses;
        occupancy.clear(pixels(plan.title), kFree, &houses);
        giveWay(houses);
        occupancy.mark(plan.title.adjusted(-4, -4, 4, 4), kLabel);
    }
    // Big buildings first: they have the most room round them.
    std::vector<std::size_t> order(town.named.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    for (std::size_t i : order) {
        const Building& b = town.named[i];
        const QRectF body = boundsOf(b.body);
        const QSizeF ns = nameSize(b.name);
        const QRgb own = namedId(i);
        std::optional<NamePlacement> found;
        // A clear spot beside the building first; then plain houses give way beside it; only
        // then does the name stand further off.
        auto search = [&](const std::vector<QRectF>& candidates, bool overHouses) {
            for (const QRectF& r : candidates) {
                std::set<QRgb> houses;
                if ((overHouses && r.intersects(body)) ||
                    !occupancy.clear(pixels(r), own, overHouses ? &houses : nullptr)) {
                    continue;
                }
                NamePlacement n{static_cast<int>(i), r, false, {}, {}};
                const QPointF to = nearestOnBody(b.body, r.center());
                const QPointF from = nearestOnBox(r, to);
                const bool standsOff = length(to - from) > 5 && !r.intersects(body);
                if (standsOff && !occupancy.clearLine(from, to, own, overHouses)) {
                    continue;
                }
                giveWay(houses);
                if (standsOff) {
                    n.leader = true;
                    n.leaderFrom = from;
                    n.leaderTo = to;
                }
                found = n;
                return;
            }
        };
        const std::vector<QRectF> near = spots(body, ns, {2.0, 7.0, 14.0, 24.0, 38.0});
        const std::vector<QRectF> far = spots(body, ns, {56.0, 80.0, 110.0, 140.0});
        for (const auto& [candidates, overHouses] :
             {std::pair{&near, false}, {&near, true}, {&far, false}, {&far, true}}) {
            if (!found) {
                search(*candidates, overHouses);
            }
        }
        if (!found) {
            throw std::runtime_error("no room for the name " + b.name.toStdString());
        }
        occupancy.mark(found->box, kLabel);
        if (found->leader) {
            occupancy.markLine(found->leaderFrom, found->leaderTo);
        }
        plan.names.push_back(*found);
    }
    std::erase_if(town.houses, [](const Lot& l) { return l.body.empty(); });
    return plan;
}

}  // namespace marventa::plan
