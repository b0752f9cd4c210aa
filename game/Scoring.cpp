// Scoring a guess: digits right and well placed (NbBon), right but misplaced (NbMal).
#include <string>

#include "Rules.h"

namespace kelo {

namespace {
// Marks that no digit 0..9 equals, and that differ from each other, so a matched position
// never matches again from either side.
constexpr Integer MatchedCode = 10;
constexpr Integer MatchedGuess = 11;
}  // namespace

void Corrig(GameState& s, int n) {
    const auto positions = static_cast<std::size_t>(n);
    s.NbBon = 0;
    s.NbMal = 0;
    for (std::size_t k = 0; k < positions; ++k) {
        if (s.Essai[k] == s.Code[k]) {
            s.Code[k] = MatchedCode;
            s.Essai[k] = MatchedGuess;
            ++s.NbBon;
        }
    }
    for (std::size_t i = 0; i < positions; ++i) {
        for (std::size_t j = 0; j < positions; ++j) {
            if (j != i && s.Essai[i] == s.Code[j]) {
                s.Code[j] = MatchedCode;
                s.Essai[i] = MatchedGuess;
                ++s.NbMal;
            }
        }
    }
    for (std::size_t k = 0; k < positions; ++k)
        s.Code[k] = s.Copie[k];
    const auto row = static_cast<std::size_t>(s.NbCoups);
    s.TabBon.at(row) = std::to_string(s.NbBon);
    s.TabMal.at(row) = std::to_string(s.NbMal);
}

}  // namespace kelo
