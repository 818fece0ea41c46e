#pragma once

#include <QImage>
#include <QPainter>
#include <vector>

#include "tools/city/plan/town_plan.h"

namespace marventa {

// The ground's height from a site's rises: each a roughened dome whose outline wavers with the
// direction from its top, so that its level lines can be drawn exactly. A crag has gentle lower
// slopes, then a band of cliff under a small top.
class Relief {
  public:
    explicit Relief(const CityLayout& site);

    // Height in map pixels (about a third of the rise's radius at its top).
    double height(QPointF at) const;
    bool empty() const { return rises_.empty(); }

    // The level line of rise `i` at `t` (0 at the foot, 1 at the top) as a closed ring.
    std::vector<QPointF> level(std::size_t i, double t) const;
    std::size_t count() const { return rises_.size(); }
    bool isCrag(std::size_t i) const { return rises_[i].crag; }
    // The cliff band of a crag, as fractions t of the way from foot to top.
    static constexpr double kCliffFrom = 0.5;
    static constexpr double kCliffTo = 0.68;

  private:
    double reach(std::size_t i, QPointF dir) const;  // the rise's radius in direction `dir`
    double profile(std::size_t i, double t) const;   // height fraction at `t`

    std::vector<Rise> rises_;
    std::uint64_t seed_;
};

// Shades the painted ground as lit from the north-west. `weight` (0 .. 255 per pixel) says how
// strongly: full on open ground and yards, softly on streets and roads, not at all on water.
void shadeRelief(QImage& image, const Relief& relief, const QImage& weight);

// Hachures down the steeper slopes, a form line at each rise's foot, and a crag's rock, drawn
// within the painter's clip.
void drawSlopes(QPainter& p, const Relief& relief, bool sparse);

// Level lines up a rise, faint and dashed, drawn over its streets and yards so that a town on
// a hill shows the hill through its buildings.
void drawFormLines(QPainter& p, const Relief& relief);

}  // namespace marventa
