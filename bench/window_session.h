#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <memory>
#include <string>

namespace marventa {
class TForm1;
}  // namespace marventa

namespace marventa::bench {

// What happened in the window from its construction up to its first complete frame.
struct StartupCounts {
    int decodes = 0;       // Image1 paints that had to decode first
    int image1Paints = 0;  // all of Image1's paint events
    int image2Paints = 0;  // the overview's paint events
    int viewResizes = 0;   // resize events of the main view (ScrollBox1)
    int realigns = 0;      // the main view's realign notifications (each one refreshes the frame)
};

// Where one map switch spent its time, microseconds: the click's handler, the wait for the
// paint, Image1's paint itself (decode and drawing), and the rest of that frame (the other
// widgets that changed, and the flush).
struct SwitchPhases {
    long long handlerUs = 0;
    long long waitUs = 0;
    long long paintUs = 0;
    long long restOfFrameUs = 0;
    long long cpuUs = 0;  // the process's CPU time over the same span
    long long totalUs() const { return handlerUs + waitUs + paintUs + restOfFrameUs; }
};

// The program's window, built and shown as the program does, driven as a user would: pages
// changed through the tab strip, radio buttons clicked. Needs the application object.
class WindowSession : public QObject {
  public:
    using Clock = std::chrono::steady_clock;

    WindowSession();
    ~WindowSession() override;

    // Shows the window and returns once the province map is painted.
    void showAndWaitForFirstPaint();
    const StartupCounts& startupCounts() const { return counts_; }
    // When show() was called, when Image1's first paint began and ended, and when the first
    // frame was complete.
    Clock::time_point shownAt() const { return shownAt_; }
    Clock::time_point firstPaintStartedAt() const { return firstPaintStartedAt_; }
    Clock::time_point firstPaintEndedAt() const { return firstPaintEndedAt_; }
    Clock::time_point firstFrameDoneAt() const { return frameDoneAt_; }

    // From the click on a city button (RadioButton13..20, on the "Cities" page, which is shown
    // first) until the frame that paints that city's map is complete.
    SwitchPhases chooseCity(int radioButton);
    // From the click on a category button (RadioButton1..10, on the "Standard" page) until the
    // frame that paints the province map is complete.
    SwitchPhases chooseCategory(int radioButton);

    // One synchronous repaint of the whole main view (frame, bars, picture); microseconds.
    double repaintMainView();
    // One frame refresh of the overview for the current view; microseconds.
    double ramka();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showPage(int index);
    SwitchPhases clickUntilPainted(int radioButton, const std::string& holder);
    void waitForPaint(Clock::time_point deadline, const char* what);
    void settle();

    std::unique_ptr<TForm1> form_;
    StartupCounts counts_;
    bool counting_ = true;  // until the first frame is complete
    bool painted_ = false;
    Clock::time_point shownAt_;
    Clock::time_point firstPaintStartedAt_;
    Clock::time_point firstPaintEndedAt_;
    Clock::time_point paintStartedAt_;  // of Image1's latest paint
    Clock::time_point paintedAt_;
    Clock::time_point frameDoneAt_;  // the event processing that painted Image1 has returned
};

// This process's resident set and its high-water mark, in kilobytes, from /proc/self/status.
long long residentKb();
long long peakResidentKb();

}  // namespace marventa::bench
