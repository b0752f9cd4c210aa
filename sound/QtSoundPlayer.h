// The sound play operation on Qt Multimedia: WAV files from the working directory through
// QSoundEffect.
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "SoundPlayer.h"

class QSoundEffect;

namespace kelo {

// The sound built into the program, played for a file that is missing or cannot be played.
inline constexpr const char* DefaultSoundResource = ":/kelo/default.wav";

// Where the sound of one request comes from.
struct SoundSource {
    QString path;  // the file's absolute path, or DefaultSoundResource
    bool isDefault = true;
    qint64 modified =
        0;            // the file's modification time in ms since the epoch, 0 for the default sound
    qint64 size = 0;  // the file's size in bytes
    int durationMs = 0;  // the sound's length as its WAV header and the bytes present give it

    friend bool operator==(const SoundSource&, const SoundSource&) = default;
};

// Looks a bare file name up in the current working directory, as a request does.
[[nodiscard]] SoundSource resolveSound(std::string_view fileName);

// Flags 1 starts the sound and returns at once, stopping the one still playing; flags 0 returns
// when the sound has ended, and never later than its length and a margin. Nothing is loaded
// before the first request; the decoded sounds stay cached while their file is unchanged.
class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void play(std::string_view fileName, std::int32_t flags) override;

    // The source chosen by the last request.
    [[nodiscard]] const SoundSource& lastSource() const { return last; }
    // How many times a sound was set up for decoding, the default sound included.
    [[nodiscard]] int loads() const { return loadCount; }
    // How many of the player's sounds report that they are playing; never more than one.
    [[nodiscard]] int playingCount() const;

    // The longest a flags-0 request waits beyond the sound's own length.
    static constexpr int SyncMarginMs = 250;

  private:
    struct Loaded {
        SoundSource source;
        std::unique_ptr<QSoundEffect> effect;  // null for a file that is not a playable WAV
    };

    Loaded& lookUp(std::string_view fileName);
    Loaded& defaultSound();
    QSoundEffect* makeEffect(const SoundSource& source);
    void start(QSoundEffect* effect);
    void waitForEnd(QSoundEffect* effect, int durationMs);

    std::map<QString, Loaded> files;  // by absolute path
    std::unique_ptr<Loaded> fallback;
    std::vector<std::unique_ptr<QSoundEffect>>
        retired;  // replaced by a newer version of their file
    QSoundEffect* current = nullptr;
    SoundSource last;
    int loadCount = 0;
};

}  // namespace kelo
