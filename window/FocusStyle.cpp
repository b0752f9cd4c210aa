// FocusStyle: the application's own style, told that every focus is a keyboard focus and that the
// controls stand on a light ground, with a ring in the control's text colour around the focus.
#include "FocusStyle.h"

#include <QPainter>
#include <QStyleOption>

#include "FormLook.h"

namespace kelo {
namespace {

// Styles draw the focus only after a Tab (State_KeyboardFocusChange), but here the game itself
// moves the focus, and the player must see where it went. Styles also take the edges from the
// window colour, which is the window's dark blue here: an ordinary dialog's light window colour
// gives the edges their contrast, whatever the desktop's palette.
template <typename Option>
Option shown(const Option& option) {
    Option copy(option);
    if ((copy.state & QStyle::State_HasFocus) != 0)
        copy.state |= QStyle::State_KeyboardFocusChange;
    copy.palette.setColor(QPalette::Window, look::edgeGround());
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

// Draws `option` through `draw` as shown(), then the ring if it has the focus; false when the
// option is not of the kind expected, which is then the base style's to draw.
template <typename Option, typename Draw>
bool drawMarked(const QStyleOption* option, QPainter* painter, QPalette::ColorRole ring,
                const Draw& draw) {
    const auto* typed = qstyleoption_cast<const Option*>(option);
    if (typed == nullptr)
        return false;
    const Option copy = shown(*typed);
    draw(&copy);
    if ((copy.state & QStyle::State_HasFocus) != 0)
        drawRing(painter, copy.rect, copy.palette.color(ring));
    return true;
}

}  // namespace

FocusStyle::FocusStyle() : QProxyStyle(nullptr) {}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    const auto base = [&](const QStyleOption* shownOption) {
        QProxyStyle::drawPrimitive(element, shownOption, painter, widget);
    };
    if (element == PE_PanelLineEdit &&
        drawMarked<QStyleOptionFrame>(option, painter, QPalette::Text, base))
        return;
    base(option);
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    const auto base = [&](const QStyleOption* shownOption) {
        QProxyStyle::drawControl(element, shownOption, painter, widget);
    };
    if (element == CE_PushButton &&
        drawMarked<QStyleOptionButton>(option, painter, QPalette::ButtonText, base))
        return;
    base(option);
}

}  // namespace kelo
