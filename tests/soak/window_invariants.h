#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace marventa {

class ListBox;
class TForm1;

namespace soak {

// What must hold of the window after every event, whatever came before. Watches the lists'
// and buttons' own signals to know when a row was picked, whether any button was ever chosen
// and when a list was emptied.
class WindowInvariants : public QObject {
  public:
    explicit WindowInvariants(TForm1& form);

    // Call before each event.
    void beforeEvent();
    // Call once the event and everything it queued have run; empty when all holds.
    // `keepsPositions`: the event must not have moved the view.
    std::vector<std::string> check(bool keepsPositions);

    int pictureChanges() const { return pictureChanges_; }
    int rowsPicked() const { return rowsPicked_; }
    int labelsMeasured() const { return labelsMeasured_; }

  private:
    using Problems = std::vector<std::string>;

    void checkButtonsAndLists(Problems& problems) const;
    void checkMainView(Problems& problems) const;
    void checkOverview(Problems& problems) const;
    void checkLabelAndStatus(Problems& problems) const;
    void checkPickedRow(Problems& problems) const;
    void checkLabelPlace(Problems& problems);
    void checkSelectionKept(Problems& problems) const;
    void checkPositionsKept(Problems& problems) const;
    void checkDecodedPictures(Problems& problems);
    void notePick(ListBox& list);
    void noteMapChange();
    QPoint positions() const;

    TForm1& form_;
    ListBox* picked_ = nullptr;  // the list whose row the last event picked
    bool anyButtonChosen_ = false;
    bool listBox1Enabled_ = false;
    const void* shownHolder_ = nullptr;
    int shownMode_ = 0;
    bool mapChangedSincePick_ = false;
    std::optional<QPoint> placePicked_;  // in the picture's coordinates
    const ListBox* showing_ = nullptr;   // the list whose row is the place shown, until emptied
    QPoint positionsBefore_;
    int pictureChanges_ = 0;
    int rowsPicked_ = 0;
    int labelsMeasured_ = 0;       // events after which the label was measured against its place
    std::int64_t onePicture_ = 0;  // the pixel memory of one decoded picture
};

}  // namespace soak
}  // namespace marventa
