// Project1: the program entry.

#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

#include "application.h"
#include "map_image.h"
#include "pictures/picture.h"
#include "unit1.h"

namespace {

// For the packaging test and the start-up benchmark: with MARVENTA_EXIT_AFTER_FIRST_PAINT set,
// the program reports the first picture it painted on stdout, once the frame that painted it is
// complete, and quits.
void exitAfterFirstPaint(marventa::MapImage& image1) {
    QObject::connect(
        &image1, &marventa::MapImage::painted, &image1,
        [&image1] {
            // Queued behind the paint pass, which goes on with the other widgets and the flush.
            QTimer::singleShot(0, &image1, [&image1] {
                const marventa::PictureHolder* holder = image1.holder();
                std::printf("painted %s %dx%d\n", holder->name().c_str(), holder->width(),
                            holder->height());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        },
        Qt::SingleShotConnection);
}

}  // namespace

int main(int argc, char** argv) {
    // The window shows the province map first. Its decode takes about as long as the toolkit's
    // start-up, so it runs beside it; the first paint takes what it decoded.
    try {
        const marventa::PictureSet& pictures = marventa::PictureSet::embedded();
        pictures.prefetch(pictures.holder(marventa::kProvinceHolder));
    } catch (const std::exception&) {
        // The window meets the same error below and reports it.
    }
    marventa::Application app(argc, argv);
    std::unique_ptr<marventa::TForm1> form;
    try {
        form = std::make_unique<marventa::TForm1>(marventa::PictureSet::embedded());
    } catch (const std::exception& error) {
        app.reportError(QString::fromUtf8(error.what()));
        return 1;
    }
    if (qEnvironmentVariableIsSet("MARVENTA_EXIT_AFTER_FIRST_PAINT")) {
        exitAfterFirstPaint(*form->widgets().Image1);
    }
    form->show();
    return app.exec();
}
