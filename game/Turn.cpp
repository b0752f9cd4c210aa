// A turn after an accepted guess, the win, and the reveal of the code (give-up).
#include <string>
#include <vector>

#include "Game.h"
#include "Rules.h"
#include "Sounds.h"

namespace kelo {

namespace {

void showCode(GameState& s, BoardCells& board, int n, int row) {
    showRowGuess(s, board, row, 0);
    for (int k = 0; k < n; ++k) {
        board.setCaption(digitColumn(n, k), row,
                         std::to_string(s.Code.at(static_cast<std::size_t>(k))));
    }
}

std::vector<int> codeOf(const GameState& s, int n) {
    return {s.Code.begin(), s.Code.begin() + n};
}

}  // namespace

void Game::Proced(int n) {
    s_.Decal = s_.DecalAuto;
    Saisie(s_, splitCharacters(board_.entryText()), n);
    Corrig(s_, n);
    if (s_.NbBon == n) {
        Fini(n);
        return;
    }
    if (s_.NbCoups > BoardRows - 1) {
        ++s_.Decal;
        s_.DecalAuto = s_.Decal;
    }
    Affich(s_, board_, n);
    const auto row = static_cast<std::size_t>(s_.NbCoups);
    ++s_.NbCoups;
    outcome_.kind = Outcome::Kind::Guess;
    outcome_.guess = s_.NbCoups;
    outcome_.characters.clear();
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
        outcome_.characters.push_back(s_.TabA.at(k).at(row));
    outcome_.bon = s_.NbBon;
    outcome_.mal = s_.NbMal;
    board_.setLabelncoup(std::to_string(s_.NbCoups));
    if (!board_.entryText().empty())
        board_.setEntryText("");
    if (s_.NbCoups > MaxGuesses - 1)
        V(n);
}

void Game::Fini(int n) {
    Ding(sound_, s_.SonFlags);
    s_.NbCoups = 0;
    s_.Decal = 0;
    // Play may go on after a win and counts from 0 again; starting the view from the top too
    // keeps Decal + 7 within the history however many wins and guesses follow.
    s_.DecalAuto = 0;
    for (int r = 0; r < BoardRows; ++r) {
        showCode(s_, board_, n, r);
        board_.setCaption(Column::Bon, r, std::to_string(n));
        board_.setCaption(Column::Mal, r, "0");
    }
    board_.setEntryText("Bien!");
    s_.PartieFinie = 1;
    outcome_.kind = Outcome::Kind::Win;
    outcome_.code = codeOf(s_, n);
    board_.giveFocus(lengthButton(n));
}

void Game::V(int n) {
    if (s_.PartieFinie == 1)
        return;
    Pff(sound_, s_.SonFlags);
    s_.Decal = 0;
    const int last = BoardRows - 1;
    showCode(s_, board_, n, last);
    board_.setCaption(Column::Bon, last, "o");
    board_.setCaption(Column::Mal, last, "h");
    board_.setEntryText("Code!");
    s_.Revealed = true;
    outcome_.code = codeOf(s_, n);
    board_.giveFocus(FocusTarget::Command3ch);
}

void Game::Commandv_Click() {
    outcome_ = {};
    outcome_.kind = Outcome::Kind::NoGame;
    outcome_.length = s_.NbChiffres;
    if (!isCodeLength(s_.NbChiffres))
        return;
    V(s_.NbChiffres);
    if (s_.PartieFinie == 1) {
        outcome_.kind = Outcome::Kind::Refused;
        outcome_.refusal = Outcome::Refusal::AlreadyWon;
    } else {
        outcome_.kind = Outcome::Kind::Reveal;
    }
}

}  // namespace kelo
