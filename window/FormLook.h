// What keeps the window's look the same on every desktop: the colours of its edges, whatever the
// desktop's palette, and fonts sized in the layout's pixels, whatever the font DPI.
#pragma once

#include <QColor>
#include <QPalette>

class QFont;

namespace kelo::look {

// The edges of the sunken frames and cells, the buttons' outlines and the entry box's focus are
// drawn from these roles. A dark desktop palette gives them shades close to the window's dark blue
// and the board loses its lines, so they keep the light values the layout was drawn with.
void fixEdgeColours(QPalette& palette);

// The ground that the styles derive the buttons' and the entry box's outlines from: the light
// window colour of an ordinary dialog, not the form's dark blue nor a dark desktop's.
QColor edgeGround();

// The layout gives font sizes in points at 96 dots per inch, as its geometry is in pixels at that
// resolution; sized in those pixels, a text keeps its room in its control at any font DPI.
int fontPixels(double points);

}  // namespace kelo::look
