// Whole games through real keys and clicks on the window: board, scrolling, endings, entry box,
// focus, the keyboard, activation and a grab of the window after a scripted game.
#include <QClipboard>
#include <QtTest>

#include "WindowHarness.h"

using namespace kelo;
using kelo::test::containsColour;
using kelo::test::digitsOf;
using kelo::test::pixelAt;
using kelo::test::WindowHarness;

namespace {

const QColor Background(1, 0, 66);
const QString EmptyRow = QStringLiteral("||||||");

// Board row of a game of length n showing these characters and scores.
QString boardRow(int n, const QString& characters, const QString& bon, const QString& mal) {
    QStringList cells(5);
    const int first = n == 3 ? 1 : 0;
    for (int k = 0; k < characters.size(); ++k)
        cells[first + k] = characters.at(k);
    return (cells + QStringList{bon, mal}).join(u'|');
}

// The k-th miss (0-based) of the scrolling tests against the code 9 9 9.
QString miss(int k) {
    return QStringLiteral("10%1").arg(k);
}

QString missRow(int k) {
    return boardRow(3, miss(k), "0", "0");
}

void checkBoardFrom(const WindowHarness& h, int firstShown, int guessesPlayed) {
    for (int r = 0; r < BoardRows; ++r) {
        const int k = firstShown + r;
        QCOMPARE(h.row(r), k < guessesPlayed ? missRow(k) : EmptyRow);
        // Rereading the board, a screen reader hears which guess a cell shows now.
        QCOMPARE(h.form.cell(Column::A3, r)->accessibleName(),
                 k < guessesPlayed ? QStringLiteral("Coup %1, chiffre 2").arg(k + 1) : "vide");
    }
}

}  // namespace

class TestWindowPlay : public QObject {
    Q_OBJECT
  private slots:
    void guessesLandInTheirColumns_data();
    void guessesLandInTheirColumns();
    void hiddenColumnsShowBackground_data();
    void hiddenColumnsShowBackground();
    void ninthGuessScrollsAndScrollButtons();
    void scrollButtonsIdleBeforeNinthGuess();
    void giveUpShowsCodeInLastRow_data();
    void giveUpShowsCodeInLastRow();
    void winFillsBoard_data();
    void winFillsBoard();
    void enterIsNeverInserted_data();
    void enterIsNeverInserted();
    void enterAfterWinKeepsBien();
    void otherKeysReachTheBox_data();
    void otherKeysReachTheBox();
    void editingKeysReachTheBox();
    void pasteReachesTheBox();
    void keyboardActsOnTheGame_data();
    void keyboardActsOnTheGame();
    void onlyFirstActivationStartsAGame();
    void screenshotAfterScriptedGame_data();
    void screenshotAfterScriptedGame();
};

void TestWindowPlay::guessesLandInTheirColumns_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("guesses");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("3 digits in A2..A4")
        << 3 << "112" << QStringList{"121", "1a3"} << QStringList{"|1|2|1||1|2", "|1|a|3||1|0"};
    QTest::newRow("4 digits in A1..A4") << 4 << "3312" << QStringList{"1333", "2211"}
                                        << QStringList{"1|3|3|3||1|2", "2|2|1|1||1|1"};
    QTest::newRow("5 digits in A1..A5") << 5 << "77007" << QStringList{"07770", "00000"}
                                        << QStringList{"0|7|7|7|0|1|4", "0|0|0|0|0|2|0"};
}

