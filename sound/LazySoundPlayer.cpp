// Loading the sound module and forwarding the requests to it.
#include "LazySoundPlayer.h"

#include <QLibrary>
#include <utility>

namespace kelo {

LazySoundPlayer::LazySoundPlayer(QString modulePath) : modulePath_(std::move(modulePath)) {}

// The player goes before the module is gone from memory: the module is never unloaded.
LazySoundPlayer::~LazySoundPlayer() = default;

void LazySoundPlayer::load() {
    if (tried_)
        return;
    tried_ = true;
    QLibrary module(modulePath_);
    // Qt Multimedia's objects live as long as the process; unloading under them would crash.
    module.setLoadHints(QLibrary::PreventUnloadHint);
    using Create = SoundPlayer* (*)();
    const auto create = reinterpret_cast<Create>(module.resolve("kelo_create_sound_player"));
    if (create == nullptr) {
        qWarning("The game's sounds are off: %s", qPrintable(module.errorString()));
        return;
    }
    player_.reset(create());
}

void LazySoundPlayer::play(std::string_view fileName, std::int32_t flags) {
    load();
    if (player_ != nullptr)
        player_->play(fileName, flags);
}

}  // namespace kelo
