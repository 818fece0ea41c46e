// What a screen reader is given: the roles and states it decides by, the names it reads, and
// the focus events it follows.

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <functional>
#include <vector>

#include "tests/support/window/window_fixture.h"

namespace marventa {
namespace {

QAccessibleInterface* heard(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString spokenName(QObject* widget) {
    QAccessibleInterface* spoken = heard(widget);
    return spoken != nullptr ? spoken->text(QAccessible::Name) : QString();
}

QString spokenDescription(QObject* widget) {
    QAccessibleInterface* spoken = heard(widget);
    return spoken != nullptr ? spoken->text(QAccessible::Description) : QString();
}

// Every interface below `root` (itself excluded), depth first.
void forEachBelow(QAccessibleInterface* root,
                  const std::function<void(QAccessibleInterface&)>& visit) {
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* child = root->child(i)) {
            visit(*child);
            forEachBelow(child, visit);
        }
    }
}

// A focus event as a screen reader receives it: what gained the focus, and what it sits in.
struct HeardFocus {
    QString name;
    std::vector<QAccessible::Role> ancestors;  // nearest first
    bool inActiveWindow = false;
};

std::vector<HeardFocus>& focusLog() {
    static std::vector<HeardFocus> log;
    return log;
}

void recordFocus(QAccessibleEvent* event) {
    QAccessibleInterface* source = event->accessibleInterface();
    if (event->type() != QAccessible::Focus || source == nullptr) {
        return;
    }
    HeardFocus focus{source->text(QAccessible::Name), {}, false};
    for (QAccessibleInterface* up = source->parent(); up != nullptr; up = up->parent()) {
        focus.ancestors.push_back(up->role());
        if (up->role() == QAccessible::Window) {
            focus.inActiveWindow = up->state().active;
        }
    }
    focusLog().push_back(focus);
}

class AccessibilityTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        focusLog().clear();
        previous_ = QAccessible::installUpdateHandler(recordFocus);
        // Widgets send their events only while an assistive tool listens; on the offscreen
        // platform nothing does, and only the platform's own switch (private API) says one does.
        accessibility()->setActive(true);
    }
    void TearDown() override {
        accessibility()->setActive(false);
        QAccessible::installUpdateHandler(previous_);
        WindowTest::TearDown();
    }

    static QPlatformAccessibility* accessibility() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
    // The key goes to whatever has the focus, as a keyboard user's would.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // The names heard since the last call, joined by " / ".
    std::string heardSince() {
        QStringList names;
        for (const HeardFocus& focus : focusLog()) {
            names.append(focus.name);
            walk_.push_back(focus);
        }
        focusLog().clear();
        return names.join(QStringLiteral(" / ")).toStdString();
    }

    QAccessible::UpdateHandler previous_ = nullptr;
    std::vector<HeardFocus> walk_;  // every focus heard so far
};

// Screen readers take a "frame" for a top-level window and ignore the focus inside one that is
// not active; the window itself must be the frame, its parts panels, the bar a status bar.
TEST_F(AccessibilityTest, ContainersAreHeardAsPanelsInsideAWindowAndTheBarAsAStatusBar) {
    QAccessibleInterface* window = heard(form_.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_TRUE(window->state().active);
    EXPECT_EQ(heard(ui().Panel1)->role(), QAccessible::Pane);
    EXPECT_EQ(heard(ui().StatusBar1)->role(), QAccessible::StatusBar);
    // The three panels; the size grip, which only the mouse uses, would be heard as "unknown".
    // Each offers its caption as text too: Orca 48 reads a status bar's parts by their text alone.
    QAccessibleInterface* bar = heard(ui().StatusBar1);
    ASSERT_EQ(bar->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bar->child(i)->role(), QAccessible::StaticText);
        EXPECT_EQ(bar->indexOfChild(bar->child(i)), i);
        QAccessibleTextInterface* text = bar->child(i)->textInterface();
        ASSERT_NE(text, nullptr);
        const QString caption = ui().StatusBar1->panelText(i);
        EXPECT_EQ(text->text(0, text->characterCount()), caption);
        EXPECT_EQ(bar->child(i)->text(QAccessible::Name), caption);
    }
    ui().StatusBar1->setPanelText(0, "Amberwick Gate");
    EXPECT_EQ(bar->child(0)->textInterface()->text(0, 8), QStringLiteral("Amberwic"));
    forEachBelow(window, [](QAccessibleInterface& part) {
        EXPECT_NE(part.role(), QAccessible::Border) << part.text(QAccessible::Name).toStdString();
        EXPECT_NE(part.role(), QAccessible::Window) << part.text(QAccessible::Name).toStdString();
        EXPECT_NE(part.role(), QAccessible::LayeredPane) << "the tab pages' stack says nothing";
        EXPECT_NE(part.role(), QAccessible::Grip);
    });
}

