#pragma once

#include <QPlainTextEdit>

namespace marventa {

// A read-only multi-line text. Its lines are laid out by the toolkit's text document, so on a
// device whose pixel ratio the window's bitmap face does not fit, the document takes the
// scalable face instead; checked at every paint, like the other texts of the window.
class Memo : public QPlainTextEdit {
  public:
    Memo(const QString& text, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace marventa
