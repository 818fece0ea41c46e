#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace marventa {

class ListBox;
class TForm1;

namespace soak {

// What must hold of the window after every event, whatever came before. Watches the lists'
// and buttons' own signals to know when a row was picked and whether any button was ever
// chosen.
class WindowInvariants : public QObject {
  public:
    explicit WindowInvariants(TForm1& form);

    // Call before each event.
    void beforeEvent();
    // Call once the event and everything it queued have run; empty when all holds.
    std::vector<std::string> check();

    int pictureChanges() const { return pictureChanges_; }
    int rowsPicked() const { return rowsPicked_; }

  private:
    using Problems = std::vector<std::string>;

    void checkButtonsAndLists(Problems& problems) const;
    void checkMainView(Problems& problems) const;
    void checkOverview(Problems& problems) const;
    void checkLabelAndStatus(Problems& problems) const;
    void checkPickedRow(Problems& problems) const;
    void checkDecodedPictures(Problems& problems);

    TForm1& form_;
    ListBox* picked_ = nullptr;  // the list whose row the last event picked
    bool anyButtonChosen_ = false;
    bool listBox1Enabled_ = false;
    const void* shownHolder_ = nullptr;
    int pictureChanges_ = 0;
    int rowsPicked_ = 0;
    std::int64_t onePicture_ = 0;  // the pixel memory of one decoded picture
};

}  // namespace soak
}  // namespace marventa
