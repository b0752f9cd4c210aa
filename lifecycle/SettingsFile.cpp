// Reading and writing Kelo.ini.
#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
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

// The path as bytes. A relative name stays relative, so that a working folder whose name is not
// UTF-8 is never decoded into another folder's name.
std::string bytesOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The regular file the bytes must go to: the path itself (also when it does not exist yet), or
// what its links lead to. An empty path when there is none, with the reason.
struct Target {
    std::string path;
    QString failure;
};

Target targetOf(const std::string& path) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0) {
        if (errno == ENOENT)
            return {path, {}};
        return {{}, systemError(errno)};
    }
    if (S_ISREG(entry.st_mode))
        return {path, {}};
    if (!S_ISLNK(entry.st_mode))
        return {{}, QStringLiteral("it is ") + kindOf(entry.st_mode)};
    char resolved[PATH_MAX];
    struct stat target {};
    if (::realpath(path.c_str(), resolved) == nullptr || ::stat(resolved, &target) != 0)
        return {{}, QStringLiteral("it is a link that leads nowhere")};
    if (!S_ISREG(target.st_mode))
        return {{}, QStringLiteral("it is a link to ") + kindOf(target.st_mode)};
    return {resolved, {}};
}

QString writeAll(int fd, const std::string& line, off_t at) {
    const ssize_t written = ::pwrite(fd, line.data(), line.size(), at);
    if (written < 0)
        return systemError(errno);
    if (static_cast<std::size_t>(written) != line.size())
        return QStringLiteral("the disk took only part of the line");
    return {};
}

// For a file whose folder takes no new file. The new line goes over the old one before the file
// is cut to its length, so that a crash at any point leaves a file the reader takes: the old line
// (followed by NULs once the file has grown), or the new one followed by the old one's tail.
// The name is looked at again through the open file: it may have been swapped for a link or a
// FIFO since it was resolved.
QString writeOpened(int fd, const std::string& line) {
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return systemError(errno);
    if (!S_ISREG(opened.st_mode))
        return QStringLiteral("it is ") + kindOf(opened.st_mode);
    const auto size = static_cast<off_t>(line.size());
    // Grown first, so that the write cannot stop short at a file size limit.
    if (opened.st_size < size && ::ftruncate(fd, size) != 0)
        return systemError(errno);
    QString failure = writeAll(fd, line, 0);
    if (failure.isEmpty() && ::ftruncate(fd, size) != 0)
        failure = systemError(errno);
    if (failure.isEmpty() && ::fsync(fd) != 0)
        failure = systemError(errno);
    return failure;
}

// Not through links, and no wait for a FIFO's reader.
QString writeInPlace(const std::string& path, const std::string& line) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemError(errno);
    QString failure = writeOpened(fd, line);
    if (::close(fd) != 0 && failure.isEmpty())
        failure = systemError(errno);
    return failure;
}

// The file of `fd`, made with no name by O_TMPFILE, named `name` in the folder.
bool nameFile(int fd, int folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
           ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

// The line goes to a new file in the target's folder, renamed over the target once whole, so a
// crash or a failure leaves the old file or the new one. The new file has no name until it is
// whole, and then one of this process's own. Empty `failure` and no `made`: no new file could be
// made there.
struct Replaced {
    bool made = false;
    QString failure;
};

Replaced replaceWhole(const std::string& path, const std::string& line) {
    const std::size_t slash = path.rfind('/');
    const std::string folderPath =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const int folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return {true, systemError(errno)};
    // A file the player made read-only stays as it is, as it would for a rewrite in place.
    if (::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        const int error = errno;
        ::close(folder);
        return {true, systemError(error)};
    }
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        ::close(folder);
        return {false, {}};
    }
    // The old file's permissions carry over, as the player may have narrowed them.
    struct stat old {};
    if (::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    QString failure = writeAll(fd, line, 0);
    if (failure.isEmpty() && ::fsync(fd) != 0)
        failure = systemError(errno);
    const std::string temporary = name + ".new" + std::to_string(::getpid());
    if (failure.isEmpty()) {
        ::unlinkat(folder, temporary.c_str(), 0);  // left by a crash of a process of the same id
        if (!nameFile(fd, folder, temporary) ||
            ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
            failure = systemError(errno);
            ::unlinkat(folder, temporary.c_str(), 0);
        }
    }
    ::close(fd);
    ::close(folder);
    return {true, failure};
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
    const Target target = targetOf(bytesOf(path));
    if (target.path.empty())
        return {false, target.failure};
    const std::string line =
        writeSettings(settings.IniGauche, settings.IniHaut, settings.IniChiffres);
    Replaced replaced = replaceWhole(target.path, line);
    if (!replaced.made)
        replaced.failure = writeInPlace(target.path, line);
    return {replaced.failure.isEmpty(), replaced.failure};
}

}  // namespace kelo
