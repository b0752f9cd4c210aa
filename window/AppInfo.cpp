// The program's version and icon, set on the running application.
#include "AppInfo.h"

#include <QApplication>
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

}  // namespace kelo::app
