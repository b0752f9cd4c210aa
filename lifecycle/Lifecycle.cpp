// The load and close steps of the window.
#include "Lifecycle.h"

#include <QFile>
#include <cstdio>
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

SaveResult saveStep(GameState& state, const ClosingWindow& window, const QString& settingsFile) {
    if (window.state == WindowState::Normal && window.positionKnown) {
        const TwipsPoint kept = keepOnScreen(window.position, window.size, window.screen);
        state.IniGauche = kept.left;
        state.IniHaut = kept.top;
    }
    SaveResult result =
        writeSettingsFile(settingsFile, {state.IniGauche, state.IniHaut, state.IniChiffres});
    if (!result.saved) {
        std::fprintf(stderr, "%s: not saved: %s\n", QFile::encodeName(settingsFile).constData(),
                     result.failure.toLocal8Bit().constData());
    }
    return result;
}

void closeStep(GameState& state, const ClosingWindow& window, const CloseServices& services) {
    services.sound.play(SoundClosing, state.SonFlags);
    const SaveResult result = saveStep(state, window, services.settingsFile);
    if (!result.saved) {
        if (services.tellPlayer)
            services.tellPlayer(services.settingsFile, result.failure);
        services.endProcess(NotSavedStatus);
        return;
    }
    exitPause(state, services.clocks);
    services.endProcess(0);
}

void endProcessNow(int status) {
    std::_Exit(status);
}

}  // namespace kelo