void TestWindowPlay::guessesLandInTheirColumns() {
    QFETCH(int, n);
    QFETCH(QString, code);
    QFETCH(QStringList, guesses);
    QFETCH(QStringList, rows);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(n, digitsOf(code));
    QCOMPARE(h.focusName(), QStringLiteral("Text"));
    for (const QString& g : guesses)
        h.guess(g);
    for (int r = 0; r < rows.size(); ++r)
        QCOMPARE(h.row(r), rows.at(r));
    for (auto r = static_cast<int>(rows.size()); r < BoardRows; ++r)
        QCOMPARE(h.row(r), EmptyRow);
    QCOMPARE(h.labelncoup(), QString::number(guesses.size()));
    QCOMPARE(h.text()->text(), QString());
    QCOMPARE(h.focusName(), QStringLiteral("Text"));
    for (int r = 0; r < BoardRows; ++r) {
        QCOMPARE(!h.form.cell(Column::A1, r)->isHidden(), n >= 4);
        QCOMPARE(!h.form.cell(Column::A5, r)->isHidden(), n == 5);
        QVERIFY(!h.form.cell(Column::A2, r)->isHidden());
    }
}

void TestWindowPlay::hiddenColumnsShowBackground_data() {
    QTest::addColumn<int>("n");
    QTest::newRow("3 digits hide A1 and A5") << 3;
    QTest::newRow("4 digits hide A5") << 4;
    QTest::newRow("5 digits hide none") << 5;
}

void TestWindowPlay::hiddenColumnsShowBackground() {
    QFETCH(int, n);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(n, {1, 2, 3, 4, 5});
    h.guess(QStringLiteral("55555").left(n));
    const QImage image = h.grab();
    const QColor maroon(128, 0, 0);
    for (int r = 0; r < BoardRows; ++r) {
        for (Column c : {Column::A1, Column::A5}) {
            const bool shown = c == Column::A1 ? n >= 4 : n == 5;
            const QRect cell = h.form.cell(c, r)->geometry();
            // Near the corner, clear of any digit: the cell's fill, or the window behind it.
            const QPoint corner = cell.topLeft() + QPoint(2, 2);
            QCOMPARE(pixelAt(image, corner), shown ? maroon : Background);
            QCOMPARE(pixelAt(image, cell.center()) == Background, !shown);
        }
    }
}

void TestWindowPlay::ninthGuessScrollsAndScrollButtons() {
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(3, {9, 9, 9});
    for (int k = 0; k < 8; ++k)
        h.guess(miss(k));
    checkBoardFrom(h, 0, 8);
    QCOMPARE(h.labelncoup(), QStringLiteral("8"));

    h.guess(miss(8));
    checkBoardFrom(h, 1, 9);
    QCOMPARE(h.labelncoup(), QStringLiteral("9"));

    // "-" shows older rows down to the first; its focus goes back to the entry box.
    h.click("Commandmoins");
    checkBoardFrom(h, 0, 9);
    QCOMPARE(h.focusName(), QStringLiteral("Text"));
    h.click("Commandmoins");
    checkBoardFrom(h, 0, 9);

    // "+" goes one row at a time past the newest guess, up to history rows 13..20.
    for (int press = 1; press <= 15; ++press) {
        h.click("Commandplus");
        checkBoardFrom(h, std::min(press, MaxDecal), 9);
        QCOMPARE(h.focusName(), QStringLiteral("Text"));
    }
    QCOMPARE(h.labelncoup(), QStringLiteral("9"));

    // The next guess brings the newest guess back to the last row.
    h.guess(QStringLiteral("119"));
    QCOMPARE(h.row(7), boardRow(3, QStringLiteral("119"), "1", "0"));
    for (int r = 0; r < 7; ++r)
        QCOMPARE(h.row(r), missRow(r + 2));
}

void TestWindowPlay::scrollButtonsIdleBeforeNinthGuess() {
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(3, {9, 9, 9});
    for (int k = 0; k < 8; ++k)
        h.guess(miss(k));
    for (const char* name : {"Commandmoins", "Commandplus", "Commandplus", "Commandmoins"}) {
        h.click(name);
        checkBoardFrom(h, 0, 8);
        QCOMPARE(h.focusName(), QStringLiteral("Text"));
    }
}

void TestWindowPlay::giveUpShowsCodeInLastRow_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("lastRow");
    QTest::newRow("3 digits") << 3 << "407"
                              << "|4|0|7||o|h";
    QTest::newRow("4 digits") << 4 << "0012"
                              << "0|0|1|2||o|h";
    QTest::newRow("5 digits") << 5 << "98765"
                              << "9|8|7|6|5|o|h";
}

