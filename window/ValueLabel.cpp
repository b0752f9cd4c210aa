// ValueLabel and its accessible interface: name from accessibleName, value from the caption.
#include "ValueLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kelo {
namespace {

class ValueLabelAccessible final : public QAccessibleWidget {
  public:
    explicit ValueLabelAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(widget());
        switch (t) {
            case QAccessible::Name:
                return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
            case QAccessible::Value:
                return label->text();
            default:
                return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* valueLabelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ValueLabel::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new ValueLabelAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setIndent(0);
}

void ValueLabel::setCaption(const QString& caption) {
    if (caption == text())
        return;
    setText(caption);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, caption);
        QAccessible::updateAccessibility(&event);
    }
}

void ValueLabel::registerAccessibility() {
    static const bool registered = [] {
        QAccessible::installFactory(valueLabelFactory);
        return true;
    }();
    Q_UNUSED(registered);
}

}  // namespace kelo
