#include "window_session.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include "browser/browser.h"
#include "catalogue/city_directory.h"
#include "pictures/picture.h"
#include "ui/map_image.h"
#include "ui/notebook.h"
#include "ui/overview_control.h"
#include "ui/radio_button.h"
#include "ui/scroll_box.h"
#include "ui/tab_bar.h"
#include "ui/unit1.h"

namespace marventa::bench {

namespace {

constexpr int kStandardPage = 0;
constexpr int kCitiesPage = 1;
constexpr auto kPaintTimeout = std::chrono::seconds(60);

long long processCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

long long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        if (name == field) {
            long long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

}  // namespace

long long residentKb() {
    return statusKb("VmRSS:");
}

long long peakResidentKb() {
    return statusKb("VmHWM:");
}

WindowSession::WindowSession() : form_(std::make_unique<TForm1>(PictureSet::embedded())) {
    const FormWidgets& ui = form_->widgets();
    ui.Image1->installEventFilter(this);
    ui.Image2->installEventFilter(this);
    ui.ScrollBox1->installEventFilter(this);
    connect(ui.ScrollBox1, &ScrollBox::realigned, this, [this] {
        if (counting_) {
            ++counts_.realigns;
        }
    });
    connect(ui.Image1, &MapImage::painted, this, [this] {
        paintedAt_ = Clock::now();
        painted_ = true;
    });
}

WindowSession::~WindowSession() = default;

bool WindowSession::eventFilter(QObject* watched, QEvent* event) {
    const FormWidgets& ui = form_->widgets();
    if (event->type() == QEvent::Paint && watched == ui.Image1) {
        paintStartedAt_ = Clock::now();
    }
    if (!counting_) {
        return false;
    }
    if (event->type() == QEvent::Paint && watched == ui.Image1) {
        ++counts_.image1Paints;
        if (!ui.Image1->isDecoded()) {
            ++counts_.decodes;
        }
    } else if (event->type() == QEvent::Paint && watched == ui.Image2) {
        ++counts_.image2Paints;
    } else if (event->type() == QEvent::Resize && watched == ui.ScrollBox1) {
        ++counts_.viewResizes;
    }
    return false;
}

void WindowSession::waitForPaint(Clock::time_point deadline, const char* what) {
    while (!painted_) {
        // The whole frame is painted and flushed within the call that paints Image1.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        frameDoneAt_ = Clock::now();
        if (frameDoneAt_ > deadline) {
            throw std::runtime_error(std::string("no paint of the map after ") + what);
        }
    }
}

void WindowSession::showAndWaitForFirstPaint() {
    painted_ = false;
    shownAt_ = Clock::now();
    form_->show();
    waitForPaint(shownAt_ + kPaintTimeout, "showing the window");
    // The rest of the first frame is painted in the same pass, before control comes back here.
    firstPaintStartedAt_ = paintStartedAt_;
    firstPaintEndedAt_ = paintedAt_;
    counting_ = false;
    settle();
}

void WindowSession::settle() {
    // Whatever the last step left queued (layouts, the overview's repaint) runs untimed.
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void WindowSession::showPage(int index) {
    form_->widgets().TabbedNotebook1->tabStrip().changeTo(index);
    settle();
}

SwitchPhases WindowSession::clickUntilPainted(int radioButton, const std::string& holder) {
    RadioButton& button = form_->widgets().radioButton(radioButton);
    painted_ = false;
    const long long cpuStart = processCpuUs();
    const Clock::time_point start = Clock::now();
    button.click();
    const Clock::time_point handled = Clock::now();
    waitForPaint(start + kPaintTimeout, "a radio button click");
    const long long cpu = processCpuUs() - cpuStart;
    const auto us = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
    };
    const SwitchPhases phases{us(start, handled), us(handled, paintStartedAt_),
                              us(paintStartedAt_, paintedAt_), us(paintedAt_, frameDoneAt_), cpu};
    const PictureHolder* shown = form_->widgets().Image1->holder();
    if (shown == nullptr || shown->name() != holder) {
        throw std::runtime_error("RadioButton" + std::to_string(radioButton) + " did not show " +
                                 holder);
    }
    settle();
    return phases;
}

SwitchPhases WindowSession::chooseCity(int radioButton) {
    showPage(kCitiesPage);
    for (const CityEntry& city : kCityDirectory) {
        if (city.radioButton == radioButton) {
            return clickUntilPainted(radioButton, std::string(city.holder));
        }
    }
    throw std::invalid_argument("not a city button");
}

SwitchPhases WindowSession::chooseCategory(int radioButton) {
    showPage(kStandardPage);
    return clickUntilPainted(radioButton, std::string(kProvinceHolder));
}

double WindowSession::repaintMainView() {
    ScrollBox& view = *form_->widgets().ScrollBox1;
    const Clock::time_point start = Clock::now();
    view.repaint();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double WindowSession::ramka() {
    const FormWidgets& ui = form_->widgets();
    const ScrollBox& view = *ui.ScrollBox1;
    const int left = view.horizontalPosition();
    const int top = view.verticalPosition();
    const PictureRect visible{left, top, left + view.outerWidth(), top + view.outerHeight()};
    const Size content = form_->browser().viewport().content();
    Overview& overview = form_->browser().overview();
    const Clock::time_point start = Clock::now();
    overview.Ramka(visible, content);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

}  // namespace marventa::bench
