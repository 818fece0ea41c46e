#pragma once

#include <QAccessible>

class QLabel;
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

// Offers a label's caption as text as well as its name: a screen reader that reads a status
// bar's parts through their text alone hears it. Set before the label is first shown.
void offerAsText(QLabel& label);

// Leaves `part` out of what a screen reader is told its parent holds: for a part only the mouse
// can use and that no role fits (a size grip is heard as "unknown"). The parent must be exposed
// with exposeAs. Set before the parent is first shown.
void hideFromScreenReaders(QWidget& part);

}  // namespace marventa
