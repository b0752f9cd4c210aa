// The window's placement on the screen in twips.
#include "Placement.h"

namespace kelo {

TwipsPoint keepOnScreen(TwipsPoint position, TwipsSize window, TwipsSize screen) {
    if (position.left < 0.0F)
        position.left = 0.0F;
    if (position.top < 0.0F)
        position.top = 0.0F;
    if (window.width + position.left > screen.width)
        position.left = screen.width - window.width;
    if (window.height + position.top > screen.height)
        position.top = screen.height - window.height;
    return position;
}

TwipsPoint centredOnScreen(TwipsSize window, TwipsSize screen) {
    return {screen.width / 2.0F - window.width / 2.0F, screen.height / 2.0F - window.height / 2.0F};
}

}  // namespace kelo
