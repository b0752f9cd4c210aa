// Reading and writing Kelo.ini.
#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <system_error>

namespace kelo {
namespace {

QString systemError(int error) {
    return QString::fromStdString(std::generic_category().message(error));
}

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

// The regular file the bytes must go to: the path itself (also when it does not exist yet), or
// what its links lead to. An empty path when there is none, with the reason.
struct Target {
    QString path;
    QString failure;
};

Target targetOf(const QString& path) {
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0) {
        if (errno == ENOENT)
            return {path, {}};
        return {{}, systemError(errno)};
    }
    if (S_ISREG(entry.st_mode))
        return {path, {}};
    if (!S_ISLNK(entry.st_mode))
        return {{}, QStringLiteral("it is ") + kindOf(entry.st_mode)};
    const QString resolved = QFileInfo(path).canonicalFilePath();
    struct stat target {};
    if (resolved.isEmpty() || ::stat(QFile::encodeName(resolved).constData(), &target) != 0)
        return {{}, QStringLiteral("it is a link that leads nowhere")};
    if (!S_ISREG(target.st_mode))
        return {{}, QStringLiteral("it is a link to ") + kindOf(target.st_mode)};
    return {resolved, {}};
}

// The name is looked at again through the open file: it may have been swapped for a link or a
// FIFO since it was resolved.
QString writeOpened(int fd, const std::string& line) {
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return systemError(errno);
    if (!S_ISREG(opened.st_mode))
        return QStringLiteral("it is ") + kindOf(opened.st_mode);
    if (::ftruncate(fd, 0) != 0)
        return systemError(errno);
    const ssize_t written = ::write(fd, line.data(), line.size());
    if (written < 0)
        return systemError(errno);
    if (static_cast<std::size_t>(written) != line.size())
        return QStringLiteral("the disk took only part of the line");
    if (::fsync(fd) != 0)
        return systemError(errno);
    return {};
}

// For a file whose folder takes no new file. Not through links, and no wait for a FIFO's reader.
QString writeInPlace(const QString& path, const std::string& line) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemError(errno);
    QString failure = writeOpened(fd, line);
    if (::close(fd) != 0 && failure.isEmpty())
        failure = systemError(errno);
    return failure;
}

}  // namespace

SettingsValues readSettingsFile(const QString& path) {
    // Checked before opening: opening a FIFO would block until a writer came.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    // Unbuffered, or Qt would read a whole 16 KiB buffer.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    // One byte over the limit tells a long file from one that is exactly at it, even when the
    // file grows while it is read or reports no size.
    const QByteArray bytes = file.read(MaxSettingsFileBytes + 1);
    const bool cut = bytes.size() > MaxSettingsFileBytes;
    return readSettingsValues(
        std::string_view(bytes.constData(),
                         static_cast<std::size_t>(cut ? MaxSettingsFileBytes : bytes.size())),
        cut ? TextExtent::Start : TextExtent::Whole);
}

SaveResult writeSettingsFile(const QString& path, const Settings& settings) {
    const Target target = targetOf(path);
    if (target.path.isEmpty())
        return {false, target.failure};
    const std::string line =
        writeSettings(settings.IniGauche, settings.IniHaut, settings.IniChiffres);
    QSaveFile file(target.path);
    // Unbuffered, so that a refused write is seen here: a buffered one fails only inside
    // commit(), which in Qt 6.4 then renames the empty temporary file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // QSaveFile's own direct-write fallback would follow a link swapped in meanwhile.
        const QString failure = writeInPlace(target.path, line);
        return {failure.isEmpty(), failure};
    }
    const auto size = static_cast<qint64>(line.size());
    if (file.write(line.data(), size) != size)
        return {false, file.errorString()};  // the temporary file is dropped
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

}  // namespace kelo
