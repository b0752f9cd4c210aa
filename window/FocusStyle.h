// The style of the buttons and the entry box: the focused one is always marked, and their edges
// stand out from the window's dark background.
#pragma once

#include <QProxyStyle>

namespace kelo {

class FocusStyle final : public QProxyStyle {
    Q_OBJECT

  public:
    FocusStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

}  // namespace kelo
