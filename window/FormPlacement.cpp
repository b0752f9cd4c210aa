// Form1's load and close steps, and its place on the screen in the settings' twips.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "Form1.h"
#include "Layout.h"
#include "Lifecycle.h"

namespace kelo {
namespace {

constexpr float toTwips(int pixels) {
    return static_cast<float>(pixels * layout::TwipsPerPixel);
}

TwipsSize toTwips(const QSize& size) {
    return {toTwips(size.width()), toTwips(size.height())};
}

// The settings and the placement speak of the primary screen's full size, taskbars included.
TwipsSize screenTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? toTwips(screen->geometry().size()) : TwipsSize{};
}

}  // namespace

void Form1::setCloseServices(PauseClocks& clocks, std::function<void(int)> endProcess) {
    clocks_ = &clocks;
    endProcess_ = std::move(endProcess);
}

// Before the first show the window manager has not framed the window yet, so the outer size is
// taken to be the client size; move() places the frame's corner once there is one.
void Form1::Form_Load() {
    const LoadedPlace placed = loadPlace(game_.state(), toTwips(size()), screenTwips());
    placedFromFile_ = placed.fromFile;
    moveFrameTo(placed.at);
}

void Form1::moveFrameTo(TwipsPoint at) {
    constexpr auto perPixel = static_cast<float>(layout::TwipsPerPixel);
    move(qRound(at.left / perPixel), qRound(at.top / perPixel));
}

// The load step kept the window on the screen by its client size; once framed, the frame's border
// and title bar could still stick out past the right or bottom edge, so the same four tests run
// again on the outer size. The centred fallback is left as it is, as the load step leaves it.
void Form1::keepFrameOnScreen() {
    if (!placedFromFile_ || isMinimized() || isMaximized() || isFullScreen())
        return;
    const QRect frame = frameGeometry();
    const TwipsPoint now{toTwips(frame.left()), toTwips(frame.top())};
    const TwipsPoint kept = keepOnScreen(now, toTwips(frame.size()), screenTwips());
    if (!(kept == now))
        moveFrameTo(kept);
}

void Form1::Form_Unload() {
    ClosingWindow window;
    if (isMinimized()) {
        window.state = WindowState::Minimized;
    } else if (isMaximized() || isFullScreen()) {
        window.state = WindowState::Maximized;
    }
    // Qt 6.4 has no capability to ask for this. Its Wayland plugins (wayland, wayland-egl, ...)
    // report every window at the origin, as the protocol keeps positions from clients.
    window.positionKnown = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const QRect frame = frameGeometry();
    window.position = {toTwips(frame.left()), toTwips(frame.top())};
    window.size = toTwips(frame.size());
    window.screen = screenTwips();
    closeStep(game_.state(), window, {sound_, *clocks_, endProcess_});
}

// Every way of closing the window ends here; the close step ends the process itself.
void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

}  // namespace kelo