// A radio button is heard by its caption and state; its group frame, which a screen reader says
// as the focus enters it, is not its label too (that said the caption twice). Its own action
// checks it as a click does, running the choice.
TEST_F(AccessibilityTest, ARadioButtonIsHeardByCaptionAndStateAndItsFrameOnlyAsItsContainer) {
    QAccessibleInterface* ruins = heard(&ui().radioButton(1));
    EXPECT_EQ(ruins->role(), QAccessible::RadioButton);
    EXPECT_EQ(ruins->text(QAccessible::Name), QStringLiteral("Elven Ruins"));
    EXPECT_TRUE(ruins->state().checkable);
    EXPECT_FALSE(ruins->state().checked);
    EXPECT_TRUE(ruins->relations(QAccessible::Label).isEmpty());
    EXPECT_EQ(ruins->parent()->object(), ui().GroupBox3);
    EXPECT_EQ(ruins->parent()->text(QAccessible::Name), QStringLiteral("Choose Type"));

    QAccessibleActionInterface* actions = ruins->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(ruins->state().checked);
    EXPECT_EQ(ui().ListBox1->count(), placeTable(PlaceTableId::ElvenRuins).count());
    actions->doAction(QAccessibleActionInterface::toggleAction());  // checked: stays so
    EXPECT_TRUE(ui().radioButton(1).isChecked());
    EXPECT_EQ(ui().ListBox1->count(), placeTable(PlaceTableId::ElvenRuins).count());
}

// A keyboard walk through the side panel: each control is heard as the focus reaches it, a row
// picked by a letter or an arrow by its name, and always inside the active window with no frame
// between (Tab goes from the chosen button to the list it filled).
TEST_F(AccessibilityTest, AKeyboardWalkHearsEachControlAndEachPickedRowInTheActiveWindow) {
    ui().ScrollBox1->setFocus();
    focusLog().clear();
    press(Qt::Key_Tab);
    EXPECT_EQ(heardSince(), "Standard");
    clickRadio(5);  // "Cities", the category
    EXPECT_EQ(heardSince(), "Cities");
    press(Qt::Key_Tab);
    EXPECT_EQ(heardSince(), "Places");
    press(Qt::Key_C);
    const std::string first = ui().StatusBar1->panelText(0).toStdString();
    EXPECT_EQ(first.front(), 'C');
    EXPECT_EQ(heardSince(), first);
    press(Qt::Key_Down);
    const std::string next = ui().StatusBar1->panelText(0).toStdString();
    EXPECT_NE(next, first);
    EXPECT_EQ(heardSince(), next);

    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Right);
    EXPECT_EQ(heardSince(), "Cities / Standard / Cities");
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), 1);
    clickRadio(18);  // "Tolvane"
    press(Qt::Key_Tab);
    press(Qt::Key_Down);
    EXPECT_EQ(heardSince(), "Tolvane / Places / " + ui().StatusBar1->panelText(0).toStdString());

    ASSERT_EQ(walk_.size(), 11U);
    for (const HeardFocus& focus : walk_) {
        EXPECT_TRUE(focus.inActiveWindow) << focus.name.toStdString();
        EXPECT_EQ(std::count(focus.ancestors.begin(), focus.ancestors.end(), QAccessible::Border),
                  0)
            << focus.name.toStdString();
    }
}