void TestWindowPlay::giveUpShowsCodeInLastRow() {
    QFETCH(int, n);
    QFETCH(QString, code);
    QFETCH(QString, lastRow);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(n, digitsOf(code));
    const QString first = QStringLiteral("33333").left(n);
    h.guess(first);
    const QString firstRow = h.row(0);
    QVERIFY(firstRow.startsWith(n == 3 ? "|3|3|3|" : "3|3|3|"));

    h.click("Commandv");
    QCOMPARE(h.row(7), lastRow);
    QCOMPARE(h.form.cell(Column::Bon, 7)->accessibleName(), QStringLiteral("Code, bien placés"));
    QCOMPARE(h.row(0), firstRow);
    QCOMPARE(h.text()->text(), QStringLiteral("Code!"));
    QCOMPARE(h.focusName(), QStringLiteral("Command3ch"));
}

void TestWindowPlay::winFillsBoard_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("row");
    QTest::newRow("3 digits") << 3 << "250"
                              << "|2|5|0||3|0";
    QTest::newRow("4 digits") << 4 << "1111"
                              << "1|1|1|1||4|0";
    QTest::newRow("5 digits") << 5 << "31415"
                              << "3|1|4|1|5|5|0";
}

void TestWindowPlay::winFillsBoard() {
    QFETCH(int, n);
    QFETCH(QString, code);
    QFETCH(QString, row);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(n, digitsOf(code));
    h.guess(QStringLiteral("99999").left(n));
    h.guess(code);
    for (int r = 0; r < BoardRows; ++r)
        QCOMPARE(h.row(r), row);
    QCOMPARE(h.text()->text(), QStringLiteral("Bien!"));
    QCOMPARE(h.focusName(), QStringLiteral("Command%1ch").arg(n));
    QCOMPARE(h.labelncoup(), QStringLiteral("1"));
}

void TestWindowPlay::enterIsNeverInserted_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("labelncoup");
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("Return with a guess") << int(Qt::Key_Return) << 0 << "123"
                                         << "1";
    QTest::newRow("keypad Enter with a guess") << int(Qt::Key_Enter) << keypad << "123"
                                               << "1";
    QTest::newRow("Shift+Return with a guess")
        << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "123"
        << "1";
    QTest::newRow("Return with 2 characters") << int(Qt::Key_Return) << 0 << "12"
                                              << "0";
    QTest::newRow("keypad Enter with 6 characters") << int(Qt::Key_Enter) << keypad << "123456"
                                                    << "0";
    QTest::newRow("Return with the wrong length") << int(Qt::Key_Return) << 0 << "1234"
                                                  << "0";
    QTest::newRow("Return in an empty box") << int(Qt::Key_Return) << 0 << ""
                                            << "0";
}

void TestWindowPlay::enterIsNeverInserted() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    QFETCH(QString, labelncoup);
    WindowHarness h;
    h.random.drawDigits({9, 9, 9});
    QVERIFY(h.start());
    h.type(typed);
    QCOMPARE(h.text()->text(), typed);
    // Consumed: the box does not even see the key, so it signals nothing either.
    QSignalSpy returnPressed(h.text(), &QLineEdit::returnPressed);
    QSignalSpy editingFinished(h.text(), &QLineEdit::editingFinished);
    QTest::keyClick(h.window(), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(returnPressed.count(), 0);
    QCOMPARE(editingFinished.count(), 0);
    QCOMPARE(h.text()->text(), QString());
    QCOMPARE(h.labelncoup(), labelncoup);
    // The box is emptied and nothing of the key is left in it even when more is typed.
    h.type(QStringLiteral("4"));
    QCOMPARE(h.text()->text(), QStringLiteral("4"));
}

