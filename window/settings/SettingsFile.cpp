// Reading and writing Kelo.ini.
#include "SettingsFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kelo {

SettingsValues readSettingsFile(const QString& path) {
    // Checked before opening: opening a FIFO would block until a writer came.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // One byte over the limit tells a long file from one that is exactly at it, even when the
    // file grows while it is read or reports no size.
    const QByteArray bytes = file.read(MaxSettingsFileBytes + 1);
    if (bytes.size() > MaxSettingsFileBytes)
        return {};
    return readSettingsValues(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool writeSettingsFile(const QString& path, const Settings& settings) {
    const std::string line =
        writeSettings(settings.IniGauche, settings.IniHaut, settings.IniChiffres);
    QSaveFile file(path);
    // Unbuffered, so that a refused write is seen here: a buffered one fails only inside
    // commit(), which in Qt 6.4 then renames the empty temporary file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const auto size = static_cast<qint64>(line.size());
    if (file.write(line.data(), size) != size)
        return false;  // the temporary file is dropped
    return file.commit();
}

}  // namespace kelo
