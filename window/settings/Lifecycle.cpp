// The load and close steps of the window.
#include "Lifecycle.h"

#include <cstdlib>

#include "Sounds.h"

namespace kelo {

TwipsPoint loadStep(GameState& state, TwipsSize window, TwipsSize screen,
                    const QString& settingsFile) {
    return loadPlace(state, window, screen, settingsFile).at;
}

LoadedPlace loadPlace(GameState& state, TwipsSize window, TwipsSize screen,
                      const QString& settingsFile) {
    const SettingsValues read = readSettingsFile(settingsFile);
    if (read.count > 0)
        state.IniGauche = read.values[0];
    if (read.count > 1)
        state.IniHaut = read.values[1];
    if (read.count < 3) {
        state.IniChiffres = 3.0F;
        return {centredOnScreen(window, screen), false};
    }
    state.IniChiffres = read.values[2];
    return {keepOnScreen({state.IniGauche, state.IniHaut}, window, screen), true};
}

void closeStep(GameState& state, const ClosingWindow& window, const CloseServices& services) {
    services.sound.play(SoundClosing, state.SonFlags);
    if (window.state == WindowState::Normal) {
        const TwipsPoint kept = keepOnScreen(window.position, window.size, window.screen);
        state.IniGauche = kept.left;
        state.IniHaut = kept.top;
    }
    if (writeSettingsFile(services.settingsFile,
                          {state.IniGauche, state.IniHaut, state.IniChiffres})) {
        exitPause(state, services.clocks);
    }
    services.endProcess();
}

void endProcessNow() {
    std::_Exit(0);
}

}  // namespace kelo
