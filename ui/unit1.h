#pragma once

#include <QWidget>
#include <memory>

#include "browser/browser.h"
#include "form_builder.h"
#include "stone_details.h"

namespace marventa {

class PictureSet;

// The main window: builds its widgets, runs the controller's initial state and forwards each
// widget event to one operation of the controller or the main view.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    // The controller reads the catalogue's tables unless `tables` names others.
    explicit TForm1(const PictureSet& pictures, TableSource tables = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    const FormWidgets& widgets() const { return ui_; }
    Browser& browser() { return *browser_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void wireEvents();

    FormWidgets ui_;
    StoneDetails stoneDetails_;
    std::unique_ptr<Browser> browser_;
    bool placed_ = false;
};

}  // namespace marventa

// The one main window, set while it is being created.
extern marventa::TForm1* Form1;
