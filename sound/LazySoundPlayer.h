// A sound player that loads the Qt Multimedia module on first need and hands requests to it.
#pragma once

#include <QString>
#include <memory>

#include "SoundPlayer.h"

namespace kelo {

// The module's file name; it is installed beside the program.
inline constexpr const char* SoundModuleName = "zandor-chiffres-sound.so";

class LazySoundPlayer final : public SoundPlayer {
  public:
    explicit LazySoundPlayer(QString modulePath);
    ~LazySoundPlayer() override;
    LazySoundPlayer(const LazySoundPlayer&) = delete;
    LazySoundPlayer& operator=(const LazySoundPlayer&) = delete;

    // Loads the module now, ahead of the first request. A module that cannot be loaded leaves
    // every request silent, with one line on the console.
    void load();
    [[nodiscard]] bool loaded() const { return player_ != nullptr; }

    void play(std::string_view fileName, std::int32_t flags) override;

  private:
    QString modulePath_;
    bool tried_ = false;
    std::unique_ptr<SoundPlayer> player_;
};

}  // namespace kelo
