#pragma once

#include <QPolygonF>
#include <QRectF>
#include <optional>
#include <vector>

namespace marventa {

// Keeps the rectangles already taken by symbols and labels, and finds free room for a new label.
class LabelPlacer {
  public:
    explicit LabelPlacer(QRectF bounds) : bounds_(bounds) {}

    void reserve(const QRectF& r) { taken_.push_back(r); }

    bool isFree(const QRectF& r) const;

    // For turned labels: the box's corners after turning.
    bool isFree(const QPolygonF& turned) const;
    void reserve(const QPolygonF& turned) { reserve(turned.boundingRect()); }

    // The first of `candidates` that lies inside the bounds and overlaps nothing taken; it is
    // reserved. Empty when none is free.
    std::optional<QRectF> place(const std::vector<QRectF>& candidates);

    // Candidate boxes of `size` around a symbol of radius `gap` at `at`: right, left, above,
    // below, then the four diagonals.
    static std::vector<QRectF> around(QPointF at, QSizeF size, double gap);

  private:
    QRectF bounds_;
    std::vector<QRectF> taken_;
};

}  // namespace marventa
