// What the last event told to the rules did, as a value the window can put into words.
#pragma once

#include <string>
#include <vector>

namespace kelo {

struct Outcome {
    enum class Kind {
        Nothing,   // no event yet, a key that is not Enter, or a start with no remembered length
        NewGame,   // length
        Guess,     // guess, characters, bon, mal; code too when it was the last guess allowed
        Win,       // code
        Reveal,    // code
        Refused,   // refusal, typed, length
        NoGame,    // Enter or the give-up before any game was started
        Scrolled,  // rows, moved
        Board,     // rows: the board read again
    };
    enum class Refusal { WrongLength, NoGuessLeft, AlreadyWon };

    Kind kind = Kind::Nothing;
    int length = 0;  // the code length of the game in play
    int guess = 0;   // the counted guess's number, from 1
    std::vector<std::string> characters;
    int bon = 0;
    int mal = 0;
    std::vector<int> code;  // the code as now shown on the board, if it is
    Refusal refusal = Refusal::WrongLength;
    int typed = 0;  // characters in the entry box, counted no further than one past the longest
    // The rows the board shows, top to bottom, leaving out the empty ones.
    struct Row {
        int guess = 0;  // from 1; 0 for the code
        std::vector<std::string> characters;
        int bon = 0;
        int mal = 0;
    };
    std::vector<Row> rows;
    bool moved = false;  // a scroll that changed the rows shown
};

}  // namespace kelo