void TestWindowPlay::enterAfterWinKeepsBien() {
    WindowHarness h;
    h.random.drawDigits({1, 2, 3});
    QVERIFY(h.start());
    h.guess(QStringLiteral("123"));
    QCOMPARE(h.text()->text(), QStringLiteral("Bien!"));
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, h.centreOf(h.text()));
    QCOMPARE(h.focusName(), QStringLiteral("Text"));
    h.enter();
    QCOMPARE(h.text()->text(), QStringLiteral("Bien!"));
    QCOMPARE(h.sounds(), QStringLiteral("Kelo3.wav Kelo4.wav Kelo3.wav"));
}

void TestWindowPlay::otherKeysReachTheBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("digits") << "0123456789";
    QTest::newRow("letters") << "abcXYZ";
    QTest::newRow("blanks") << "  1 ";
    QTest::newRow("signs and punctuation") << "+-.,;:!?*/";
    QTest::newRow("accented and other letters") << "\u00e9\u00e0\u00e7\u00c9\u20ac\u00df";
    QTest::newRow("far longer than a guess") << QString(40, u'7');
}

void TestWindowPlay::otherKeysReachTheBox() {
    QFETCH(QString, typed);
    WindowHarness h;
    QVERIFY(h.start());
    h.type(typed);
    QCOMPARE(h.text()->text(), typed);
    QCOMPARE(h.state().NbCoups, 0);
    QVERIFY(h.sound.requests.empty());
}

void TestWindowPlay::editingKeysReachTheBox() {
    WindowHarness h;
    QVERIFY(h.start());
    h.type(QStringLiteral("1234"));
    QTest::keyClick(h.window(), Qt::Key_Backspace);
    QCOMPARE(h.text()->text(), QStringLiteral("123"));
    QTest::keyClick(h.window(), Qt::Key_Home);
    QTest::keyClick(h.window(), Qt::Key_Delete);
    QCOMPARE(h.text()->text(), QStringLiteral("23"));
    QTest::keyClick(h.window(), Qt::Key_A, Qt::ControlModifier);
    h.type(QStringLiteral("x"));
    QCOMPARE(h.text()->text(), QStringLiteral("x"));
}

