// The board as a sliding window of 8 rows on the history, and the two scroll buttons.
#include "Game.h"
#include "Rules.h"

namespace kelo {

Column digitColumn(int n, int position) {
    // A 3-digit code sits in the three middle columns A2..A4.
    const int first = (n == 3) ? 1 : 0;
    return static_cast<Column>(first + position);
}

void Affich(const GameState& s, BoardCells& board, int n) {
    for (int r = 0; r < BoardRows; ++r) {
        const int historyRow = s.Decal + r;
        const auto row = static_cast<std::size_t>(historyRow);
        board.setRowGuess(r, historyRow + 1);
        for (int k = 0; k < n; ++k) {
            board.setCaption(digitColumn(n, k), r, s.TabA.at(static_cast<std::size_t>(k)).at(row));
        }
        board.setCaption(Column::Bon, r, s.TabBon.at(row));
        board.setCaption(Column::Mal, r, s.TabMal.at(row));
    }
}

void Game::scrolled() {
    outcome_ = {};
    outcome_.kind = Outcome::Kind::Scrolled;
    outcome_.length = s_.NbChiffres;
    outcome_.first = s_.Decal + 1;
    outcome_.last = s_.Decal + BoardRows;
}

void Game::Commandmoins_Click() {
    if (s_.NbCoups >= BoardRows + 1 && s_.Decal > 0) {
        --s_.Decal;
        if (isCodeLength(s_.NbChiffres))
            Affich(s_, board_, s_.NbChiffres);
    }
    scrolled();
    board_.giveFocus(FocusTarget::Text);
}

void Game::Commandplus_Click() {
    if (s_.NbCoups >= BoardRows + 1 && s_.Decal < MaxDecal) {
        ++s_.Decal;
        if (isCodeLength(s_.NbChiffres))
            Affich(s_, board_, s_.NbChiffres);
    }
    scrolled();
    board_.giveFocus(FocusTarget::Text);
}

}  // namespace kelo
