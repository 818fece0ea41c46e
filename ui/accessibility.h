#pragma once

#include <QAccessible>

class QWidget;

namespace marventa {

// Installs the accessible interfaces this window needs beyond the toolkit's own. Run once, when
// the application exists and before any widget is built.
void installAccessibility();

// A container (no text or value of its own) heard with `role` instead of the toolkit's guess:
// "filler" for a plain widget, "frame" for a QFrame. Screen readers take a frame for a top-level
// window and drop the focus events inside one that is not active. Set before the widget is
// first shown.
void exposeAs(QWidget& container, QAccessible::Role role);

}  // namespace marventa
