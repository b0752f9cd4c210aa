// Whole turns through the rules' entry points: entry, counting, scrolling, win and give-up.
#include <QtTest>

#include "RulesTable.h"

using namespace kelo;
using kelo::test::digitsOf;
using kelo::test::RulesTable;

Q_DECLARE_METATYPE(std::string)

namespace {

// Plays `count` guesses that cannot win against a code of 9s; guess i starts with the digit
// i % 8 so that every history row is recognisable.
void playMisses(RulesTable& t, int n, int count) {
    for (int i = 0; i < count; ++i) {
        std::string guess(static_cast<std::size_t>(n), '1');
        guess[0] = static_cast<char>('0' + i % 8);
        t.enter(guess);
    }
}

// What board row r must show when it displays history row `row` of a game of length n.
std::string historyRow(const GameState& s, int n, int row) {
    std::string out;
    const auto h = static_cast<std::size_t>(row);
    for (int c = 0; c < 5; ++c) {
        const int position = n == 3 ? c - 1 : c;
        if (c > 0)
            out += '|';
        if (position >= 0 && position < n)
            out += s.TabA.at(static_cast<std::size_t>(position)).at(h);
    }
    return out + '|' + s.TabBon.at(h) + '|' + s.TabMal.at(h);
}

void checkBoardShowsHistory(RulesTable& t, int n, int firstRow) {
    for (int r = 0; r < BoardRows; ++r)
        QCOMPARE(t.board.row(r), historyRow(t.s(), n, firstRow + r));
}

}  // namespace

class TestTurns : public QObject {
    Q_OBJECT
  private slots:
    void newGameResetsBoardAndHidesUnusedColumns_data();
    void newGameResetsBoardAndHidesUnusedColumns();
    void newGameAfterLongerGame();
    void enterTexts_data();
    void enterTexts();
    void onlyEnterIsConsumed();
    void eighthAndNinthGuess();
    void twentyFirstGuessRevealsAndRefusesMore();
    void winOnKthGuess_data();
    void winOnKthGuess();
    void threeDigitWinLeavesOuterColumns();
    void giveUp_data();
    void giveUp();
    void bienAfterWin_data();
    void bienAfterWin();
    void scrollingBoundsAndSnapBack();
    void scrollingAfterTwentyFirstGuess();
    void playAfterLateWinsStaysInHistory();
    void activationStartsRememberedLength_data();
    void activationStartsRememberedLength();
};

void TestTurns::newGameResetsBoardAndHidesUnusedColumns_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("a1");
    QTest::addColumn<bool>("a5");
    QTest::newRow("3 digits hide A1 and A5") << 3 << false << false;
    QTest::newRow("4 digits hide A5") << 4 << true << false;
    QTest::newRow("5 digits hide nothing") << 5 << true << true;
}

void TestTurns::newGameResetsBoardAndHidesUnusedColumns() {
    QFETCH(int, n);
    QFETCH(bool, a1);
    QFETCH(bool, a5);
    RulesTable t;
    t.start({9, 9, 9, 9, 9});
    playMisses(t, 5, 10);  // a 5-digit game in progress, scrolled
    t.start(std::vector<int>(static_cast<std::size_t>(n), 7));
    QCOMPARE(t.s().NbChiffres, n);
    QCOMPARE(t.s().IniChiffres, static_cast<float>(n));
    QCOMPARE(t.s().NbCoups, 0);
    QCOMPARE(t.s().Decal, 0);
    QCOMPARE(t.s().DecalAuto, 0);
    QCOMPARE(t.board.labelncoup, std::string("0"));
    QCOMPARE(t.board.entry, std::string());
    QCOMPARE(t.board.focus, std::optional(FocusTarget::Text));
    QCOMPARE(t.random.reseeds, 2);
    for (int r = 0; r < BoardRows; ++r) {
        QCOMPARE(t.board.row(r), std::string("||||||"));
        QCOMPARE(t.board.isVisible(Column::A1, r), a1);
        QCOMPARE(t.board.isVisible(Column::A5, r), a5);
    }
    for (std::size_t row = 0; row < HistoryRows; ++row)
        QVERIFY(t.s().TabA[0].at(row).empty());
    for (std::size_t k = 0; k < MaxLength; ++k) {
        QCOMPARE(t.s().Code[k], k < static_cast<std::size_t>(n) ? 7 : 0);
    }
}

