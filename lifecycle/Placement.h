// Where the window goes on the screen: the four tests that keep it there, and the centred fallback.
// All values are twips in single precision, as the settings file holds them.
#pragma once

namespace kelo {

struct TwipsPoint {
    float left = 0.0F;
    float top = 0.0F;
    friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};

struct TwipsSize {
    float width = 0.0F;
    float height = 0.0F;
};

// Left, then top, then right, then bottom, each seeing the earlier ones' result, with strict
// comparisons: a window larger than the screen ends with a negative left or top.
TwipsPoint keepOnScreen(TwipsPoint position, TwipsSize window, TwipsSize screen);

// Not clamped: a window larger than the screen is centred all the same.
TwipsPoint centredOnScreen(TwipsSize window, TwipsSize screen);

}  // namespace kelo
