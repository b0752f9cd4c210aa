// The load and close steps of the window.
#include "Lifecycle.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "Sounds.h"

namespace kelo {

LoadedPlace loadPlace(TwipsSize window, TwipsSize screen, const QString& settingsFile) {
    const SettingsValues read = readSettingsFile(settingsFile);
    Settings remembered;
    if (read.count > 0)
        remembered.IniGauche = read.values[0];
    if (read.count > 1)
        remembered.IniHaut = read.values[1];
    if (read.count < 3) {
        remembered.IniChiffres = 3.0F;
        return {remembered, centredOnScreen(window, screen), false};
    }
    remembered.IniChiffres = read.values[2];
    return {remembered, keepOnScreen({remembered.IniGauche, remembered.IniHaut}, window, screen),
            true};
}

SaveResult saveStep(Game& game, const ClosingWindow& window, const QString& settingsFile) {
    if (window.state == WindowState::Normal && window.positionKnown) {
        const TwipsPoint kept = keepOnScreen(window.position, window.size, window.screen);
        game.positionClosed(kept.left, kept.top);
    }
    const GameState& state = game.state();
    SaveResult result =
        writeSettingsFile(settingsFile, {state.IniGauche, state.IniHaut, state.IniChiffres});
    if (!result.saved) {
        std::fprintf(stderr, "%s: not saved: %s\n", QFile::encodeName(settingsFile).constData(),
                     result.failure.toLocal8Bit().constData());
    }
    return result;
}

void closeStep(Game& game, const ClosingWindow& window, const CloseServices& services) {
    services.sound.play(SoundClosing, game.state().SonFlags);
    const SaveResult result = saveStep(game, window, services.settingsFile);
    if (!result.saved) {
        if (services.tellPlayer)
            services.tellPlayer(services.settingsFile, result.failure);
        services.endProcess(NotSavedStatus);
        return;
    }
    const PauseTimes paused = exitPause(services.clocks);
    game.exitPaused(paused.TempsDebut, paused.TempsLu);
    services.endProcess(0);
}

void endProcessNow(int status) {
    std::_Exit(status);
}

}  // namespace kelo
