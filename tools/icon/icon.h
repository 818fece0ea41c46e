#pragma once

#include <QImage>

#include "tools/encode/ico_writer.h"

namespace marventa {

// The window icon: a compass rose over a folded map, painted at `size` x `size` pixels with an
// alpha channel; `smooth` off gives hard edges for the few-colour variants.
QImage paintIcon(int size, bool smooth = true);

// Reduces an icon picture to at most 2^bits - 1 colours plus one transparent entry (alpha below
// one half becomes transparent), by median cut over the opaque pixels.
IconImage quantiseIcon(const QImage& argb, int bits);

}  // namespace marventa