void TestTurns::newGameAfterLongerGame() {
    RulesTable t;
    t.start({1, 2, 3, 4, 5});
    t.enter("12300");
    const Integer bon = t.s().NbBon;
    t.start({6, 6, 6});
    QCOMPARE(t.s().Code[3], 0);
    QCOMPARE(t.s().Code[4], 0);
    QCOMPARE(t.s().Copie[3], 4);  // the old game's copy stays, unread
    QCOMPARE(t.s().Copie[4], 5);
    QCOMPARE(t.s().NbBon, bon);  // kept until the next guess is scored
}

void TestTurns::enterTexts_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<std::string>("text");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<int>("counted");
    QTest::addColumn<std::string>("row0");
    QTest::newRow("empty box") << "123" << std::string() << "" << 0 << std::string("||||||");
    QTest::newRow("two characters")
        << "123" << std::string("12") << "" << 0 << std::string("||||||");
    QTest::newRow("six characters")
        << "12345" << std::string("123456") << "" << 0 << std::string("||||||");
    QTest::newRow("four in a 3-digit game clicks only")
        << "123" << std::string("1234") << "Kelo3.wav" << 0 << std::string("||||||");
    QTest::newRow("three in a 4-digit game clicks only")
        << "1234" << std::string("123") << "Kelo3.wav" << 0 << std::string("||||||");
    QTest::newRow("letter read as 0, shown as typed")
        << "123" << std::string("1a3") << "Kelo3.wav" << 1 << std::string("|1|a|3||2|0");
    QTest::newRow("leading blank counts as 0")
        << "120" << std::string(" 12") << "Kelo3.wav" << 1 << std::string("| |1|2||0|3");
    QTest::newRow("minus sign counts as 0")
        << "912" << std::string("-12") << "Kelo3.wav" << 1 << std::string("|-|1|2||2|0");
    QTest::newRow("plus and point count as 0")
        << "0501" << std::string("+5.0") << "Kelo3.wav" << 1 << std::string("+|5|.|0||3|0");
    QTest::newRow("accented letters count once")
        << "013"
        << std::string(
               "\xC3\xA9\xC3\xA8"
               "3")
        << "Kelo3.wav" << 1 << std::string("|\xC3\xA9|\xC3\xA8|3||2|0");
    QTest::newRow("emoji counts once")
        << "1234"
        << std::string(
               "1\xF0\x9F\x8E\xB2"
               "34")
        << "Kelo3.wav" << 1 << std::string("1|\xF0\x9F\x8E\xB2|3|4||3|0");
    QTest::newRow("two accented letters are two characters")
        << "123" << std::string("\xC3\xA9\xC3\xA9") << "" << 0 << std::string("||||||");
    QTest::newRow("broken UTF-8 byte is one character")
        << "123"
        << std::string(
               "1\xFF"
               "3")
        << "Kelo3.wav" << 1 << std::string("|1|\xEF\xBF\xBD|3||2|0");
}

void TestTurns::enterTexts() {
    QFETCH(QString, code);
    QFETCH(std::string, text);
    QFETCH(QString, sounds);
    QFETCH(int, counted);
    QFETCH(std::string, row0);
    RulesTable t;
    t.start(digitsOf(code));
    QCOMPARE(t.enter(text), std::int16_t{0});
    QCOMPARE(QString::fromStdString(t.sound.names()), sounds);
    QCOMPARE(t.s().NbCoups, counted);
    QCOMPARE(t.board.labelncoup, std::to_string(counted));
    QCOMPARE(t.board.entry, std::string());
    QCOMPARE(t.board.row(0), row0);
    QCOMPARE(t.s().Code, t.s().Copie);
}

