// The window's load and close steps without the window: what the window reports about itself
// comes in as values, and where it must go goes out, so the window only wires them up.
#pragma once

#include <QString>
#include <functional>

#include "ExitPause.h"
#include "Game.h"
#include "Placement.h"
#include "SettingsFile.h"
#include "SoundPlayer.h"

namespace kelo {

enum class WindowState { Normal, Minimized, Maximized };

// Reads the settings file: the values to remember and the window's left and top (its outer
// frame). A file without three good values gives the centred position and IniChiffres 3;
// IniGauche and IniHaut are then the values read before the bad one (or 0). A good file gives its
// position kept on the screen, while IniGauche and IniHaut are the values as read. Only a
// position from the file is kept on the screen, which the window must redo once its frame's size
// is known.
struct LoadedPlace {
    Settings remembered;
    TwipsPoint at;
    bool fromFile = false;
};
LoadedPlace loadPlace(TwipsSize window, TwipsSize screen,
                      const QString& settingsFile = SettingsFileName);

struct ClosingWindow {
    WindowState state = WindowState::Normal;
    // False where the platform can neither place a window nor tell where it is (Wayland): the
    // position it reports is no position, and the one read from the file is kept.
    bool positionKnown = true;
    TwipsPoint position;  // outer frame
    TwipsSize size;       // outer frame
    TwipsSize screen;
};

struct CloseServices {
    SoundPlayer& sound;
    PauseClocks& clocks;
    // Given the exit status; does not return in the program, tests only record it.
    std::function<void(int)> endProcess;
    QString settingsFile = SettingsFileName;
    // Shows the player, given the file and the reason, that the settings were not saved, and
    // returns once they have seen it; none where there is no screen to show it on.
    std::function<void(const QString&, const QString&)> tellPlayer = {};
};

// The exit status of a close whose settings could not be saved.
constexpr int NotSavedStatus = 1;

// Gives the game the position (kept on the screen) when the window is in its normal state and
// writes the game's remembered settings to the file. One that cannot be written is told on the
// console, in one line naming the file and the reason.
SaveResult saveStep(Game& game, const ClosingWindow& window, const QString& settingsFile);

// Requests the closing sound, runs the save step, pauses and ends the process with status 0. A
// file that cannot be written is also told to the player, and then ends the process at once with
// NotSavedStatus, without the pause.
void closeStep(Game& game, const ClosingWindow& window, const CloseServices& services);

// The real end: nothing is flushed and no destructor runs, as nothing is left to save.
[[noreturn]] void endProcessNow(int status);

}  // namespace kelo
