// The sounds the window asks for, in order, under real mouse clicks, drags and keys.
#include <QtTest>

#include "WindowHarness.h"

using namespace kelo;
using kelo::test::WindowHarness;

namespace {

enum Setup { Playing, Won, NineMisses };

const QStringList AllButtons{"Command3ch", "Command4ch",   "Command5ch",
                             "Commandv",   "Commandmoins", "Commandplus"};

// A 3-digit game with the code 1 2 3, brought to the given point; the requests so far dropped.
void prepare(WindowHarness& h, Setup setup) {
    h.newGame(3, {1, 2, 3});
    if (setup == Won)
        h.guess(QStringLiteral("123"));
    if (setup == NineMisses) {
        for (int k = 0; k < 9; ++k)
            h.guess(QStringLiteral("45%1").arg(k));
    }
    h.sound.requests.clear();
}

// What a button's action could change.
struct Snapshot {
    int reseeds;
    Integer NbChiffres;
    Integer NbCoups;
    Integer Decal;
    QString text;
    QString lastRow;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(WindowHarness& h) {
    return {h.random.reseeds, h.state().NbChiffres, h.state().NbCoups,
            h.state().Decal,  h.text()->text(),     h.row(7)};
}

void checkAllAsynchronous(const WindowHarness& h) {
    for (const auto& [name, flags] : h.sound.requests)
        QCOMPARE(flags, 1);
}

QString pressAndRelease(const QString& button) {
    return button == QLatin1String("Commandv") ? QStringLiteral("Kelo1.wav")
                                               : QStringLiteral("Kelo1.wav Kelo2.wav");
}

// What a button's action left behind: a new game of `newGame` digits (0: none), the scroll
// offset and the entry box.
void checkButtonAction(WindowHarness& h, int reseedsBefore, int newGame, int decal,
                       const QString& text) {
    QCOMPARE(h.random.reseeds, reseedsBefore + (newGame != 0 ? 1 : 0));
    if (newGame != 0)
        QCOMPARE(h.state().NbChiffres, newGame);
    QCOMPARE(h.state().Decal, decal);
    QCOMPARE(h.text()->text(), text);
}

}  // namespace

class TestWindowSounds : public QObject {
    Q_OBJECT
  private slots:
    void noRequestBeforeFirstActivation();
    void leftClick_data();
    void leftClick();
    void otherMouseButtons_data();
    void otherMouseButtons();
    void releasedAwayFromTheButton_data();
    void releasedAwayFromTheButton();
    void keyboardActivation_data();
    void keyboardActivation();
    void doubleClick();
    void winningGuess();
    void twentyFirstGuessWithoutWin();
    void enterTexts_data();
    void enterTexts();
};

void TestWindowSounds::noRequestBeforeFirstActivation() {
    WindowHarness h;
    QCOMPARE(h.state().SonFlags, 0);
    QVERIFY(h.sound.requests.empty());
    QVERIFY(h.start());
    // The activation starts a game and plays nothing itself.
    QCOMPARE(h.state().NbChiffres, 3);
    QCOMPARE(h.state().SonFlags, 1);
    QVERIFY(h.sound.requests.empty());
}

void TestWindowSounds::leftClick_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<int>("newGame");  // the length of the game the click starts, 0 for none
    QTest::addColumn<int>("decal");
    QTest::addColumn<QString>("text");
    const QString tocAfterTic = QStringLiteral("Kelo1.wav Kelo2.wav");
    QTest::newRow("Command3ch") << "Command3ch" << int(Playing) << tocAfterTic << 3 << 0 << "";
    QTest::newRow("Command4ch") << "Command4ch" << int(Playing) << tocAfterTic << 4 << 0 << "";
    QTest::newRow("Command5ch") << "Command5ch" << int(Playing) << tocAfterTic << 5 << 0 << "";
    QTest::newRow("Command3ch after a win")
        << "Command3ch" << int(Won) << tocAfterTic << 3 << 0 << "";
    QTest::newRow("Commandv during play, then the reveal")
        << "Commandv" << int(Playing) << "Kelo1.wav Kelo5.wav" << 0 << 0 << "Code!";
    QTest::newRow("Commandv after a win, press only")
        << "Commandv" << int(Won) << "Kelo1.wav" << 0 << 0 << "Bien!";
    QTest::newRow("Commandmoins") << "Commandmoins" << int(NineMisses) << tocAfterTic << 0 << 0
                                  << "";
    QTest::newRow("Commandplus") << "Commandplus" << int(NineMisses) << tocAfterTic << 0 << 2 << "";
}