void TestTurns::onlyEnterIsConsumed() {
    RulesTable t;
    t.start({1, 2, 3});
    for (std::int16_t code : {std::int16_t{'1'}, std::int16_t{'a'}, std::int16_t{' '},
                              std::int16_t{10}, std::int16_t{0xE9}, std::int16_t{-1}}) {
        std::int16_t key = code;
        t.board.entry = "123";
        t.game.Text_KeyPress(key);
        QCOMPARE(key, code);
        QCOMPARE(t.s().NbCoups, 0);
        QVERIFY(t.sound.requests.empty());
    }
}

void TestTurns::eighthAndNinthGuess() {
    RulesTable t;
    t.start({9, 9, 9, 9});
    playMisses(t, 4, 8);
    QCOMPARE(t.s().Decal, 0);
    QCOMPARE(t.board.labelncoup, std::string("8"));
    checkBoardShowsHistory(t, 4, 0);
    QCOMPARE(t.board.row(7), std::string("7|1|1|1||0|0"));
    playMisses(t, 4, 1);
    QCOMPARE(t.s().Decal, 1);
    QCOMPARE(t.s().DecalAuto, 1);
    QCOMPARE(t.board.labelncoup, std::string("9"));
    checkBoardShowsHistory(t, 4, 1);
    QCOMPARE(t.board.row(7), std::string("0|1|1|1||0|0"));  // the 9th guess, newest, at the bottom
}

void TestTurns::twentyFirstGuessRevealsAndRefusesMore() {
    RulesTable t;
    t.start({9, 8, 9});
    playMisses(t, 3, 20);
    t.sound.requests.clear();
    t.enter("111");
    QCOMPARE(t.sound.names(), std::string("Kelo3.wav Kelo5.wav"));
    QCOMPARE(t.board.labelncoup, std::string("21"));
    QCOMPARE(t.board.row(7), std::string("|9|8|9||o|h"));
    QCOMPARE(t.board.row(6), historyRow(t.s(), 3, 19));
    QCOMPARE(t.s().Decal, 0);
    QCOMPARE(t.board.focus, std::optional(FocusTarget::Command3ch));
    QCOMPARE(t.board.entry, std::string());  // "Code!" is emptied after the turn
    QCOMPARE(t.s().TabA[0].at(20), std::string("1"));
    t.sound.requests.clear();
    t.enter("989");
    QVERIFY(t.sound.requests.empty());
    QCOMPARE(t.s().NbCoups, 21);
    QCOMPARE(t.s().PartieFinie, 0);
}

void TestTurns::winOnKthGuess_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("k");
    QTest::addColumn<FocusTarget>("button");
    QTest::newRow("3 digits, first guess") << "007" << 1 << FocusTarget::Command3ch;
    QTest::newRow("4 digits, 9th guess") << "4040" << 9 << FocusTarget::Command4ch;
    QTest::newRow("5 digits, 21st guess: no reveal") << "98989" << 21 << FocusTarget::Command5ch;
}

void TestTurns::winOnKthGuess() {
    QFETCH(QString, code);
    QFETCH(int, k);
    QFETCH(FocusTarget, button);
    const int n = static_cast<int>(code.size());
    RulesTable t;
    t.start(digitsOf(code));
    playMisses(t, n, k - 1);
    t.sound.requests.clear();
    QCOMPARE(t.enter(code.toStdString()), std::int16_t{0});
    QCOMPARE(t.sound.names(), std::string("Kelo3.wav Kelo4.wav"));
    QCOMPARE(t.board.labelncoup, std::to_string(k - 1));  // the winning guess is not counted
    const std::string a1 = n == 3 ? "" : code.left(1).toStdString();
    const std::string middle = code.mid(n == 3 ? 0 : 1, 3).toStdString();
    const std::string a5 = n == 5 ? code.right(1).toStdString() : "";
    const std::string expected = a1 + '|' + middle.substr(0, 1) + '|' + middle.substr(1, 1) + '|' +
                                 middle.substr(2, 1) + '|' + a5 + '|' + std::to_string(n) + "|0";
    for (int r = 0; r < BoardRows; ++r)
        QCOMPARE(t.board.row(r), expected);
    QCOMPARE(t.board.entry, std::string("Bien!"));
    QCOMPARE(t.board.focus, std::optional(button));
    QCOMPARE(t.s().PartieFinie, 1);
    QCOMPARE(t.s().NbCoups, 0);
    QCOMPARE(t.s().Decal, 0);
}

