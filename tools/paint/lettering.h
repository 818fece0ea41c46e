#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <optional>
#include <vector>

class QFont;

namespace marventa {

// A name as set on the sheet: its letters' outlines, the ground the whole name covers, and each
// letter's own inked box (turned with it), closer to what it really hides.
struct SetText {
    QPainterPath glyphs;
    QPolygonF footprint;
    std::vector<QPolygonF> letters;
};

// The text in one straight line centred on `centre` and turned by `degrees`; the footprint is
// its box widened by `padding`.
SetText setStraight(const QString& text, const QFont& font, QPointF centre, double degrees,
                    double padding);

// The letters of setStraight's text one by one, as inked.
std::vector<QPainterPath> lettersStraight(const QString& text, const QFont& font, QPointF centre,
                                          double degrees);

// The text letter by letter along `middle` (the line through the letters' middles, read from
// its first point), centred on the line's length; each letter turns with the line there. The
// footprint joins the letters' boxes into one ribbon. Nothing when the line is too short.
std::optional<SetText> setAlong(const QString& text, const QFont& font,
                                const std::vector<QPointF>& middle, double padding);

// Middle lines for a name `textLength` long beside `line` (a river), `offset` pixels to its
// left (negative: right), around `fraction` of its length; smoothed so the letters follow the
// line's sweep rather than its wiggles, read left to right. Nothing where the line bends too
// sharply there to read.
std::optional<std::vector<QPointF>> gentleStretch(const std::vector<QPointF>& line, double fraction,
                                                  double textLength, double offset,
                                                  double bendiness = 1.0);

}  // namespace marventa