void TestWindowPlay::pasteReachesTheBox() {
    WindowHarness h;
    QVERIFY(h.start());
    // Longer than QLineEdit's own default limit of 32767 characters.
    const QString pasted = QStringLiteral("0123456789").repeated(4000) + QStringLiteral("\u00e9 z");
    QGuiApplication::clipboard()->setText(pasted);
    if (QGuiApplication::clipboard()->text() != pasted)
        QSKIP("no clipboard on this platform");
    h.type(QStringLiteral("ab"));
    QTest::keyClick(h.window(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.text()->text(), QStringLiteral("ab") + pasted);
}

void TestWindowPlay::keyboardActsOnTheGame_data() {
    QTest::addColumn<QString>("focus");  // the button given the focus first; empty: the entry box
    QTest::addColumn<QKeySequence>("keys");
    // What follows: "<length>|<entry text>|<board offset>|<focus>", and "|new" for a new game.
    QTest::addColumn<QString>("done");
    const QKeySequence enter(Qt::Key_Return);
    const QKeySequence keypadEnter(Qt::KeypadModifier | Qt::Key_Enter);
    const auto row = [](const char* name, const char* focus, const QKeySequence& keys,
                        const char* done) {
        QTest::newRow(name) << QString::fromUtf8(focus) << keys << QString::fromUtf8(done);
    };
    // Before each row: a 4-digit game against 9 9 9 9 with ten misses, the board at offset 2.
    row("Enter on 3", "Command3ch", enter, "3||0|Text|new");
    row("keypad Enter on 4", "Command4ch", keypadEnter, "4||0|Text|new");
    row("Enter on 5", "Command5ch", enter, "5||0|Text|new");
    row("Enter on v", "Commandv", enter, "4|Code!|0|Command3ch");
    row("Enter on -", "Commandmoins", enter, "4||1|Text");
    row("keypad Enter on +", "Commandplus", keypadEnter, "4||3|Text");
    row("Alt+3", "", QKeySequence(Qt::ALT | Qt::Key_3), "3||0|Text|new");
    row("Alt+4", "", QKeySequence(Qt::ALT | Qt::Key_4), "4||0|Text|new");
    row("Alt+5 from a button", "Commandplus", QKeySequence(Qt::ALT | Qt::Key_5), "5||0|Text|new");
    row("Alt+V", "", QKeySequence(Qt::ALT | Qt::Key_V), "4|Code!|0|Command3ch");
    row("Page Up", "", QKeySequence(Qt::Key_PageUp), "4||1|Text");
    row("Page Down", "", QKeySequence(Qt::Key_PageDown), "4||3|Text");
    row("the Enter of a winning turn, and its repeat", "", {}, "4|Bien!|0|Command4ch");
}

void TestWindowPlay::keyboardActsOnTheGame() {
    QFETCH(QString, focus);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, done);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(4, {9, 9, 9, 9});
    for (int k = 0; k < 10; ++k)
        h.guess(QStringLiteral("%1").arg(1000 + k));
    if (!focus.isEmpty())
        h.button(focus)->setFocus();
    const int reseeds = h.random.reseeds;
    h.sound.requests.clear();
    if (keys.isEmpty()) {
        // Pressed in the entry box and released, or repeated, on the button the win focuses.
        h.type(QStringLiteral("9999"));
        QTest::sendKeyEvent(QTest::Press, h.window(), Qt::Key_Return, QStringLiteral("\r"), {});
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(QApplication::focusWidget(), &repeat);
        QTest::sendKeyEvent(QTest::Release, h.window(), Qt::Key_Return, QStringLiteral("\r"), {});
    } else {
        QTest::keySequence(h.window(), keys);
    }
    const QStringList expected = done.split(u'|');
    const QString& focusAfter = expected[3];
    QCOMPARE(h.state().NbChiffres, expected[0].toInt());
    QCOMPARE(h.random.reseeds, reseeds + (expected.size() > 4 ? 1 : 0));
    QCOMPARE(h.text()->text(), expected[1]);
    QCOMPARE(h.state().Decal, expected[2].toInt());
    QCOMPARE(h.focusName(), focusAfter);
    // No button sound (the keyboard is not the mouse) and no caption changed.
    const QString sounds = h.sounds();
    QVERIFY2(!sounds.contains(QLatin1String("Kelo1")) && !sounds.contains(QLatin1String("Kelo2")),
             qPrintable(sounds));
    for (const auto& control : layout::Controls) {
        if (std::holds_alternative<ControlMember<QPushButton>>(control.member))
            QCOMPARE(h.button(QLatin1String(control.name))->text(), QLatin1String(control.caption));
    }
    // The focused control shows a ring in its text colour just inside its edge, and no other
    // control does.
    const QImage image = h.grab();
    for (const auto& control : layout::Controls) {
        if (std::holds_alternative<ControlMember<ValueLabel>>(control.member))
            continue;
        QWidget* w = h.widget(QLatin1String(control.name));
        const QColor ring =
            w->palette().color(w == h.text() ? QPalette::Text : QPalette::ButtonText);
        const QPoint at = w->geometry().topLeft() + QPoint(3, w->height() / 2);
        QCOMPARE(pixelAt(image, at) == ring, w->objectName() == focusAfter);
        // And every one keeps an edge that stands out from the dark window around it.
        const QColor edge = pixelAt(image, w->geometry().topLeft() + QPoint(0, w->height() / 2));
        QVERIFY2(qAbs(qGray(edge.rgb()) - qGray(Background.rgb())) > 64,
                 qPrintable(w->objectName()));
    }
}

