// Taking a typed guess: the Enter key in the entry box, and reading the guess's characters.
#include "Game.h"
#include "Rules.h"
#include "Sounds.h"

namespace kelo {

namespace {
constexpr std::int16_t KeyEnter = 13;
}

void Saisie(GameState& s, const std::vector<std::string>& characters, int n) {
    const auto row = static_cast<std::size_t>(s.NbCoups);
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
        s.Essai[k] = digitValue(characters.at(k));
        s.TabA.at(k).at(row) = characters.at(k);
    }
}

std::size_t typedLength(const BoardCells& board) {
    constexpr std::size_t Enough = MaxLength + 1;
    return countCharacters(board.entryStart(Enough), Enough);
}

void Game::Text_KeyPress(std::int16_t& typed) {
    outcome_ = {};
    if (typed != KeyEnter)
        return;
    typed = 0;
    const auto length = typedLength(board_);
    // Unless a turn runs and says otherwise.
    outcome_.kind = Outcome::Kind::Refused;
    outcome_.length = s_.NbChiffres;
    outcome_.typed = static_cast<int>(length);
    if (s_.NbCoups > MaxGuesses - 1) {
        outcome_.refusal = Outcome::Refusal::NoGuessLeft;
    } else if (!isCodeLength(s_.NbChiffres)) {
        outcome_.kind = Outcome::Kind::NoGame;
    }
    if (length > MaxLength || length < MinLength || s_.NbCoups > MaxGuesses - 1) {
        board_.setEntryText("");
        return;
    }
    sound_.play(SoundGuessTaken, s_.SonFlags);
    // The turn may rewrite the box, so each test reads it afresh; NbChiffres never changes
    // during a turn, so at most one of them runs.
    for (int n = MinLength; n <= MaxLength; ++n) {
        if (typedLength(board_) == static_cast<std::size_t>(n) && s_.NbChiffres == n) {
            Proced(n);
        }
    }
    if (s_.PartieFinie != 1)
        board_.setEntryText("");
}

}  // namespace kelo