void TestTurns::threeDigitWinLeavesOuterColumns() {
    RulesTable t;
    t.start({1, 2, 3});
    t.board.captions[0][2] = "x";  // whatever A1 holds, a 3-digit game never writes it
    t.enter("123");
    QCOMPARE(t.board.cell(Column::A1, 2), std::string("x"));
    QCOMPARE(t.board.cell(Column::A5, 2), std::string());
}

void TestTurns::giveUp_data() {
    QTest::addColumn<QString>("when");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<std::string>("row7");
    QTest::addColumn<std::string>("entry");
    QTest::newRow("during play") << "play"
                                 << "Kelo5.wav" << std::string("5|6|7|8||o|h")
                                 << std::string("Code!");
    QTest::newRow("twice in a row")
        << "twice"
        << "Kelo5.wav Kelo5.wav" << std::string("5|6|7|8||o|h") << std::string("Code!");
    QTest::newRow("after a win: nothing")
        << "won"
        << "" << std::string("5|6|7|8||4|0") << std::string("Bien!");
    QTest::newRow("after the 21st guess: again")
        << "used up"
        << "Kelo5.wav" << std::string("5|6|7|8||o|h") << std::string("Code!");
    QTest::newRow("before any game: nothing") << "no game"
                                              << "" << std::string("||||||") << std::string();
}

void TestTurns::giveUp() {
    QFETCH(QString, when);
    QFETCH(QString, sounds);
    QFETCH(std::string, row7);
    QFETCH(std::string, entry);
    RulesTable t;
    if (when != "no game")
        t.start({5, 6, 7, 8});
    if (when == "won")
        t.enter("5678");
    if (when == "used up")
        playMisses(t, 4, 21);
    t.enter("12");  // leaves the box empty, refused
    t.board.focus.reset();
    t.sound.requests.clear();
    t.game.Commandv_Click();
    if (when == "twice")
        t.game.Commandv_Click();
    QCOMPARE(QString::fromStdString(t.sound.names()), sounds);
    QCOMPARE(t.board.row(7), row7);
    QCOMPARE(t.board.entry, entry == "Bien!" ? std::string() : entry);
    QCOMPARE(t.s().Revealed, !sounds.isEmpty());  // the rules remember the code was shown
    if (!sounds.isEmpty()) {
        QCOMPARE(t.board.focus, std::optional(FocusTarget::Command3ch));  // whatever the length
        QCOMPARE(t.s().Decal, 0);
    }
}

void TestTurns::bienAfterWin_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<int>("counted");
    QTest::addColumn<std::string>("entry");
    QTest::newRow("3 digits: clicks, Bien! stays") << "123"
                                                   << "Kelo3.wav" << 0 << std::string("Bien!");
    QTest::newRow("5 digits: played as the guess 00000") << "12345"
                                                         << "Kelo3.wav" << 1 << std::string();
    QTest::newRow("5 digits, code 00000: won again")
        << "00000"
        << "Kelo3.wav Kelo4.wav" << 0 << std::string("Bien!");
}

void TestTurns::bienAfterWin() {
    QFETCH(QString, code);
    QFETCH(QString, sounds);
    QFETCH(int, counted);
    QFETCH(std::string, entry);
    RulesTable t;
    t.start(digitsOf(code));
    t.enter(code.toStdString());
    t.sound.requests.clear();
    QCOMPARE(t.board.entry, std::string("Bien!"));
    std::int16_t key = 13;
    t.game.Text_KeyPress(key);
    QCOMPARE(QString::fromStdString(t.sound.names()), sounds);
    QCOMPARE(t.s().NbCoups, counted);
    QCOMPARE(t.board.entry, entry);
    if (counted == 1) {
        QCOMPARE(t.s().TabA[0].at(0) + t.s().TabA[4].at(0), std::string("B!"));
        QCOMPARE(t.board.row(0), std::string("B|i|e|n|!|0|0"));
        QCOMPARE(t.s().PartieFinie, 1);
    }
}