void TestWindowPlay::onlyFirstActivationStartsAGame() {
    WindowHarness h;
    h.random.drawDigits({5, 0, 5});
    QCOMPARE(h.state().SonFlags, 0);
    QCOMPARE(h.state().NbChiffres, 0);
    QVERIFY(h.start());
    QCOMPARE(h.state().SonFlags, 1);
    QCOMPARE(h.state().NbChiffres, 3);
    QCOMPARE(h.state().Code[0], 5);
    QCOMPARE(h.state().Code[2], 5);
    QCOMPARE(h.random.reseeds, 1);
    QCOMPARE(h.focusName(), QStringLiteral("Text"));
    QCOMPARE(h.labelncoup(), QStringLiteral("0"));
    h.guess(QStringLiteral("550"));
    h.type(QStringLiteral("12"));

    // Another window takes the activation, then this one gets it back: the game goes on.
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    h.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.form));
    QCOMPARE(h.random.reseeds, 1);
    QCOMPARE(h.state().NbCoups, 1);
    QCOMPARE(h.row(0), QStringLiteral("|5|5|0||1|2"));
    QCOMPARE(h.text()->text(), QStringLiteral("12"));
}

// A 4-digit game, 1 2 3 4, after the guesses 1243 (2 and 2) and 5678 (0 and 0).
void TestWindowPlay::screenshotAfterScriptedGame_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("offset");  // from the control's top-left; (-1, -1): its centre
    QTest::addColumn<QColor>("colour");
    const QPoint centre(-1, -1);
    const QPoint inside(2, 2);
    QTest::newRow("A1 cell fill") << "A1_0" << inside << QColor(128, 0, 0);
    QTest::newRow("empty A4 cell fill at its centre") << "A4_5" << centre << QColor(128, 0, 0);
    QTest::newRow("Bon cell fill") << "Bon_1" << inside << QColor(0, 128, 0);
    QTest::newRow("Mal cell fill") << "Mal_7" << inside << QColor(128, 0, 128);
    QTest::newRow("hidden A5 shows the background") << "A5_0" << centre << Background;
    QTest::newRow("hidden A5, last row") << "A5_7" << centre << Background;
    QTest::newRow("counter fill") << "Labelncoup" << QPoint(2, 2) << QColor(0, 0, 128);
    QTest::newRow("entry box fill") << "Text" << QPoint(6, 6) << QColor(128, 0, 0);
    QTest::newRow("background left of the entry box") << "Text" << QPoint(-2, 14) << Background;
}

void TestWindowPlay::screenshotAfterScriptedGame() {
    QFETCH(QString, control);
    QFETCH(QPoint, offset);
    QFETCH(QColor, colour);
    WindowHarness h;
    QVERIFY(h.start());
    h.newGame(4, {1, 2, 3, 4});
    h.guess(QStringLiteral("1243"));
    h.guess(QStringLiteral("5678"));
    QCOMPARE(h.row(0), QStringLiteral("1|2|4|3||2|2"));
    const QImage image = h.grab();

    const QRect r = h.widget(control)->geometry();
    const QPoint at = offset == QPoint(-1, -1) ? r.center() : r.topLeft() + offset;
    QCOMPARE(pixelAt(image, at), colour);

    // Text shows in its own colour inside the cells that hold some, and nowhere else.
    const QColor yellow(255, 255, 0);
    QVERIFY(containsColour(image, h.form.cell(Column::A1, 0)->geometry(), yellow));
    QVERIFY(containsColour(image, h.form.cell(Column::A4, 1)->geometry(), yellow));
    QVERIFY(!containsColour(image, h.form.cell(Column::A1, 2)->geometry(), yellow));
    QVERIFY(containsColour(image, h.form.cell(Column::Bon, 0)->geometry(), QColor(0, 255, 0)));
    QVERIFY(containsColour(image, h.form.cell(Column::Mal, 1)->geometry(), QColor(255, 192, 255)));
    QVERIFY(containsColour(image, h.widget("Labelncoup")->geometry(), QColor(0, 255, 255)));
}

QTEST_MAIN(TestWindowPlay)
#include "test_window_play.moc"
