#pragma once

#include <array>

class QFrame;
class QGroupBox;
class QPlainTextEdit;
class QWidget;

namespace marventa {

class AutoSizeLabel;
class ListBox;
class MapImage;
class NameLabel;
class Notebook;
class OverviewControl;
class RadioButton;
class ScrollBox;
class StatusBar;

// Every widget of the main window, by the name it also carries as its object name. All are
// owned by the window through Qt's parent chain.
struct FormWidgets {
    ScrollBox* ScrollBox1;
    MapImage* Image1;
    NameLabel* Label1;
    QFrame* Panel1;
    OverviewControl* Image2;
    Notebook* TabbedNotebook1;
    StatusBar* StatusBar1;

    // "Standard"
    QWidget* StandardPage;
    QGroupBox* GroupBox3;
    ListBox* ListBox1;
    // "Cities"
    QWidget* CitiesPage;
    QGroupBox* RadioGroup2;
    ListBox* ListBox3;
    // "Extras"
    QWidget* ExtrasPage;
    QGroupBox* RadioGroup1;
    ListBox* ListBox2;
    QGroupBox* GroupBox1;
    // "Info"
    QWidget* InfoPage;
    QGroupBox* GroupBox2;
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox4;
    QPlainTextEdit* Memo2;

    std::array<RadioButton*, 20> radioButtons;  // RadioButton1 .. RadioButton20
    std::array<AutoSizeLabel*, 9> stoneLabels;  // Label2 .. Label10

    RadioButton& radioButton(int n) const { return *radioButtons.at(static_cast<unsigned>(n - 1)); }
    AutoSizeLabel& stoneLabel(int n) const { return *stoneLabels.at(static_cast<unsigned>(n - 2)); }
};

// Builds the widget tree inside the window at its design geometry.
FormWidgets buildForm(QWidget& window);

}  // namespace marventa
