#include "accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>

#include "name_label.h"
#include "radio_button.h"

namespace marventa {

namespace {

constexpr char kRoleProperty[] = "marventaAccessibleRole";
constexpr char kHiddenProperty[] = "marventaAccessibleHidden";
constexpr char kTextProperty[] = "marventaAccessibleText";

// Label1 keeps its starting caption while hidden; it is heard by its caption only once shown.
class NameLabelInterface : public QAccessibleWidget {
  public:
    explicit NameLabelInterface(NameLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        const auto* label = static_cast<const QLabel*>(widget());
        if (kind == QAccessible::Name) {
            return label->isVisible() ? label->text() : QString();
        }
        return QAccessibleWidget::text(kind);
    }
};

// A label whose caption can be read as text too. Some screen readers (Orca 48) read a status
// bar's parts only through the text they offer, and the toolkit's label offers none.
class TextLabelInterface : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextLabelInterface(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? caption() : QAccessibleWidget::text(kind);
    }

    QString text(int startOffset, int endOffset) const override {
        return caption().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(caption().size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

  private:
    QString caption() const { return static_cast<const QLabel*>(widget())->text(); }
};

// A radio button heard by its caption and its checked state. The toolkit's own interface also
// names the group frame it sits in as its label, so a screen reader entering the group said the
// caption twice: once as the frame it enters, once as the button's label. The frame is heard as
// it is entered; nothing else names it.
class RadioButtonInterface : public QAccessibleWidget {
  public:
    explicit RadioButtonInterface(RadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return button().text();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button().isChecked();
        state.pressed = button().isDown();
        return state;
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match = QAccessible::AllRelations) const override {
        auto found = QAccessibleWidget::relations(match);
        QObject* frame = widget()->parentWidget();
        found.removeIf([frame](const auto& relation) {
            return relation.second == QAccessible::Label && relation.first->object() == frame;
        });
        return found;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names.append(toggleAction());
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == toggleAction()) {
            button().click();  // as a click: checks an unchecked button, leaves a checked one
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    QAbstractButton& button() const { return *static_cast<QAbstractButton*>(widget()); }
};

// A container heard with the role it was given, holding its children but the hidden ones.
class ContainerInterface : public QAccessibleWidget {
  public:
    ContainerInterface(QWidget* container, QAccessible::Role role)
        : QAccessibleWidget(container, role) {}

    int childCount() const override { return shownChildren().size(); }
    QAccessibleInterface* child(int index) const override { return shownChildren().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return shownChildren().indexOf(child);
    }

  private:
    QList<QAccessibleInterface*> shownChildren() const {
        QList<QAccessibleInterface*> shown;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* part = QAccessibleWidget::child(i);
            if (part != nullptr && !(part->object() != nullptr &&
                                     part->object()->property(kHiddenProperty).toBool())) {
                shown.append(part);
            }
        }
        return shown;
    }
};

// Asked once for each class of an object, from the most derived one up, before the toolkit's
// own factory; nullptr leaves the object to the toolkit.
QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    if (auto* label = qobject_cast<NameLabel*>(object);
        label != nullptr && className == QLatin1String(NameLabel::staticMetaObject.className())) {
        return new NameLabelInterface(label);
    }
    if (auto* button = qobject_cast<RadioButton*>(object);
        button != nullptr &&
        className == QLatin1String(RadioButton::staticMetaObject.className())) {
        return new RadioButtonInterface(button);
    }
    if (auto* label = qobject_cast<QLabel*>(object);
        label != nullptr && label->property(kTextProperty).toBool()) {
        return new TextLabelInterface(label);
    }
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget != nullptr ? widget->property(kRoleProperty) : QVariant();
    if (!role.isValid()) {
        return nullptr;
    }
    return new ContainerInterface(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void installAccessibility() {
    QAccessible::installFactory(interfaceFor);
}

void exposeAs(QWidget& container, QAccessible::Role role) {
    container.setProperty(kRoleProperty, static_cast<int>(role));
}

void offerAsText(QLabel& label) {
    label.setProperty(kTextProperty, true);
}

void hideFromScreenReaders(QWidget& part) {
    part.setProperty(kHiddenProperty, true);
}

}  // namespace marventa
