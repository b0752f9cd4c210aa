// Kelo.ini on disk: a bounded read that never trusts the file, and a write that goes only to a
// regular file and never leaves it empty or half-written.
#pragma once

#include <QString>

#include "SettingsText.h"

namespace kelo {

// No directory: the file lives in the working directory of the process.
inline const QString SettingsFileName = QStringLiteral("Kelo.ini");

// The writer's line is under 50 bytes; no more than this of any file is read.
constexpr qint64 MaxSettingsFileBytes = 4096;

// The first three values among the file's first MaxSettingsFileBytes bytes. Nothing is read
// (count 0) from a path that is missing, unreadable or not a regular file (a directory, a FIFO,
// a device), whether named directly or through a link.
SettingsValues readSettingsFile(const QString& path);

struct SaveResult {
    bool saved = false;
    QString failure;  // why not, in a few words for the console
};

// A link to a regular file saves into that file; a path that is, or links to, anything else (or
// nothing) is left as it is and not saved. The line goes to a new file in the same folder renamed
// over the old one, so a failure leaves the old file whole; only where no file can be made beside
// it (a read-only folder, no inode left) is the file rewritten in place, in an order that leaves
// a readable line at every moment. The path is used as its bytes, whatever their encoding.
SaveResult writeSettingsFile(const QString& path, const Settings& settings);

}  // namespace kelo
