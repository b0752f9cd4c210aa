// Starting a game: the length buttons' action, the reset and the draw of the code.
#include <cmath>

#include "Game.h"
#include "Rules.h"

namespace kelo {

void Game::CommandCh_Click(int length) {
    outcome_ = {};
    if (!isCodeLength(length))
        return;
    s_.IniChiffres = static_cast<Single>(length);
    Ini();
    s_.NbChiffres = static_cast<Integer>(length);
    for (int c = 0; c < ColumnCount; ++c)
        board_.setColumnPosition(static_cast<Column>(c), 0);
    for (int k = 0; k < length; ++k)
        board_.setColumnPosition(digitColumn(length, k), k + 1);
    for (int r = 0; r < BoardRows; ++r) {
        board_.setCellVisible(Column::A1, r, length >= 4);
        board_.setCellVisible(Column::A5, r, length == 5);
    }
    Tirage(length);
    outcome_ = {};
    outcome_.kind = Outcome::Kind::NewGame;
    outcome_.length = length;
    board_.giveFocus(FocusTarget::Text);
}

void Game::Ini() {
    random_.reseedFromClock();
    s_.Essai = {};
    s_.Code = {};
    s_.DecalAuto = 0;
    s_.Decal = 0;
    s_.PartieFinie = 0;
    s_.Revealed = false;
    s_.NbCoups = 0;
    s_.NbChiffres = 0;
    board_.setLabelncoup("0");
    // Rows past the 21st guess are never written, so they need no clearing.
    for (std::size_t i = 0; i < static_cast<std::size_t>(MaxGuesses); ++i) {
        for (auto& column : s_.TabA)
            column.at(i).clear();
        s_.TabBon.at(i).clear();
        s_.TabMal.at(i).clear();
    }
    for (int r = 0; r < BoardRows; ++r) {
        showRowGuess(s_, board_, r, r + 1);
        for (int c = 0; c < ColumnCount; ++c)
            board_.setCaption(static_cast<Column>(c), r, "");
    }
    board_.setEntryText("");
}

void Game::Tirage(int n) {
    const auto positions = static_cast<std::size_t>(n);
    for (std::size_t k = 0; k < positions; ++k) {
        // Truncated in double, never rounded: r = 0.99 gives 9.
        const double product = static_cast<double>(random_.next()) * 10.0;
        s_.Code[k] = static_cast<Integer>(std::trunc(product));
    }
    for (std::size_t k = 0; k < positions; ++k)
        s_.Copie[k] = s_.Code[k];
}

void Game::Form_Activate() {
    outcome_ = {};
    s_.SonFlags = 1;
    for (int n = MinLength; n <= MaxLength; ++n) {
        // Only an exact 3.0, 4.0 or 5.0 from the settings starts a game.
        if (s_.IniChiffres == static_cast<Single>(n)) {
            board_.giveFocus(lengthButton(n));
            CommandCh_Click(n);
            return;
        }
    }
    outcome_.kind = Outcome::Kind::NoGame;
}

}  // namespace kelo
