// The game of one window: its state and the services the rules talk to.
#include "Game.h"

namespace kelo {

Game::Game(BoardCells& board, SoundPlayer& sound, RandomSource& random)
    : board_(board), sound_(sound), random_(random) {}

void Game::settingsRead(Single left, Single top, Single length) {
    s_.IniGauche = left;
    s_.IniHaut = top;
    s_.IniChiffres = length;
}

void Game::positionClosed(Single left, Single top) {
    s_.IniGauche = left;
    s_.IniHaut = top;
}

void Game::exitPaused(double start, double last) {
    s_.TempsDebut = start;
    s_.TempsLu = last;
}

}  // namespace kelo
