// FocusStyle: the application's own style, told that every focus is a keyboard focus and that the
// controls stand on a light ground, with a ring in the control's text colour around the focus.
#include "FocusStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace kelo {
namespace {

// Styles draw the focus only after a Tab (State_KeyboardFocusChange), but here the game itself
// moves the focus, and the player must see where it went. Styles also take the edges from the
// window colour, which is the window's dark blue here: the platform's window colour gives the
// edges the contrast they have on an ordinary dialog.
template <typename Option>
Option shown(const Option& option) {
    Option copy(option);
    if ((copy.state & QStyle::State_HasFocus) != 0)
        copy.state |= QStyle::State_KeyboardFocusChange;
    copy.palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    return copy;
}

// Two pixels wide, two pixels inside the control's edge, in its text colour, which the layout
// chose to stand out from the control's face.
void drawRing(QPainter* painter, const QRect& rect, const QColor& colour) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(colour, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(3, 3, -3, -3));
    painter->restore();
}

}  // namespace

FocusStyle::FocusStyle() : QProxyStyle(nullptr) {}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelLineEdit) {
        if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option)) {
            const QStyleOptionFrame copy = shown(*frame);
            QProxyStyle::drawPrimitive(element, &copy, painter, widget);
            if ((copy.state & State_HasFocus) != 0)
                drawRing(painter, copy.rect, copy.palette.color(QPalette::Text));
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    if (element == CE_PushButton) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            const QStyleOptionButton copy = shown(*button);
            QProxyStyle::drawControl(element, &copy, painter, widget);
            if ((copy.state & State_HasFocus) != 0)
                drawRing(painter, copy.rect, copy.palette.color(QPalette::ButtonText));
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

}  // namespace kelo
