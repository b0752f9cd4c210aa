// Announcer: a label of no size whose accessible role is a notification. Screen readers speak a
// notification when it appears, so each announcement hides the label and shows it again with the
// new text. A change of the focused control's description is no use here: Qt 6.4 sends it as a
// reference to the object, which Orca will not speak, and it lingers to be read again later.
#include "Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kelo {
namespace {

class NotificationAccessible final : public QAccessibleWidget {
  public:
    explicit NotificationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* notificationFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(NotificationLabel::staticMetaObject.className()) &&
        object != nullptr && object->isWidgetType()) {
        return new NotificationAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* window) : label_(new NotificationLabel(window)) {
    // The factory installed last is asked first; QApplication installs its own as it starts, so
    // this one must come after.
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label_->setObjectName(QStringLiteral("Annonce"));
    label_->setGeometry(0, 0, 0, 0);
    label_->setFocusPolicy(Qt::NoFocus);
    label_->hide();
}

void Announcer::announce(const QString& text) {
    // With no assistive technology listening there is no one to tell.
    if (text.isEmpty() || !QAccessible::isActive())
        return;
    label_->hide();
    label_->setText(text);
    label_->show();
}

}  // namespace kelo