// Hidden or blank text is not read out: the map's label before its first place (whose starting
// caption is "Label1"), and the empty lines of a stone's effects. The lines shown are heard with
// the stone's row.
TEST_F(AccessibilityTest, NothingHiddenOrBlankIsHeardAndAStoneRowCarriesItsEffects) {
    const auto heardTexts = [this] {
        QStringList texts;
        forEachBelow(heard(form_.get()), [&texts](QAccessibleInterface& part) {
            if (part.role() == QAccessible::StaticText && !part.state().invisible) {
                texts.append(part.text(QAccessible::Name));
            }
        });
        return texts;
    };
    const auto effectsHeard = [this] {
        QStringList texts;
        for (int label = 2; label <= 10; ++label) {
            QAccessibleInterface* line = heard(&ui().stoneLabel(label));
            if (!line->state().invisible) {
                texts.append(line->text(QAccessible::Name));
            }
        }
        return texts;
    };
    EXPECT_EQ(spokenName(ui().Label1), QString());
    forEachBelow(heard(form_.get()), [](QAccessibleInterface& part) {
        EXPECT_NE(part.text(QAccessible::Name), QStringLiteral("Label1"));
    });
    clickTab(2);  // "Extras"
    EXPECT_EQ(effectsHeard(), QStringList());

    // A sign stone writes its effects and leaves the other lines empty.
    QStringList natalsign;
    for (std::string_view effect : signStones().record(1).effects) {
        if (!effect.empty()) {
            natalsign.append(
                QString::fromUtf8(effect.data(), static_cast<qsizetype>(effect.size())));
        }
    }
    ASSERT_LT(natalsign.size(), 4) << "the first sign stone leaves a line empty";
    clickRadio(12);
    clickRow(*ui().ListBox2, 0);
    EXPECT_EQ(effectsHeard(), natalsign);
    // The picked row is described by the effects, heard after its name.
    EXPECT_EQ(heard(ui().ListBox2)->child(0)->text(QAccessible::Description),
              natalsign.join(QStringLiteral(", ")));
    clickRadio(11);  // a heavenly stone writes the first two lines too
    clickRow(*ui().ListBox2, 0);
    EXPECT_EQ(effectsHeard().front(), QStringLiteral("Difference between"));
    clickRadio(12);
    clickRow(*ui().ListBox2, 0);
    EXPECT_EQ(effectsHeard(), natalsign);
    for (const QString& text : heardTexts()) {
        EXPECT_FALSE(text.trimmed().isEmpty()) << "a blank label is heard";
    }
    const QString stone = ui().StatusBar1->panelText(0);
    EXPECT_TRUE(ui().Label1->isVisible());
    EXPECT_EQ(spokenName(ui().Label1), stone);
}

// Screen readers hear what is shown: a control's own text, or a name for people where it has
// none. Object names are for code and never reach them.
TEST_F(AccessibilityTest, AScreenReaderHearsWhatIsShownNotWidgetNames) {
    const QRegularExpression designName(
        QStringLiteral("^(Label|ListBox|Image|StatusBar|Memo|"
                       "RadioButton|GroupBox|ScrollBox)\\d"));
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(form_.get())) {
            continue;  // hidden, like Label1 with its starting caption "Label1": not heard
        }
        EXPECT_FALSE(designName.match(spokenName(widget)).hasMatch())
            << widget->objectName().toStdString() << " is heard as "
            << spokenName(widget).toStdString();
    }
    EXPECT_EQ(spokenName(&ui().radioButton(9)), QStringLiteral("Caves"));
    EXPECT_EQ(spokenName(ui().GroupBox3), QStringLiteral("Choose Type"));
    EXPECT_EQ(spokenName(&ui().StatusBar1->panel(1)), QStringLiteral("Map of Marventa v1.5"));
    EXPECT_EQ(spokenName(ui().ScrollBox1), QStringLiteral("Map"));
    EXPECT_FALSE(spokenDescription(ui().Image1).isEmpty());
    EXPECT_EQ(spokenName(ui().Image2), QStringLiteral("Overview map"));
    EXPECT_EQ(spokenName(ui().Memo2), QStringLiteral("Map's Info"));
    for (ListBox* list : {ui().ListBox1, ui().ListBox2, ui().ListBox3}) {
        EXPECT_EQ(spokenName(list), QStringLiteral("Places"));
        EXPECT_EQ(spokenDescription(list), QString());
    }

    clickRadio(9);  // "Caves"
    clickRow(*ui().ListBox1, 0);

    const QString cave = ui().StatusBar1->panelText(0);
    EXPECT_EQ(spokenDescription(ui().ListBox1), QStringLiteral("Caves"));
    EXPECT_EQ(spokenName(&ui().StatusBar1->panel(0)), cave);
    EXPECT_EQ(spokenName(ui().Label1), cave);
    clickTab(2);  // "Extras": the lists are emptied, and so are their descriptions
    EXPECT_EQ(spokenDescription(ui().ListBox1), QString());
    clickRadio(12);
    EXPECT_EQ(spokenDescription(ui().ListBox2), QStringLiteral("Natalsign Lorestones"));
}

}  // namespace
}  // namespace marventa