void TestTurns::scrollingBoundsAndSnapBack() {
    RulesTable t;
    t.start({9, 9, 9});
    playMisses(t, 3, 8);
    t.board.focus.reset();
    t.game.Commandplus_Click();
    t.game.Commandmoins_Click();
    QCOMPARE(t.s().Decal, 0);  // 8 guesses: nothing to scroll
    QCOMPARE(t.board.focus, std::optional(FocusTarget::Text));
    playMisses(t, 3, 1);
    t.game.Commandmoins_Click();
    QCOMPARE(t.s().Decal, 0);
    checkBoardShowsHistory(t, 3, 0);
    t.game.Commandmoins_Click();
    QCOMPARE(t.s().Decal, 0);
    for (int press = 0; press < 20; ++press)
        t.game.Commandplus_Click();
    QCOMPARE(t.s().Decal, MaxDecal);
    checkBoardShowsHistory(t, 3, 13);
    QCOMPARE(t.board.row(0), std::string("||||||"));
    QCOMPARE(t.s().DecalAuto, 1);  // the buttons never move the view the turns keep
    playMisses(t, 3, 1);
    QCOMPARE(t.s().Decal, 2);
    checkBoardShowsHistory(t, 3, 2);
}

void TestTurns::scrollingAfterTwentyFirstGuess() {
    RulesTable t;
    t.start({9, 9, 9, 9, 9});
    playMisses(t, 5, 21);
    t.game.Commandmoins_Click();
    QCOMPARE(t.s().Decal, 0);
    QCOMPARE(t.board.row(7), std::string("9|9|9|9|9|o|h"));
    t.game.Commandplus_Click();
    checkBoardShowsHistory(t, 5, 1);
    t.game.Commandmoins_Click();
    checkBoardShowsHistory(t, 5, 0);
}

void TestTurns::playAfterLateWinsStaysInHistory() {
    RulesTable t;
    t.start({9, 9, 9});
    for (int win = 0; win < 5; ++win) {
        playMisses(t, 3, 20);
        t.enter("999");
        QCOMPARE(t.s().PartieFinie, 1);
    }
    // Play goes on after the wins and the board follows the newest guess as in a fresh game.
    playMisses(t, 3, 12);
    QCOMPARE(t.s().Decal, 4);
    checkBoardShowsHistory(t, 3, 4);
    QCOMPARE(t.board.row(7), historyRow(t.s(), 3, 11));
    for (int press = 0; press < 20; ++press)
        t.game.Commandplus_Click();
    QCOMPARE(t.s().Decal, MaxDecal);
}

void TestTurns::activationStartsRememberedLength_data() {
    QTest::addColumn<float>("remembered");
    QTest::addColumn<int>("started");
    QTest::newRow("3") << 3.0F << 3;
    QTest::newRow("4") << 4.0F << 4;
    QTest::newRow("5") << 5.0F << 5;
    QTest::newRow("3.5 starts nothing") << 3.5F << 0;
    QTest::newRow("7 starts nothing") << 7.0F << 0;
    QTest::newRow("0 starts nothing") << 0.0F << 0;
}

void TestTurns::activationStartsRememberedLength() {
    QFETCH(float, remembered);
    QFETCH(int, started);
    RulesTable t;
    t.game.settingsRead(0.0F, 0.0F, remembered);
    QCOMPARE(t.s().SonFlags, 0);
    t.game.Form_Activate();
    QCOMPARE(t.s().SonFlags, 1);
    QCOMPARE(t.s().NbChiffres, started);
    QCOMPARE(t.s().IniChiffres, remembered);
    QCOMPARE(t.board.labelncoup, std::string(started ? "0" : ""));
    QCOMPARE(t.board.focus.has_value(), started != 0);
    QVERIFY(t.sound.requests.empty());
}

QTEST_APPLESS_MAIN(TestTurns)
#include "test_turns.moc"
