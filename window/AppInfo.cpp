// The program's version, icon, menu entry and platform, set on the running application.
#include "AppInfo.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

namespace kelo::app {

QIcon icon() {
    QIcon result;
    for (int size : {32, 48, 64, 128}) {
        result.addFile(QStringLiteral(":/icons/zandor-chiffres-%1.png").arg(size),
                       QSize(size, size));
    }
    return result;
}

void applyApplicationInfo() {
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version));
    // No applicationDisplayName: the platform would append it to the window caption.
    QApplication::setWindowIcon(icon());
}

void choosePlatform() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    // Wayland lets no program place its window or learn where it is, so the remembered position
    // works only through X11, XWayland included; Qt takes the first of the list that loads. A
    // desktop with no X display at all gets wayland first, without xcb's complaint before it.
    const bool waylandOnly =
        qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", waylandOnly ? "wayland;xcb" : "xcb;wayland");
}

void noSessionBusAutolaunch() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists())
        return;  // the libraries find the user's bus there
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

void applyDesktopFileName() {
    QGuiApplication::setDesktopFileName(QStringLiteral(KELO_APP_ID));
}

}  // namespace kelo::app