void TestWindowSounds::leftClick() {
    QFETCH(QString, button);
    QFETCH(int, setup);
    QFETCH(QString, sounds);
    QFETCH(int, newGame);
    QFETCH(int, decal);
    QFETCH(QString, text);
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, static_cast<Setup>(setup));
    const int reseeds = h.random.reseeds;

    const QPoint centre = h.centreOf(h.button(button));
    QTest::mousePress(h.window(), Qt::LeftButton, {}, centre);
    QCOMPARE(h.sounds(), QStringLiteral("Kelo1.wav"));
    // Nothing has acted yet: the action follows the release.
    QCOMPARE(h.random.reseeds, reseeds);
    QTest::mouseRelease(h.window(), Qt::LeftButton, {}, centre);

    QCOMPARE(h.sounds(), sounds);
    checkAllAsynchronous(h);
    checkButtonAction(h, reseeds, newGame, decal, text);
}

void TestWindowSounds::otherMouseButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    for (const QString& button : AllButtons) {
        QTest::addRow("right on %s", qPrintable(button)) << button << Qt::RightButton;
        QTest::addRow("middle on %s", qPrintable(button)) << button << Qt::MiddleButton;
    }
}

void TestWindowSounds::otherMouseButtons() {
    QFETCH(QString, button);
    QFETCH(Qt::MouseButton, mouseButton);
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, NineMisses);
    const Snapshot before = snapshot(h);
    h.click(button, mouseButton);
    QCOMPARE(h.sounds(), pressAndRelease(button));
    checkAllAsynchronous(h);
    QVERIFY(snapshot(h) == before);
}

void TestWindowSounds::releasedAwayFromTheButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("releasedOver");  // a control's name, or empty for the background
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    for (const QString& button : AllButtons) {
        QTest::addRow("%s, released on the background", qPrintable(button))
            << button << "" << Qt::LeftButton;
    }
    QTest::newRow("Command4ch, released on Command5ch") << "Command4ch"
                                                        << "Command5ch" << Qt::LeftButton;
    QTest::newRow("Commandv, released on Commandmoins") << "Commandv"
                                                        << "Commandmoins" << Qt::LeftButton;
    QTest::newRow("Commandplus, released on the entry box") << "Commandplus"
                                                            << "Text" << Qt::LeftButton;
    QTest::newRow("right button, Command3ch released on Command4ch")
        << "Command3ch"
        << "Command4ch" << Qt::RightButton;
    QTest::newRow("right button, Commandv released on Command3ch")
        << "Commandv"
        << "Command3ch" << Qt::RightButton;
    QTest::newRow("right button, Command4ch released on the background") << "Command4ch"
                                                                         << "" << Qt::RightButton;
    QTest::newRow("middle button, Commandmoins released on Commandplus")
        << "Commandmoins"
        << "Commandplus" << Qt::MiddleButton;
    QTest::newRow("middle button, Command5ch released on the background") << "Command5ch"
                                                                          << "" << Qt::MiddleButton;
}

// The release belongs to the button that was pressed: it plays there and acts nowhere.
void TestWindowSounds::releasedAwayFromTheButton() {
    QFETCH(QString, button);
    QFETCH(QString, releasedOver);
    QFETCH(Qt::MouseButton, mouseButton);
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, NineMisses);
    const Snapshot before = snapshot(h);
    const QPoint away =
        releasedOver.isEmpty() ? QPoint(4, 200) : h.centreOf(h.widget(releasedOver));

    QTest::mousePress(h.window(), mouseButton, {}, h.centreOf(h.button(button)));
    QCOMPARE(h.button(button)->isDown(), mouseButton == Qt::LeftButton);
    QTest::mouseMove(h.window(), away);
    QTest::mouseRelease(h.window(), mouseButton, {}, away);

    QCOMPARE(h.sounds(), pressAndRelease(button));
    checkAllAsynchronous(h);
    QVERIFY(!h.button(button)->isDown());
    QVERIFY(snapshot(h) == before);
}

