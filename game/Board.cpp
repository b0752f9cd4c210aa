// The board as a sliding window of 8 rows on the history, and the two scroll buttons.
#include <string>
#include <vector>

#include "Game.h"
#include "Rules.h"

namespace kelo {

Column digitColumn(int n, int position) {
    // A 3-digit code sits in the three middle columns A2..A4.
    const int first = (n == 3) ? 1 : 0;
    return static_cast<Column>(first + position);
}

void showRowGuess(GameState& s, BoardCells& board, int row, int guess) {
    s.RowGuess.at(static_cast<std::size_t>(row)) = static_cast<Integer>(guess);
    board.setRowGuess(row, guess);
}

void Affich(GameState& s, BoardCells& board, int n) {
    for (int r = 0; r < BoardRows; ++r) {
        const int historyRow = s.Decal + r;
        const auto row = static_cast<std::size_t>(historyRow);
        showRowGuess(s, board, r, historyRow + 1);
        for (int k = 0; k < n; ++k) {
            board.setCaption(digitColumn(n, k), r, s.TabA.at(static_cast<std::size_t>(k)).at(row));
        }
        board.setCaption(Column::Bon, r, s.TabBon.at(row));
        board.setCaption(Column::Mal, r, s.TabMal.at(row));
    }
}

std::vector<Outcome::Row> Game::shownRows() const {
    std::vector<Outcome::Row> rows;
    const int n = s_.NbChiffres;
    if (!isCodeLength(n))
        return rows;
    for (const Integer guess : s_.RowGuess) {
        Outcome::Row row;
        row.guess = guess;
        if (guess == 0) {
            // A win shows the code on every row; it is read once.
            if (!rows.empty() && rows.back().guess == 0)
                continue;
            for (int k = 0; k < n; ++k)
                row.characters.push_back(std::to_string(s_.Code.at(static_cast<std::size_t>(k))));
        } else {
            const auto history = static_cast<std::size_t>(guess - 1);
            if (s_.TabBon.at(history).empty())
                continue;
            for (int k = 0; k < n; ++k)
                row.characters.push_back(s_.TabA.at(static_cast<std::size_t>(k)).at(history));
            row.bon = digitValue(s_.TabBon.at(history));
            row.mal = digitValue(s_.TabMal.at(history));
        }
        rows.push_back(row);
    }
    return rows;
}

void Game::scrolled(bool moved) {
    outcome_ = {};
    outcome_.kind = Outcome::Kind::Scrolled;
    outcome_.length = s_.NbChiffres;
    outcome_.rows = shownRows();
    outcome_.moved = moved;
}

// Commandmoins_Click (step -1) and Commandplus_Click (step +1): one row up or down the history.
void Game::scroll(int step) {
    const bool room = step < 0 ? s_.Decal > 0 : s_.Decal < MaxDecal;
    const bool moves = s_.NbCoups >= BoardRows + 1 && room;
    if (moves) {
        s_.Decal = static_cast<Integer>(s_.Decal + step);
        if (isCodeLength(s_.NbChiffres))
            Affich(s_, board_, s_.NbChiffres);
    }
    scrolled(moves);
    board_.giveFocus(FocusTarget::Text);
}

void Game::rereadBoard() {
    outcome_ = {};
    outcome_.kind = isCodeLength(s_.NbChiffres) ? Outcome::Kind::Board : Outcome::Kind::NoGame;
    outcome_.length = s_.NbChiffres;
    outcome_.rows = shownRows();
}

}  // namespace kelo
