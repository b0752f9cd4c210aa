// Every variable of the one game window: the game in play, the window's remembered settings
// and the sound flags. Plain data; the rules in this folder read and write it directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelo {

using Integer = std::int16_t;  // digits, counts, offsets and flags
using Single = float;          // window position and remembered length
using Flags = std::int32_t;    // the word passed with every sound request

constexpr int MinLength = 3;
constexpr int MaxLength = 5;
constexpr int BoardRows = 8;
constexpr int HistoryRows = 31;  // rows 0..30; guesses only ever reach row 20
constexpr int MaxGuesses = 21;
constexpr int MaxDecal = MaxGuesses - BoardRows;  // 13: the board's last row on the 21st guess

constexpr bool isCodeLength(int n) {
    return n >= MinLength && n <= MaxLength;
}

// One history column: a row holds one character (UTF-8) or a count, or is empty.
using History = std::array<std::string, HistoryRows>;

struct GameState {
    Integer NbChiffres = 0;  // code length of the game in play; 0 before the first
    // Code1, Code2, Code3, Code4, Code5 (Code[0] is Code1); 10 marks a matched digit.
    std::array<Integer, MaxLength> Code{};
    // Copie1, Copie2, Copie3, Copie4, Copie5: the code as drawn, restored after each scoring.
    std::array<Integer, MaxLength> Copie{};
    // Essai1, Essai2, Essai3, Essai4, Essai5: the guess; 11 marks a matched digit.
    std::array<Integer, MaxLength> Essai{};
    Integer NbBon = 0;
    Integer NbMal = 0;
    Integer NbCoups = 0;      // guesses counted, and the history row of the next one
    Integer Decal = 0;        // history row shown in board row 0
    Integer DecalAuto = 0;    // the offset that keeps the newest guess on the last board row
    Integer PartieFinie = 0;  // 1 once the game is won
    bool Revealed = false;    // the code was shown, by the give-up or after the last guess
    // What each board row shows: the guess numbered from 1 (its history row + 1), or 0 for the
    // code. The board may still show rows that Decal no longer points to, after a reveal.
    std::array<Integer, BoardRows> RowGuess{};

    // TabA1, TabA2, TabA3, TabA4, TabA5 (TabA[0] is TabA1): position 1..5 of each guess.
    std::array<History, MaxLength> TabA;
    History TabBon;
    History TabMal;

    Single IniGauche = 0.0F;
    Single IniHaut = 0.0F;
    Single IniChiffres = 0.0F;
    Flags SonFlags = 0;
    double TempsDebut = 0.0;
    double TempsLu = 0.0;
};

}  // namespace kelo
