// The window's fixed edge colours and its font sizes in pixels.
#include "FormLook.h"

#include <QtMath>

namespace kelo::look {
namespace {

// Qt's own light palette, the one the layout's look was made and checked with.
constexpr QRgb LightGround = 0xefefef;
struct Edge {
    QPalette::ColorRole role;
    QRgb colour;
};
constexpr Edge Edges[] = {
    {QPalette::Light, 0xffffff}, {QPalette::Midlight, 0xcacaca}, {QPalette::Mid, 0xb8b8b8},
    {QPalette::Dark, 0x9f9f9f},  {QPalette::Shadow, 0x767676},   {QPalette::Highlight, 0x308cc6},
};

constexpr double LayoutDpi = 96.0;
constexpr double PointsPerInch = 72.0;

}  // namespace

void fixEdgeColours(QPalette& palette) {
    for (const Edge& edge : Edges) {
        // No control of the window is ever disabled; that group stays the desktop's.
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, edge.role, QColor(edge.colour));
    }
}

QColor edgeGround() {
    return QColor(LightGround);
}

int fontPixels(double points) {
    return qRound(points * LayoutDpi / PointsPerInch);
}

}  // namespace kelo::look
