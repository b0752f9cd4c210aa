// Form1's load and close steps, and its place on the screen in the settings' twips.
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
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

// A player who started the game from a menu sees no console. The offscreen and minimal platforms
// have no screen to show a dialog on, so there the console line is all, and no test waits on it.
void tellNotSaved(QWidget* window, const QString& file, const QString& reason) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zandor Chiffres"),
                    QStringLiteral("Les réglages n'ont pas pu être enregistrés dans %1 : %2.\n\n"
                                   "La position de la fenêtre et la longueur du code ne seront "
                                   "pas retrouvées au prochain lancement.")
                        .arg(QDir::current().absoluteFilePath(file), reason),
                    QMessageBox::Ok, window);
    box.exec();
}

}  // namespace

void Form1::setCloseServices(PauseClocks& clocks, std::function<void(int)> endProcess) {
    clocks_ = &clocks;
    endProcess_ = std::move(endProcess);
}

// Before the first show the window manager has not framed the window yet, so the outer size is
// taken to be the client size; move() places the frame's corner once there is one.
void Form1::Form_Load() {
    const LoadedPlace placed = loadPlace(toTwips(size()), screenTwips());
    const Settings& read = placed.remembered;
    game_.settingsRead(read.IniGauche, read.IniHaut, read.IniChiffres);
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

ClosingWindow Form1::closingWindow() const {
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
    return window;
}

void Form1::Form_Unload() {
    closing_ = true;
    closeStep(
        game_, closingWindow(),
        {sound_, *clocks_, endProcess_, SettingsFileName,
         [this](const QString& file, const QString& reason) { tellNotSaved(this, file, reason); }});
}

void Form1::saveSettingsNow() {
    if (closing_ || QThread::currentThread() != thread())
        return;
    closing_ = true;
    saveStep(game_, closingWindow(), SettingsFileName);
}

// Every way of closing the window ends here; the close step ends the process itself. A close
// asked for while one runs (a signal while the player reads of a failed save) waits for it.
void Form1::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

}  // namespace kelo
