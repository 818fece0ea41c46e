#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "accessibility.h"
#include "auto_size_label.h"
#include "catalogue/button_directory.h"
#include "fonts.h"
#include "form_builder.h"
#include "list_box.h"
#include "map_image.h"
#include "memo.h"
#include "name_label.h"
#include "notebook.h"
#include "overview_control.h"
#include "qstring_view.h"
#include "radio_button.h"
#include "scroll_box.h"
#include "status_bar.h"
#include "texts.h"

namespace marventa {

namespace {

constexpr QSize kScrollBoxDesign{646, 610};
constexpr int kPanelWidth = 200;
constexpr int kRadioHeight = 17;

// Where RadioButton<n> sits; its caption comes from the button and city directories.
struct RadioDesign {
    int number;  // n of RadioButton<n>
    int left;
    int top;
    int width;
};

constexpr RadioDesign kCategoryButtonPlaces[] = {
    {1, 8, 16, 113},  {2, 8, 32, 113},  {3, 8, 48, 113},  {4, 8, 64, 113},  {5, 8, 80, 113},
    {6, 104, 16, 73}, {7, 104, 32, 81}, {8, 104, 48, 73}, {9, 104, 64, 65}, {10, 104, 80, 57},
};

constexpr RadioDesign kCityButtonPlaces[] = {
    {18, 8, 16, 73}, {13, 8, 32, 65},  {14, 8, 48, 57},   {15, 8, 64, 73},
    {16, 8, 80, 57}, {17, 96, 16, 81}, {20, 96, 32, 113}, {19, 96, 48, 73},
};

constexpr RadioDesign kStoneButtonPlaces[] = {
    {11, 8, 16, 137},
    {12, 8, 32, 129},
};

constexpr int kStoneLabelTops[] = {16, 32, 72, 88, 104, 120, 136, 152, 168};

// Names a widget for the code (findChild, tests). Assistive tools hear a control's own text;
// controls without one get a name for people through spoken().
template <class Widget>
Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

void spoken(QWidget* widget, const QString& name, const QString& description = QString()) {
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

QVBoxLayout* stackedLayout(QWidget* parent) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QGroupBox* groupFrame(const QString& name, const QString& caption, int height, QWidget* parent) {
    auto* box = named(new QGroupBox(caption, parent), name);
    box->setFixedHeight(height);
    return box;
}

ListBox* listBox(const QString& name, QWidget* parent) {
    auto* list = named(new ListBox(parent), name);
    spoken(list, QStringLiteral("Places"));  // the chosen category becomes its description
    return list;
}

void placeRadioButtons(std::span<const RadioDesign> designs, QWidget* parent, FormWidgets& form) {
    for (const RadioDesign& design : designs) {
        const QString caption = fromCore(buttonEntry(design.number).caption);
        auto* button = named(new RadioButton(caption, parent),
                             QStringLiteral("RadioButton%1").arg(design.number));
        // Keeps the design width unless this font needs more to show the whole caption.
        const int width = std::max(design.width, button->sizeHint().width());
        button->setGeometry(design.left, design.top, width, kRadioHeight);
        button->raise();  // drawn over the frame of an empty group on the same page
        form.radioButtons.at(static_cast<unsigned>(design.number - 1)) = button;
    }
}

// A read-only text inside a group frame, heard by the frame's caption.
QPlainTextEdit* memo(const QString& name, const QString& text, const QColor& background,
                     const QRect& geometry, QGroupBox* parent) {
    auto* edit = named(new Memo(text, parent), name);
    spoken(edit, parent->title());
    edit->setFrameStyle(QFrame::NoFrame);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->document()->setDocumentMargin(1);
    edit->setGeometry(geometry);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, background);
    edit->setPalette(colours);
    return edit;
}

// On each page the buttons are built before the list, so Tab reaches them in the order they are
// read: the chosen button first, then the list it fills.
void buildStandardPage(QWidget* page, FormWidgets& form) {
    QVBoxLayout* layout = stackedLayout(page);
    form.GroupBox3 =
        groupFrame(QStringLiteral("GroupBox3"), QStringLiteral("Choose Type"), 105, page);
    placeRadioButtons(kCategoryButtonPlaces, form.GroupBox3, form);
    form.ListBox1 = listBox(QStringLiteral("ListBox1"), page);
    form.ListBox1->setEnabled(false);
    layout->addWidget(form.GroupBox3);
    layout->addWidget(form.ListBox1);
}

void buildCitiesPage(QWidget* page, FormWidgets& form) {
    QVBoxLayout* layout = stackedLayout(page);
    form.RadioGroup2 =
        groupFrame(QStringLiteral("RadioGroup2"), QStringLiteral("Choose City"), 105, page);
    // Children of the page, not of the group: the eight exclude each other as one group.
    placeRadioButtons(kCityButtonPlaces, page, form);
    form.ListBox3 = listBox(QStringLiteral("ListBox3"), page);
    layout->addWidget(form.RadioGroup2);
    layout->addWidget(form.ListBox3);
}

void buildExtrasPage(QWidget* page, FormWidgets& form) {
    QVBoxLayout* layout = stackedLayout(page);
    form.RadioGroup1 =
        groupFrame(QStringLiteral("RadioGroup1"), QStringLiteral("Choose Type"), 57, page);
    placeRadioButtons(kStoneButtonPlaces, page, form);
    form.ListBox2 = listBox(QStringLiteral("ListBox2"), page);
    form.GroupBox1 = groupFrame(QStringLiteral("GroupBox1"), QStringLiteral("Effects"), 193, page);
    layout->addWidget(form.RadioGroup1);
    layout->addWidget(form.ListBox2);
    layout->addWidget(form.GroupBox1);
    for (std::size_t i = 0; i < form.stoneLabels.size(); ++i) {
        auto* label = named(new AutoSizeLabel(QStringLiteral(" "), form.GroupBox1),
                            QStringLiteral("Label%1").arg(i + 2));
        label->move(8, kStoneLabelTops[i]);
        form.stoneLabels[i] = label;
    }
}

void buildInfoPage(QWidget* page, FormWidgets& form) {
    QVBoxLayout* layout = stackedLayout(page);
    form.GroupBox2 =
        groupFrame(QStringLiteral("GroupBox2"), QStringLiteral("Lorestones' Info"), 185, page);
    form.GroupBox4 =
        groupFrame(QStringLiteral("GroupBox4"), QStringLiteral("Map's Info"), 201, page);
    layout->addWidget(form.GroupBox2);
    layout->addStretch(1);
    layout->addWidget(form.GroupBox4);
    const QPalette& colours = page->palette();
    // Qt has no scroll-bar colour role; a shade of the button face stands in for the groove.
    form.Memo1 =
        memo(QStringLiteral("Memo1"), lorestonesGuide(),
             colours.color(QPalette::Button).darker(110), QRect(8, 16, 169, 161), form.GroupBox2);
    form.Memo2 = memo(QStringLiteral("Memo2"), mapInfo(), colours.color(QPalette::Midlight),
                      QRect(8, 16, 169, 177), form.GroupBox4);
}

QWidget* addPage(Notebook* notebook, const QString& caption) {
    // Fusion's page area is 194 x 417 in a 198 x 444 notebook; the page itself is 190 x 416.
    auto* holder = new QWidget(notebook);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(2, 0, 2, 1);
    auto* page = named(new QWidget(holder), caption + QStringLiteral("Page"));
    spoken(page, caption);
    layout->addWidget(page);
    notebook->addTab(holder, caption);
    return page;
}

void buildSidePanel(FormWidgets& form) {
    QVBoxLayout* layout = stackedLayout(form.Panel1);
    form.Image2 = named(new OverviewControl(form.Panel1), QStringLiteral("Image2"));
    spoken(form.Image2, QStringLiteral("Overview map"),
           QStringLiteral("Click to centre the province map here"));
    form.TabbedNotebook1 = named(new Notebook(form.Panel1), QStringLiteral("TabbedNotebook1"));
    // The tab strip already names the page; its stack of pages is no "layered pane" to hear.
    exposeAs(*form.TabbedNotebook1->findChild<QStackedWidget*>(), QAccessible::Pane);
    layout->addWidget(form.Image2);
    layout->addWidget(form.TabbedNotebook1);

    Notebook* notebook = form.TabbedNotebook1;
    QFont tabFont = sansSerifFont(11);
    notebook->tabBar()->setFont(tabFont);
    QPalette tabColours = notebook->tabBar()->palette();
    tabColours.setColor(QPalette::WindowText, tabColours.color(QPalette::ButtonText));
    notebook->tabBar()->setPalette(tabColours);

    form.StandardPage = addPage(notebook, QStringLiteral("Standard"));
    buildStandardPage(form.StandardPage, form);
    form.CitiesPage = addPage(notebook, QStringLiteral("Cities"));
    buildCitiesPage(form.CitiesPage, form);
    form.ExtrasPage = addPage(notebook, QStringLiteral("Extras"));
    buildExtrasPage(form.ExtrasPage, form);
    form.InfoPage = addPage(notebook, QStringLiteral("Info"));
    buildInfoPage(form.InfoPage, form);
    notebook->setCurrentIndex(0);
}

void buildMainView(FormWidgets& form) {
    QWidget* viewport = form.ScrollBox1->viewport();
    form.Image1 = named(new MapImage(viewport), QStringLiteral("Image1"));
    spoken(form.Image1, QStringLiteral("Map"), QStringLiteral("Click to centre the map here"));
    form.ScrollBox1->setContentWidget(form.Image1);
    form.Label1 = named(new NameLabel(viewport), QStringLiteral("Label1"));
    form.Label1->move(344, 232);
}

}  // namespace

FormWidgets buildForm(QWidget& window) {
    FormWidgets form{};
    exposeAs(window, QAccessible::Window);
    window.setFont(sansSerifFont(11));
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    window.setPalette(colours);
    window.setAutoFillBackground(true);

    QVBoxLayout* outer = stackedLayout(&window);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    outer->addLayout(body, 1);

    form.ScrollBox1 = named(new ScrollBox(kScrollBoxDesign, &window), QStringLiteral("ScrollBox1"));
    spoken(form.ScrollBox1, QStringLiteral("Map"),
           QStringLiteral("Click to centre the map here; the scroll bars move it"));
    buildMainView(form);
    form.Panel1 = named(new QFrame(&window), QStringLiteral("Panel1"));
    form.Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    form.Panel1->setLineWidth(1);
    form.Panel1->setFixedWidth(kPanelWidth);
    exposeAs(*form.Panel1, QAccessible::Pane);
    buildSidePanel(form);
    body->addWidget(form.ScrollBox1, 1);
    body->addWidget(form.Panel1);

    form.StatusBar1 = named(new StatusBar(&window), QStringLiteral("StatusBar1"));
    form.StatusBar1->setPanelCaption(1, startingMapCaption());
    form.StatusBar1->setPanelCaption(2, contactCaption());
    outer->addWidget(form.StatusBar1);
    return form;
}

}  // namespace marventa
