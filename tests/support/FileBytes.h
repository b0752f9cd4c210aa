// A file's bytes, written and read back whole.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kelo::test {

inline bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file that cannot be opened reads as "<unreadable>", which no test writes.
inline QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace kelo::test
