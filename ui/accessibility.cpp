#include "accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>

#include "name_label.h"

namespace marventa {

namespace {

constexpr char kRoleProperty[] = "marventaAccessibleRole";

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

// Asked once for each class of an object, from the most derived one up, before the toolkit's
// own factory; nullptr leaves the object to the toolkit.
QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    if (auto* label = qobject_cast<NameLabel*>(object);
        label != nullptr && className == QLatin1String(NameLabel::staticMetaObject.className())) {
        return new NameLabelInterface(label);
    }
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget != nullptr ? widget->property(kRoleProperty) : QVariant();
    if (!role.isValid()) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void installAccessibility() {
    QAccessible::installFactory(interfaceFor);
}

void exposeAs(QWidget& container, QAccessible::Role role) {
    container.setProperty(kRoleProperty, static_cast<int>(role));
}

}  // namespace marventa
