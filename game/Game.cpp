// The game of one window: its state and the services the rules talk to.
#include "Game.h"

namespace kelo {

Game::Game(BoardCells& board, SoundPlayer& sound, RandomSource& random)
    : board_(board), sound_(sound), random_(random) {}

}  // namespace kelo
