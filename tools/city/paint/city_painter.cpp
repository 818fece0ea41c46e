#include "city_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "relief.h"
#include "tools/common/labels.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

using namespace plan;

namespace {

const QColor kInk(52, 38, 28);
const QColor kPaper(234, 228, 205);
const QColor kStreet(232, 222, 200);
const QColor kYard(208, 207, 170);
const QColor kWater(160, 192, 206);
const QColor kWaterLine(70, 110, 130);
const QColor kStone(118, 108, 98);
const QColor kRoadColour(222, 204, 166);
const QColor kDoorFrame(40, 26, 18);

QPolygonF polyline(const std::vector<QPointF>& pts) {
    return QPolygonF(QList<QPointF>(pts.begin(), pts.end()));
}

QColor shade(QColor c, double f) {
    return QColor::fromRgbF(static_cast<float>(c.redF() * f), static_cast<float>(c.greenF() * f),
                            static_cast<float>(c.blueF() * f));
}

void drawTree(QPainter& p, QPointF at, double r, Rng& rng) {
    const QColor leaf(128 + rng.below(14), 150 + rng.below(14), 104);
    p.setPen(QPen(shade(leaf, 0.82), 0.8));
    p.setBrush(leaf);
    p.drawEllipse(at, r, r);
}

// Fields, orchards, meadows and woods in the patches outside the wall.
void drawCountry(QPainter& p, const Town& town, bool plain) {
    const TownPlan& plan = town.plan;
    for (std::size_t i = 0; i < plan.cells.size(); ++i) {
        const Cell& c = plan.cells[i];
        if (c.town || c.shape.empty()) {
            continue;
        }
        Rng rng(mix64(plan.site->seed * 131 + i));
        // On the large map the fields meet without a verge between them, for its file's sake.
        const Area field = subtract(plain ? c.shape : grow(c.shape, -3), plan.marsh);
        if (field.empty()) {
            continue;
        }
        const QPainterPath path = pathOf(field);
        const double use = rng.uniform();
        const QRectF box = path.boundingRect();
        p.save();
        p.setClipPath(path);
        if (plain) {
            // Flat fields only: the large map's bytes go to its town.
            const QColor tones[] = {QColor(216, 210, 168), QColor(206, 210, 160),
                                    QColor(222, 214, 176)};
            p.fillPath(path, tones[rng.below(3)]);
        } else if (use < 0.5) {
            // Ploughed strips.
            const QColor tones[] = {QColor(214, 206, 160), QColor(200, 204, 150),
                                    QColor(222, 212, 170), QColor(190, 198, 148)};
            p.fillPath(path, tones[rng.below(4)]);
            const double a = rng.range(0, std::numbers::pi);
            const QPointF d(std::cos(a), std::sin(a));
            const QPointF n(-d.y(), d.x());
            p.setPen(QPen(QColor(150, 140, 100, 50), 1.0));
            const QPointF c0 = box.center();
            const double reach = box.width() + box.height();
            for (double t = -reach / 2; t < reach / 2; t += 18) {
                p.drawLine(c0 + n * t - d * reach, c0 + n * t + d * reach);
            }
        } else if (use < 0.72) {
            // Orchard rows.
            p.fillPath(path, QColor(206, 210, 166));
            for (double y = box.top() + 8; y < box.bottom(); y += 20) {
                for (double x = box.left() + 8 + (static_cast<int>(y) / 20 % 2) * 10;
                     x < box.right(); x += 20) {
                    drawTree(p, QPointF(x, y), 3.6, rng);
                }
            }
        } else if (use < 0.88) {
            p.fillPath(path, QColor(212, 216, 176));
        } else {
            // A copse.
            p.fillPath(path, QColor(184, 196, 150));
            // On the large map a copse is its tone alone: the file's bytes go to the town.
            for (int k = 0; !plain && k < static_cast<int>(box.width() * box.height() / 300); ++k) {
                drawTree(
                    p,
                    QPointF(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom())),
                    rng.range(4, 7), rng);
            }
        }
        p.restore();
        // On the large map only its hedges' tones part the fields.
        if (!plain) {
            p.setPen(QPen(QColor(150, 150, 110), 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
    }
    // Marsh: reeds in tufts.
    const QPainterPath marsh = pathOf(plan.marsh);
    p.fillPath(marsh, QColor(196, 206, 178));
    Rng rng(plan.site->seed ^ 0x3A55);
    p.save();
    p.setClipPath(marsh);
    p.setPen(QPen(QColor(96, 120, 96), 1.0));
    const QRectF mb = marsh.boundingRect();
    for (int k = 0; k < static_cast<int>(mb.width() * mb.height() / 260); ++k) {
        const QPointF at(rng.range(mb.left(), mb.right()), rng.range(mb.top(), mb.bottom()));
        p.drawLine(at, at + QPointF(-3, -5));
        p.drawLine(at, at + QPointF(0, -6));
        p.drawLine(at, at + QPointF(3, -5));
        p.drawLine(at + QPointF(-5, 0), at + QPointF(5, 0));
    }
    p.restore();
}

void drawWater(QPainter& p, const Town& town) {
    const TownPlan& plan = town.plan;
    const QPainterPath water = pathOf(plan.water);
    p.fillPath(water, kWater);
    p.save();
    p.setClipPath(water);
    p.setBrush(Qt::NoBrush);
    for (const auto& [d, alpha] : {std::pair{-8.0, 90}, {-20.0, 45}}) {
        p.setPen(QPen(QColor(90, 130, 150, alpha), 1.0));
        p.drawPath(pathOf(grow(plan.water, d)));
    }
    p.restore();
    p.setPen(QPen(kWaterLine, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(water);
}

void drawRoads(QPainter& p, const Town& town) {
    const TownPlan& plan = town.plan;
    p.setBrush(Qt::NoBrush);
    for (const auto& r : plan.roads) {
        p.setPen(
            QPen(QColor(160, 140, 104), kRoad + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(polyline(r));
    }
    for (const auto& r : plan.roads) {
        p.setPen(QPen(kRoadColour, kRoad, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(polyline(r));
    }
    for (const QPointF& l : plan.landings) {
        // A timber landing stage out into the water, on the line of the road that ends there:
        // a planked walk to a head where boats lie alongside, on posts.
        QPointF d = (l - plan.site->centre) / length(l - plan.site->centre);
        for (const auto& r : plan.roads) {
            if (r.size() > 1 && length(r.back() - l) < 1) {
                d = (r.back() - r[r.size() - 2]) / length(r.back() - r[r.size() - 2]);
            }
        }
        const QPointF n(-d.y(), d.x());
        const QPointF head = l + d * 26;
        const QColor timber(150, 112, 74);
        p.setPen(QPen(QColor(90, 64, 42), 1.0));
        p.setBrush(timber);
        p.drawPolygon(QPolygonF{l + n * 4, head + n * 4, head - n * 4, l - n * 4});
        p.drawPolygon(
            QPolygonF{head + n * 13, head + n * 13 + d * 8, head - n * 13 + d * 8, head - n * 13});
        p.setPen(QPen(QColor(110, 80, 54), 0.8));
        for (double t = 3; t < 26; t += 3) {
            p.drawLine(l + d * t + n * 4, l + d * t - n * 4);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 50, 34));
        for (int side : {-1, 1}) {
            for (const QPointF at : {head + n * (side * 13), head + n * (side * 13) + d * 8}) {
                p.drawEllipse(at, 1.8, 1.8);
            }
        }
    }
}

void drawBridges(QPainter& p, const Town& town) {
    for (const Bridge& b : town.plan.bridges) {
        const QPointF d = (b.to - b.from) / length(b.to - b.from);
        const QPointF n(-d.y(), d.x());
        const QPointF a = b.from - d * 6;
        const QPointF e = b.to + d * 6;
        const double h = kRoad / 2 + 3;
        const QPolygonF deck{a + n * h, e + n * h, e - n * h, a - n * h};
        p.setPen(QPen(kStone, 1.4));
        p.setBrush(QColor(214, 204, 184));
        p.drawPolygon(deck);
        p.setPen(QPen(kStone, 2.2));
        p.drawLine(a + n * (h - 1.5), e + n * (h - 1.5));
        p.drawLine(a - n * (h - 1.5), e - n * (h - 1.5));
    }
}

// A shipyard's slipways: timber ramps with their cross-ties, a hull on the middle one.
void drawSlipways(QPainter& p, const Town& town) {
    for (const Building& b : town.named) {
        for (std::size_t k = 0; k < b.slipways.size(); ++k) {
            const auto& [from, to] = b.slipways[k];
            const double len = length(to - from);
            const QPointF d = (to - from) / len;
            const QPointF n(-d.y(), d.x());
            const double h = kSlipwayHalfWidth;
            p.setPen(QPen(QColor(90, 64, 42), 1.0));
            p.setBrush(QColor(150, 112, 74));
            p.drawPolygon(QPolygonF{from + n * h, to + n * h, to - n * h, from - n * h});
            p.setPen(QPen(QColor(110, 80, 54), 0.8));
            for (double t = 3; t < len; t += 4) {
                p.drawLine(from + d * t + n * h, from + d * t - n * h);
            }
            if (k == b.slipways.size() / 2) {
                const QPointF m = from + d * (len * 0.45);
                p.setPen(QPen(QColor(70, 50, 34), 1.0));
                p.setBrush(QColor(196, 170, 128));
                p.drawPolygon(QPolygonF{m - d * 14, m - d * 6 + n * 3, m + d * 12 + n * 3,
                                        m + d * 14, m + d * 12 - n * 3, m - d * 6 - n * 3});
            }
        }
    }
}

void drawMoles(QPainter& p, const Town& town) {
    for (const auto& m : town.plan.site->moles) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kStone, 16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(polyline(m));
        p.setPen(QPen(QColor(204, 196, 178), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(polyline(m));
    }
}

void drawTown(QPainter& p, const Town& town, bool plain) {
    const TownPlan& plan = town.plan;
    p.fillPath(pathOf(plan.town), kStreet);
    // The quay's stone edge.
    p.save();
    p.setClipPath(pathOf(grow(plan.town, 2)));
    p.setPen(QPen(kStone, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pathOf(plan.water));
    p.restore();
    p.setPen(QPen(QColor(170, 156, 128), 1.0));
    p.setBrush(QColor(238, 230, 212));
    p.drawPath(pathOf(town.market));
    Rng rng(plan.site->seed ^ 0x7A2D);
    // On the large map a wide yard's heart is a kitchen garden, one flat tone that costs its file
    // next to nothing, so the big blocks do not read empty.
    std::vector<Area> built(plain ? plan.blocks.size() : 0);
    for (const Lot& h : town.houses) {
        if (h.cell >= 0 && static_cast<std::size_t>(h.cell) < built.size()) {
            built[static_cast<std::size_t>(h.cell)].push_back(largest(grow(h.body, 5)));
        }
    }
    for (std::size_t i = 0; i < plan.blocks.size(); ++i) {
        if (plan.cells[i].ward != Ward::Houses || plan.blocks[i].empty()) {
            continue;
        }
        const QPainterPath block = pathOf(plan.blocks[i]);
        p.fillPath(block, kYard);
        if (plain) {
            Area houses;
            for (const Poly& h : built[i]) {
                houses = unite(houses, Area{h});
            }
            for (const Poly& piece : subtract(grow(plan.blocks[i], -6), houses)) {
                if (areaOf(piece) > 2500) {
                    p.fillPath(pathOf(grow(Area{piece}, -2)), QColor(192, 202, 150));
                }
            }
        }
        const QRectF box = block.boundingRect();
        for (int k = 0; !plain && k < static_cast<int>(box.width() * box.height() / 4000); ++k) {
            const QPointF at(rng.range(box.left(), box.right()),
                             rng.range(box.top(), box.bottom()));
            if (block.contains(at)) {
                drawTree(p, at, rng.range(3, 5), rng);
            }
        }
    }
    for (const Grounds& g : town.grounds) {
        const QPainterPath path = pathOf(g.area);
        switch (g.of) {
            case Shape::Church: {
                p.fillPath(path, QColor(196, 204, 166));
                // Graves in rows.
                p.save();
                p.setClipPath(path);
                p.setPen(QPen(QColor(120, 116, 100), 1.2));
                const QRectF b = path.boundingRect();
                for (double y = b.top() + 6; y < b.bottom(); y += 12) {
                    for (double x = b.left() + 5; x < b.right(); x += 10) {
                        if (rng.chance(0.4)) {
                            p.drawLine(QPointF(x, y), QPointF(x, y + 4));
                            p.drawLine(QPointF(x - 1.5, y + 1.3), QPointF(x + 1.5, y + 1.3));
                        }
                    }
                }
                p.restore();
                break;
            }
            case Shape::Garden: {
                p.fillPath(path, QColor(178, 200, 142));
                const QRectF b = path.boundingRect();
                for (int k = 0; k < static_cast<int>(b.width() * b.height() / 500); ++k) {
                    const QPointF at(rng.range(b.left(), b.right()),
                                     rng.range(b.top(), b.bottom()));
                    if (path.contains(at)) {
                        drawTree(p, at, rng.range(4, 7), rng);
                    }
                }
                break;
            }
            default:
                p.fillPath(path, QColor(226, 218, 198));
                break;
        }
        p.setPen(QPen(QColor(150, 136, 110), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

void drawRoofs(QPainter& p, const Area& body, const Area& back, QColor roof, QColor edge,
               bool plain = false) {
    p.setPen(Qt::NoPen);
    p.fillPath(pathOf(body), roof);
    if (!plain) {
        p.fillPath(pathOf(back), shade(roof, 0.8));
    }
    p.setPen(QPen(edge, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pathOf(body));
}

void drawHouses(QPainter& p, const Town& town, bool plain) {
    const QColor roofs[] = {QColor(190, 128, 98), QColor(178, 116, 90), QColor(196, 140, 104),
                            QColor(172, 124, 100), QColor(184, 134, 112)};
    Rng rng(town.plan.site->seed ^ 0x4005);
    for (const Lot& h : town.houses) {
        const QColor roof = plain ? QColor(206, 160, 130) : roofs[rng.below(5)];
        drawRoofs(p, h.body, h.back, roof, plain ? shade(roof, 0.9) : QColor(130, 88, 70), plain);
    }
}

// A range's hipped roof: the ridge along its length, hips to the corners, the slopes turned
// from the north-western light shaded.
void drawWing(QPainter& p, const Wing& w, QColor fill, QColor edge) {
    QPointF u = w.u;
    double hu = w.hu;
    double hv = w.hv;
    if (hu < hv) {
        u = QPointF(u.y(), -u.x());
        std::swap(hu, hv);
    }
    const QPointF v(-u.y(), u.x());
    const QPointF corner[4] = {w.c - u * hu - v * hv, w.c + u * hu - v * hv, w.c + u * hu + v * hv,
                               w.c - u * hu + v * hv};
    const QPointF ridge[2] = {w.c - u * (hu - hv), w.c + u * (hu - hv)};
    const QPolygonF faces[4] = {{corner[0], corner[1], ridge[1], ridge[0]},
                                {corner[1], corner[2], ridge[1]},
                                {corner[2], corner[3], ridge[0], ridge[1]},
                                {corner[3], corner[0], ridge[0]}};
    const QPointF normals[4] = {-v, u, v, -u};
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        const double lit = -(normals[k].x() + normals[k].y()) / std::numbers::sqrt2;
        p.setBrush(shade(fill, 0.92 + 0.12 * lit));
        p.drawPolygon(faces[k]);
    }
    p.setPen(QPen(shade(fill, 0.62), 0.9));
    p.drawLine(ridge[0], ridge[1]);
    for (int k = 0; k < 4; ++k) {
        p.drawLine(corner[k], ridge[k == 0 || k == 3 ? 0 : 1]);
    }
    p.setPen(QPen(edge, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF{corner[0], corner[1], corner[2], corner[3]});
}

void drawNamed(QPainter& p, const Town& town) {
    for (const Building& b : town.named) {
        const QPainterPath path = pathOf(b.body);
        switch (b.shape) {
            case Shape::House:
            case Shape::Hall:
                drawRoofs(p, b.body, b.back, QColor(168, 72, 56), QColor(70, 30, 24));
                break;
            case Shape::Arena: {
                // Sand on the floor inside the stands.
                QPainterPath floor;
                for (const Poly& piece : b.body) {
                    for (const auto& hole : piece.inners()) {
                        QPolygonF q;
                        for (const Pt& v : hole) {
                            q << QPointF(v.x(), v.y());
                        }
                        floor.addPolygon(q);
                    }
                }
                p.fillPath(floor, QColor(222, 204, 160));
                p.setPen(QPen(QColor(90, 70, 50), 1.4));
                p.setBrush(QColor(200, 176, 136));
                p.drawPath(path);
                p.save();
                p.setClipPath(path);
                p.setPen(QPen(QColor(150, 120, 90), 1.0));
                for (double k = 0.2; k < 1; k += 0.2) {
                    p.drawPath(pathOf(grow(b.body, -k * 10)));
                }
                // The stands in sections, stairs between them.
                const QRectF box = path.boundingRect();
                const double reach = box.width() + box.height();
                p.setPen(QPen(QColor(110, 86, 62), 1.1));
                for (int k = 0; k < 36; ++k) {
                    const double a = std::numbers::pi * k / 18;
                    p.drawLine(box.center(),
                               box.center() + QPointF(std::cos(a), std::sin(a)) * reach);
                }
                p.restore();
                // The colonnade round its outer wall.
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(70, 54, 40));
                for (const QPolygonF& ring : outers(grow(b.body, -3))) {
                    for (const QPointF& at :
                         resample(std::vector<QPointF>(ring.begin(), ring.end()), 7)) {
                        p.drawEllipse(at, 1.5, 1.5);
                    }
                }
                break;
            }
            case Shape::Garden:
                p.setPen(QPen(QColor(70, 100, 60), 2.0));
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
                break;
            case Shape::Court:
                if (!b.wings.empty()) {
                    const QColor fill(170, 124, 100);
                    p.setPen(QPen(QColor(50, 40, 36), 1.4));
                    p.setBrush(shade(fill, 0.85));
                    p.drawPath(path);
                    for (const Wing& w : b.wings) {
                        drawWing(p, w, fill, QColor(50, 40, 36));
                    }
                    p.setPen(QPen(QColor(50, 40, 36), 1.2));
                    p.setBrush(QColor(150, 140, 130));
                    p.drawPath(pathOf(b.rounds));
                    p.setPen(QPen(QColor(118, 108, 98), 0.9));
                    p.setBrush(Qt::NoBrush);
                    p.drawPath(pathOf(grow(b.rounds, -3)));
                    break;
                }
                [[fallthrough]];
            default: {
                const QColor fill = b.shape == Shape::Church ? QColor(150, 140, 150)
                                    : b.shape == Shape::Keep || b.shape == Shape::Tower ||
                                            b.shape == Shape::Gatehouse
                                        ? QColor(142, 134, 124)
                                        : QColor(164, 120, 100);
                p.setPen(QPen(QColor(50, 40, 36), 1.4));
                p.setBrush(fill);
                p.drawPath(path);
                // A ridge line down the middle of long roofs.
                if (b.shape == Shape::Church || b.shape == Shape::Court ||
                    b.shape == Shape::Palace) {
                    p.setPen(QPen(shade(fill, 0.7), 1.0));
                    p.setBrush(Qt::NoBrush);
                    p.drawPath(pathOf(grow(b.body, -5)));
                }
                break;
            }
        }
    }
}

void drawWall(QPainter& p, const Town& town) {
    const TownPlan& plan = town.plan;
    p.setBrush(Qt::NoBrush);
    for (const auto& run : plan.wall) {
        p.setPen(
            QPen(QColor(60, 52, 46), kWallWidth + 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(polyline(run));
        p.setPen(
            QPen(QColor(150, 140, 128), kWallWidth - 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(polyline(run));
    }
    p.setPen(QPen(QColor(60, 52, 46), 1.6));
    p.setBrush(QColor(150, 140, 128));
    for (const QPointF& t : plan.towers) {
        p.drawEllipse(t, 8, 8);
    }
}

void drawNames(QPainter& p, const Town& town, const NamePlan& names) {
    const TextStyle style{mapFont(TypeFace::SansBold, 14), kInk, QColor(255, 250, 236, 235), 2.6};
    for (const NamePlacement& n : names.names) {
        if (n.leader) {
            p.setPen(QPen(kInk, 1.2));
            p.drawLine(n.leaderFrom, n.leaderTo);
            p.setBrush(kInk);
            p.drawEllipse(n.leaderTo, 1.8, 1.8);
        }
        drawHaloTextCentred(p, town.named[static_cast<std::size_t>(n.building)].name,
                            n.box.center(), style);
    }
}

// A door: a small ochre leaf with an ink frame straddling the building's edge, its sill on the
// street, so that the row's point shows on what it names and cannot be taken for a window, tower
// or tree.
void drawDoors(QPainter& p, const Town& town) {
    p.setPen(QPen(kDoorFrame, 1.3));
    p.setBrush(kDoor);
    for (const Building& b : town.named) {
        for (const Door& d : b.doors) {
            const QPointF u = d.outward;
            const QPointF v(-u.y(), u.x());
            const double w = kDoorWidth / 2;
            const double in = 3.0;
            const double out = kDoorDepth - in;
            p.drawPolygon(QPolygonF{d.at - u * in - v * w, d.at + u * out - v * w,
                                    d.at + u * out + v * w, d.at - u * in + v * w});
        }
    }
}

void drawTitle(QPainter& p, const QString& title, const QRectF& box) {
    const TextStyle style{mapFont(TypeFace::PlanTitle, 44, 5), kInk, QColor(250, 243, 222), 1.0};
    drawPanel(p, box, kInk, 8, 5);
    drawHaloTextCentred(p, title, box.center(), style);
}

// Softens a very large map by a [1 2 1] kernel each way: the hard edges of thousands of roofs
// are what fill its file; a quarter-pixel softening keeps them sharp to the eye.
void soften(QImage& image) {
    const int w = image.width();
    const int h = image.height();
    std::vector<QRgb> row(static_cast<std::size_t>(w));
    auto mixed = [](QRgb a, QRgb b, QRgb c) {
        return qRgb((qRed(a) + 2 * qRed(b) + qRed(c) + 2) / 4,
                    (qGreen(a) + 2 * qGreen(b) + qGreen(c) + 2) / 4,
                    (qBlue(a) + 2 * qBlue(b) + qBlue(c) + 2) / 4);
    };
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::copy(line, line + w, row.begin());
        for (int x = 1; x + 1 < w; ++x) {
            line[x] = mixed(row[static_cast<std::size_t>(x - 1)], row[static_cast<std::size_t>(x)],
                            row[static_cast<std::size_t>(x + 1)]);
        }
    }
    std::vector<QRgb> above(static_cast<std::size_t>(w));
    std::copy(reinterpret_cast<const QRgb*>(image.constScanLine(0)),
              reinterpret_cast<const QRgb*>(image.constScanLine(0)) + w, above.begin());
    for (int y = 1; y + 1 < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const QRgb* below = reinterpret_cast<const QRgb*>(image.constScanLine(y + 1));
        for (int x = 0; x < w; ++x) {
            const QRgb here = line[x];
            line[x] = mixed(above[static_cast<std::size_t>(x)], here, below[x]);
            above[static_cast<std::size_t>(x)] = here;
        }
    }
}

// How strongly the relief shades each pixel: fully on open ground and yards, softly on streets
// and roads, not on water.
QImage reliefWeight(const TownPlan& plan) {
    QImage weight(plan.size, QImage::Format_Grayscale8);
    weight.fill(255);
    QPainter m(&weight);
    m.setRenderHint(QPainter::Antialiasing);
    m.fillPath(pathOf(plan.town), QColor(110, 110, 110));
    for (const Area& block : plan.blocks) {
        m.fillPath(pathOf(block), Qt::white);
    }
    m.fillPath(pathOf(plan.roadGround), QColor(110, 110, 110));
    m.fillPath(pathOf(plan.water), Qt::black);
    m.end();
    return weight;
}

// Where hachures may fall: open ground and, unless the map must stay plain, yards; never streets,
// roads or water.
QPainterPath slopeGround(const TownPlan& plan, bool plain) {
    QPainterPath ground = pathOf(subtract(subtract(plan.land, plan.town), plan.roadGround));
    for (const Area& block : plain ? std::vector<Area>{} : plan.blocks) {
        ground.addPath(pathOf(block));
    }
    return ground;
}

}  // namespace

QImage paintCity(const Town& town, const NamePlan& names, const QString& title) {
    const QSize size = town.plan.size;
    // A very large map keeps to flatter fills so that its file stays small.
    const bool plain = static_cast<double>(size.width()) * size.height() > 3e6;
    QImage image(size, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawCountry(p, town, plain);
    drawWater(p, town);
    drawRoads(p, town);
    drawMoles(p, town);
    drawTown(p, town, plain);
    const Relief relief(*town.plan.site);
    if (!relief.empty()) {
        p.end();
        shadeRelief(image, relief, reliefWeight(town.plan));
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.save();
        p.setClipPath(slopeGround(town.plan, plain));
        drawSlopes(p, relief, plain);
        p.restore();
        p.save();
        p.setClipPath(
            pathOf(subtract(plan::intersect(town.plan.land, town.plan.town), town.plan.water)));
        drawFormLines(p, relief);
        p.restore();
    }
    drawBridges(p, town);
    drawSlipways(p, town);
    drawHouses(p, town, plain);
    drawNamed(p, town);
    drawWall(p, town);
    if (!relief.empty() && !plain) {
        // The roofs shaded too, more softly, so the hill shows through a packed town (not on the
        // large map, whose file has no bytes to spare).
        QImage roofs(size, QImage::Format_Grayscale8);
        roofs.fill(0);
        QPainter m(&roofs);
        m.setRenderHint(QPainter::Antialiasing);
        for (const Lot& h : town.houses) {
            m.fillPath(pathOf(h.body), QColor(170, 170, 170));
        }
        m.end();
        p.end();
        shadeRelief(image, relief, roofs);
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
    }
    if (plain) {
        p.end();
        soften(image);
        soften(image);
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
    }
    drawNames(p, town, names);
    drawDoors(p, town);
    drawTitle(p, title, names.title);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 3.0));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    p.end();
    return image;
}

}  // namespace marventa
