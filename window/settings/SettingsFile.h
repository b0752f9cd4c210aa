// Kelo.ini on disk: a bounded read that never trusts the file, and an all-or-nothing write.
#pragma once

#include <QString>

#include "SettingsText.h"

namespace kelo {

// No directory: the file lives in the working directory of the process.
inline const QString SettingsFileName = QStringLiteral("Kelo.ini");

// The writer's line is under 50 bytes; a file longer than this was not written by the game.
constexpr qint64 MaxSettingsFileBytes = 4096;

// Nothing is read (count 0) from a path that is missing, unreadable, not a regular file (a
// directory, a FIFO, a device) or longer than MaxSettingsFileBytes; only that much is ever read.
SettingsValues readSettingsFile(const QString& path);

// Through a temporary file renamed over the old one: on any failure the old file stays whole.
bool writeSettingsFile(const QString& path, const Settings& settings);

}  // namespace kelo
