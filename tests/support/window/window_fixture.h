#pragma once

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <memory>

#include "browser/browser.h"
#include "catalogue/catalogue.h"
#include "logical_pixel.h"
#include "pictures/picture.h"
#include "ui/list_box.h"
#include "ui/map_image.h"
#include "ui/name_label.h"
#include "ui/notebook.h"
#include "ui/overview_control.h"
#include "ui/radio_button.h"
#include "ui/scroll_box.h"
#include "ui/status_bar.h"
#include "ui/tab_bar.h"
#include "ui/unit1.h"

namespace marventa {

// A freshly created and shown main window for each test.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override { openWindow(PictureSet::embedded()); }

    // Replaces the window with one built on the given pictures and tables.
    void openWindow(const PictureSet& pictures, TableSource tables = {}) {
        form_.reset();
        form_ = std::make_unique<TForm1>(pictures, tables);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    void TearDown() override { form_.reset(); }

    const FormWidgets& ui() const { return form_->widgets(); }
    ScrollBox& scrollBox() const { return *ui().ScrollBox1; }
    QPoint positions() const {
        return {scrollBox().horizontalPosition(), scrollBox().verticalPosition()};
    }

    // A click where a user would click: the middle of a list row, of a tab, of a button.
    void clickRow(ListBox& list, int row) const {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(row)).center());
    }
    void clickTab(int index) const {
        TabBar& tabs = ui().TabbedNotebook1->tabStrip();
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(index).center());
    }
    void clickRadio(int n) const {
        RadioButton& button = ui().radioButton(n);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(6, button.height() / 2));
    }

    // The scroll position an axis settles on when asked for `wanted`.
    static int clamped(int wanted, int maximum) { return std::clamp(wanted, 0, maximum); }

    std::unique_ptr<TForm1> form_;
};

}  // namespace marventa
