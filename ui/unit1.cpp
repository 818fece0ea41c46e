#include "unit1.h"

#include <QDir>
#include <QIcon>
#include <QLayout>
#include <QScreen>

#include "application.h"
#include "browser/browser.h"
#include "catalogue/button_directory.h"
#include "list_box.h"
#include "map_image.h"
#include "name_label.h"
#include "notebook.h"
#include "overview_control.h"
#include "pictures/picture.h"
#include "placement.h"
#include "radio_button.h"
#include "scroll_box.h"
#include "status_bar.h"

marventa::TForm1* Form1 = nullptr;

namespace marventa {

namespace {

constexpr QSize kClientSize{846, 629};

BrowserWidgets browserWidgets(const FormWidgets& ui, StoneDetailsPort& stoneDetails) {
    std::array<RadioButtonPort*, 20> radioButtons{};
    std::copy(ui.radioButtons.begin(), ui.radioButtons.end(), radioButtons.begin());
    return BrowserWidgets{
        .scroll = *ui.ScrollBox1,
        .label = *ui.Label1,
        .status = *ui.StatusBar1,
        .statusBar = *ui.StatusBar1,
        .image1 = *ui.Image1,
        .stoneDetails = stoneDetails,
        .listBox1 = *ui.ListBox1,
        .listBox2 = *ui.ListBox2,
        .listBox3 = *ui.ListBox3,
        .radioButtons = radioButtons,
    };
}

QIcon programIcon() {
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        icon.addFile(icons.filePath(file));
    }
    return icon;
}

}  // namespace

TForm1::TForm1(const PictureSet& pictures, TableSource tables, QWidget* parent)
    : QWidget(parent), ui_(buildForm(*this)), stoneDetails_(ui_.stoneLabels) {
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Map of Marventa"));
    setWindowIcon(programIcon());
    resize(kClientSize);
    // The initial state reads the status bar's width: lay the widgets out before it runs.
    layout()->activate();

    browser_ = std::make_unique<Browser>(browserWidgets(ui_, stoneDetails_), pictures, tables);
    ui_.Image2->showBitmap(browser_->overview().bitmap());
    wireEvents();
    browser_->FormCreate();
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::wireEvents() {
    Browser& browser = *browser_;
    Viewport& viewport = browser.viewport();
    // Every event runs its operation through runOperation, so an error is shown after the
    // event instead of unwinding through Qt.
    const auto operation = [&browser](Browser::Operation handler) {
        return [&browser, handler] { runOperation([&] { (browser.*handler)(); }); };
    };
    const auto frameRefresh = [&viewport] {
        runOperation([&] { viewport.ScrollBox1CanResize(); });
    };

    for (const ButtonEntry& button : kButtons) {
        RadioButton& radio = ui_.radioButton(button.radioButton);
        connect(&radio, &RadioButton::chosen, this,
                operation(Browser::kRadioButtonClicks.at(
                    static_cast<std::size_t>(button.radioButton - 1))));
        // A screen reader hears a list as "Places", described by the choice that filled it.
        ListBox* list = button.list == ButtonList::Categories ? ui_.ListBox1
                        : button.list == ButtonList::Stones   ? ui_.ListBox2
                                                              : ui_.ListBox3;
        connect(&radio, &RadioButton::chosen, list,
                [list, caption = radio.text()] { list->setAccessibleDescription(caption); });
    }
    connect(ui_.ListBox1, &ListBox::picked, this, operation(&Browser::ListBox1Click));
    connect(ui_.ListBox2, &ListBox::picked, this, operation(&Browser::ListBox2Click));
    // A picked stone's row is described by its effects, which a screen reader reads after the
    // row's name as the focus reaches it.
    connect(ui_.ListBox2, &ListBox::picked, this, [this] {
        if (QListWidgetItem* row = ui_.ListBox2->currentItem();
            row != nullptr && row->isSelected()) {
            row->setData(Qt::AccessibleDescriptionRole, stoneDetails_.spokenLines());
        }
    });
    connect(ui_.ListBox3, &ListBox::picked, this, operation(&Browser::ListBox3Click));
    connect(ui_.TabbedNotebook1, &Notebook::pageAboutToChange, this,
            operation(&Browser::TabbedNotebook1Change));
    connect(ui_.TabbedNotebook1, &Notebook::pageAboutToChange, this, [this] {
        for (ListBox* list : {ui_.ListBox1, ui_.ListBox2, ui_.ListBox3}) {
            list->setAccessibleDescription(QString());
        }
    });

    connect(ui_.Image1, &MapImage::clicked, this, [&viewport](QPoint at) {
        runOperation([&] { viewport.Image1Click({at.x(), at.y()}); });
    });
    connect(ui_.Image2, &OverviewControl::clicked, this, [&viewport](QPoint at) {
        runOperation([&] { viewport.Image2Click({at.x(), at.y()}); });
    });
    // Both run the frame refresh (ScrollBox1Click and ScrollBox1CanResize).
    connect(ui_.ScrollBox1, &ScrollBox::clicked, this, frameRefresh);
    connect(ui_.ScrollBox1, &ScrollBox::realigned, this, frameRefresh);

    OverviewControl* image2 = ui_.Image2;
    browser.overview().setOnChanged([image2] { image2->update(); });
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        move(centredTopLeft(screen()->virtualGeometry(), frameGeometry().size()));
    }
}

}  // namespace marventa
