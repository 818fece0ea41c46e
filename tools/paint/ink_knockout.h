#pragma once

class QImage;
class QPainter;
class QPainterPath;

namespace marventa {

// Breaks the ink under and just round a name's letters, as an engraver stops the lines short of
// a name, while the colour beneath goes on: every pixel within `reach` of `glyphs` that is darker
// than the light ground round it (a line, a stroke of hatching, a mark) takes that ground's
// tone, read from `sheet` (the sheet as painted so far, which `painter` draws on). Running water
// goes on under the letters unless `water` (a large area's name, which an engraver breaks it for).
void knockOutInk(QPainter& painter, const QImage& sheet, const QPainterPath& glyphs, double reach,
                 bool water = false);

}  // namespace marventa
