// ValueLabel and its accessible interface: the name from accessibleName, the caption as text.
// Qt's AT-SPI bridge passes a label's accessible value on to nobody, and a label's name is its
// caption only when it has no name of its own; the text interface is what screen readers read
// from a label, so the caption goes there.
#include "ValueLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QPainter>

namespace kelo {
namespace {

class ValueLabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ValueLabelAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return label()->accessibleName().isEmpty() ? label()->text()
                                                           : label()->accessibleName();
            case QAccessible::Value:
                return label()->text();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    // QAccessibleTextInterface: the caption, read-only, with no selection and no cursor.
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    [[nodiscard]] int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    [[nodiscard]] int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    [[nodiscard]] QString text(int startOffset, int endOffset) const override {
        return label()->text().mid(startOffset, endOffset - startOffset);
    }
    [[nodiscard]] int characterCount() const override {
        return static_cast<int>(label()->text().size());
    }
    // On the screen, where the label's alignment puts each character of the caption.
    [[nodiscard]] QRect characterRect(int offset) const override {
        const QString caption = label()->text();
        if (offset < 0 || offset >= caption.size())
            return {};
        const QFontMetrics metrics(label()->font());
        const QRect box = label()->contentsRect();
        const int width = metrics.horizontalAdvance(caption);
        const int start = (label()->alignment() & Qt::AlignHCenter) != 0
                              ? box.left() + (box.width() - width) / 2
                              : box.left();
        const QRect local(start + metrics.horizontalAdvance(caption.left(offset)),
                          box.top() + (box.height() - metrics.height()) / 2,
                          metrics.horizontalAdvance(caption.at(offset)), metrics.height());
        return {label()->mapToGlobal(local.topLeft()), local.size()};
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        for (int i = 0; i < characterCount(); ++i) {
            if (characterRect(i).contains(point))
                return i;
        }
        return -1;
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    [[nodiscard]] QString attributes(int /*offset*/, int* startOffset,
                                     int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        // The window's words are French, whatever language the screen reader speaks.
        return QStringLiteral("language:fr-FR;");
    }

  private:
    [[nodiscard]] const QLabel* label() const { return static_cast<const QLabel*>(widget()); }
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
    const QString old = text();
    setText(caption);
    if (tellsTextChanges_ && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, old, caption);
        QAccessible::updateAccessibility(&event);
    }
}

void ValueLabel::setOverlay(std::function<void(QPainter&)> overlay) {
    overlay_ = std::move(overlay);
    update();
}

void ValueLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (overlay_) {
        QPainter painter(this);
        overlay_(painter);
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