void TestWindowSounds::keyboardActivation_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("newGame");
    QTest::addColumn<int>("decal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sounds");
    QTest::newRow("Command3ch") << "Command3ch" << int(Playing) << 3 << 0 << ""
                                << "";
    QTest::newRow("Command4ch") << "Command4ch" << int(Playing) << 4 << 0 << ""
                                << "";
    QTest::newRow("Command5ch") << "Command5ch" << int(Playing) << 5 << 0 << ""
                                << "";
    QTest::newRow("Commandv, only the reveal's own sound")
        << "Commandv" << int(Playing) << 0 << 0 << "Code!"
        << "Kelo5.wav";
    QTest::newRow("Commandmoins") << "Commandmoins" << int(NineMisses) << 0 << 0 << ""
                                  << "";
    QTest::newRow("Commandplus") << "Commandplus" << int(NineMisses) << 0 << 2 << ""
                                 << "";
}

// The space bar works the button with the focus: its action, and no button sound.
void TestWindowSounds::keyboardActivation() {
    QFETCH(QString, button);
    QFETCH(int, setup);
    QFETCH(int, newGame);
    QFETCH(int, decal);
    QFETCH(QString, text);
    QFETCH(QString, sounds);
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, static_cast<Setup>(setup));
    const int reseeds = h.random.reseeds;
    h.button(button)->setFocus();
    QCOMPARE(h.focusName(), button);
    QTest::keyClick(h.window(), Qt::Key_Space);
    QCOMPARE(h.sounds(), sounds);
    checkButtonAction(h, reseeds, newGame, decal, text);
}

// The second press of a double click arrives as a double-click event; it clicks all the same.
void TestWindowSounds::doubleClick() {
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, Playing);
    const int reseeds = h.random.reseeds;
    QTest::mouseDClick(h.window(), Qt::LeftButton, {}, h.centreOf(h.button("Command4ch")));
    QCOMPARE(h.sounds(), QStringLiteral("Kelo1.wav Kelo2.wav Kelo1.wav Kelo2.wav"));
    QCOMPARE(h.random.reseeds, reseeds + 2);
    QCOMPARE(h.state().NbChiffres, 4);
}

void TestWindowSounds::winningGuess() {
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, Playing);
    h.guess(QStringLiteral("123"));
    QCOMPARE(h.sounds(), QStringLiteral("Kelo3.wav Kelo4.wav"));
    checkAllAsynchronous(h);
}

void TestWindowSounds::twentyFirstGuessWithoutWin() {
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, Playing);
    for (int k = 0; k < 20; ++k)
        h.guess(QStringLiteral("5%1").arg(k + 60));
    QCOMPARE(h.sound.requests.size(), std::size_t{20});
    h.sound.requests.clear();
    h.guess(QStringLiteral("999"));
    QCOMPARE(h.sounds(), QStringLiteral("Kelo3.wav Kelo5.wav"));
    checkAllAsynchronous(h);
    QCOMPARE(h.labelncoup(), QStringLiteral("21"));
    // Every further Enter is refused without a sound.
    h.sound.requests.clear();
    h.guess(QStringLiteral("123"));
    QVERIFY(h.sound.requests.empty());
}

void TestWindowSounds::enterTexts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sounds");
    QTest::newRow("the code's length: the click, then the turn") << "456"
                                                                 << "Kelo3.wav";
    QTest::newRow("4 characters in a 3-digit game: the click only") << "4567"
                                                                    << "Kelo3.wav";
    QTest::newRow("5 characters in a 3-digit game: the click only") << "45678"
                                                                    << "Kelo3.wav";
    QTest::newRow("2 characters: nothing") << "45"
                                           << "";
    QTest::newRow("6 characters: nothing") << "456789"
                                           << "";
}

void TestWindowSounds::enterTexts() {
    QFETCH(QString, typed);
    QFETCH(QString, sounds);
    WindowHarness h;
    QVERIFY(h.start());
    prepare(h, Playing);
    h.guess(typed);
    QCOMPARE(h.sounds(), sounds);
    checkAllAsynchronous(h);
    QCOMPARE(h.state().NbCoups, typed.size() == 3 ? 1 : 0);
}

QTEST_MAIN(TestWindowSounds)
#include "test_window_sounds.moc"
