#pragma once

#include "browser/ports.h"
#include "picture_control.h"
#include "pictures/picture.h"

namespace marventa {

// Image1: the map picture at one screen pixel per picture pixel, so its own coordinates are
// picture coordinates. It shares a holder's compressed bytes, decodes them on the first paint,
// keeps the pixels for repainting and paints only the exposed part, straight from them. Its size is
// the content's, set by the scroll box: past a smaller picture it shows the button face.
class MapImage : public PictureControl, public PicturePort {
    Q_OBJECT

  public:
    explicit MapImage(QWidget* parent);

    void putPicture(const PictureHolder& holder) override;
    Size pictureSize() const override;

    // The holder of the picture shown, or null before the first one.
    const PictureHolder* holder() const { return holder_; }
    bool isDecoded() const { return !pixels_.empty(); }

  signals:
    // After a paint that drew decoded pixels.
    void painted();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PictureHolder* holder_ = nullptr;
    Picture pixels_;
    bool decodeFailed_ = false;
};

}  // namespace marventa
