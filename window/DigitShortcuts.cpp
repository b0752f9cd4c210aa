// DigitShortcuts: Alt+digit by the top-row key's place or by the digit typed.
#include "DigitShortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <utility>

namespace kelo {
namespace {

// XKB keycodes are the kernel's key numbers plus 8; the kernel numbers the top row 1, 2 ... 9, 0
// from 2 to 11, whatever the layout prints on the keys.
constexpr quint32 topRowKeycode(int digit) {
    constexpr quint32 kernelKey1 = 2;
    constexpr quint32 xkbOffset = 8;
    return (digit == 0 ? kernelKey1 + 9 : kernelKey1 + static_cast<quint32>(digit) - 1) + xkbOffset;
}

}  // namespace

DigitShortcuts::DigitShortcuts(QWidget& window, std::vector<Row> rows)
    : QObject(&window),
      window_(window),
      rows_(std::move(rows)),
      xkbKeycodes_(QGuiApplication::platformName() == QLatin1String("xcb") ||
                   QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // Before any control of the window, and before Qt's shortcuts, which the override below stops.
    qApp->installEventFilter(this);
}

bool DigitShortcuts::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_)
        return false;
    QPushButton* button = buttonFor(*static_cast<QKeyEvent*>(event));
    if (button == nullptr)
        return false;
    // An accepted override keeps Qt's own shortcut for the same keys from clicking a second time;
    // the key press that follows is this filter's, and types nothing.
    event->accept();
    if (type == QEvent::KeyPress)
        button->click();
    return true;
}

QPushButton* DigitShortcuts::buttonFor(const QKeyEvent& key) const {
    // Alt alone: with Control or Meta the keys mean something else.
    const Qt::KeyboardModifiers held = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (held != Qt::AltModifier)
        return nullptr;
    for (const Row& row : rows_) {
        if (key.key() == Qt::Key_0 + row.digit ||
            (xkbKeycodes_ && key.nativeScanCode() == topRowKeycode(row.digit)))
            return row.button;
    }
    return nullptr;
}

}  // namespace kelo
