// The parts of the rules that need nothing but the state: reading and scoring a guess,
// copying history rows onto the board, and the text helpers they share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "BoardCells.h"
#include "GameState.h"

namespace kelo {

// The entry text split into characters (Unicode code points, UTF-8 encoded). A byte that is not
// part of valid UTF-8 counts as one character and becomes U+FFFD, so no cell holds half of one.
std::vector<std::string> splitCharacters(std::string_view utf8);

// The number of characters that splitCharacters would give, counted no further than `limit`, so
// that a huge pasted text costs no more than a short one.
std::size_t countCharacters(std::string_view utf8, std::size_t limit);

// The entry box's length in characters, counted no further than one past the longest guess:
// enough to tell a guess's length from a text too long to be one.
std::size_t typedLength(const BoardCells& board);

// Only the ten ASCII digits have a value; every other character counts as 0.
Integer digitValue(std::string_view character);

// Which board column shows position `position` (0-based) of a code of length n.
Column digitColumn(int n, int position);

// Saisie3, Saisie4, Saisie5: reads the n characters of the guess into Essai and into history
// row NbCoups.
void Saisie(GameState& s, const std::vector<std::string>& characters, int n);

// Corrig3, Corrig4, Corrig5: scores Essai against Code: NbBon, NbMal, and their text in history
// row NbCoups.
void Corrig(GameState& s, int n);

// Affich3, Affich4, Affich5: redraws the 8 board rows from history rows Decal .. Decal + 7.
void Affich(GameState& s, BoardCells& board, int n);

// Board row `row` shows guess `guess` from now on (0: the code), in the state and to the board.
void showRowGuess(GameState& s, BoardCells& board, int row, int guess);

}  // namespace kelo
