#pragma once

#include <optional>

#include "browser/ports.h"
#include "picture_control.h"
#include "pictures/display_picture.h"

namespace marventa {

// Image1: the map picture at one screen pixel per picture pixel, so its own coordinates are
// picture coordinates. It holds a display copy of a holder's picture, decodes it on the first
// paint and paints only the exposed part, straight from the decoded pixels. Its size is the
// content's, set by the scroll box: past a smaller picture it shows the button face.
class MapImage : public PictureControl, public PicturePort {
    Q_OBJECT

  public:
    explicit MapImage(QWidget* parent);

    void putPicture(const PictureHolder& holder) override;
    Size pictureSize() const override;

    // The holder of the picture shown, or null before the first one.
    const PictureHolder* holder() const;
    bool isDecoded() const { return picture_ && picture_->isDecoded(); }
    // The first paint of the picture shown takes its pixels from `ahead` if it decodes that
    // picture (the start-up map).
    void decodeFrom(DecodeAhead& ahead) {
        if (picture_) {
            picture_->decodeFrom(ahead);
        }
    }

  signals:
    // After a paint that drew decoded pixels.
    void painted();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<DisplayPicture> picture_;
    bool decodeFailed_ = false;
};

}  // namespace marventa
