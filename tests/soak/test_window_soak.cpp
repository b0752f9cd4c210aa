// Random real events on the real window: clicks of every mouse button anywhere, keys, Enter,
// pastes of random Unicode text, new games, give-ups and scrolling. After every event the board
// must show what the history holds, every index must stay in range, and the window must answer.
// Seeded: a failure prints its seed; KELO_SEED=<n> replays it, KELO_EVENTS=<n> sets the length.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>
#include <random>

#include "Form1.h"
#include "RecordingSound.h"
#include "Seed.h"
#include "SequenceRandom.h"
#include "ValueLabel.h"

using namespace kelo;

namespace {

QString randomUnicode(std::mt19937& engine, int length) {
    // Digits often, so that pasted guesses get taken; else anything from ASCII to emoji,
    // including control characters and code points of every UTF-8 width.
    static const std::vector<std::pair<char32_t, char32_t>> ranges = {
        {U'0', U'9'},   {0x20, 0x7E},     {0x01, 0x1F},      {0xA0, 0x24F},
        {0x370, 0x3FF}, {0x4E00, 0x4FFF}, {0x1F300, 0x1F64F}};
    std::uniform_int_distribution<std::size_t> pickRange(0, ranges.size() - 1);
    std::u32string text;
    for (int i = 0; i < length; ++i) {
        const auto& [low, high] = ranges[engine() % 3 == 0 ? 0 : pickRange(engine)];
        text += static_cast<char32_t>(low + engine() % (high - low + 1));
    }
    return QString::fromStdU32String(text);
}

// Which history position each board column shows for a length, or -1 when it shows none.
int positionShown(int n, int column) {
    const int position = n == 3 ? column - 1 : column;
    return position >= 0 && position < n ? position : -1;
}

}  // namespace

class TestWindowSoak : public QObject {
    Q_OBJECT
  private slots:
    void randomEventsKeepBoardAndHistoryInStep();
};

void TestWindowSoak::randomEventsKeepBoardAndHistoryInStep() {
    const unsigned seed = kelo::test::testSeed();
    const int events = qEnvironmentVariableIsSet("KELO_EVENTS")
                           ? qEnvironmentVariableIntValue("KELO_EVENTS")
                           : 20000;
    std::mt19937 engine(seed);
    auto where = [seed](int event) {
        return QStringLiteral("seed %1, event %2: ").arg(seed).arg(event);
    };

    test::RecordingSound sound;
    test::SequenceRandom random;
    random.values = {0.05F, 0.15F, 0.05F,
                     0.25F};  // small digits, so that typed guesses win at times
    Form1 form(sound, random);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* text = form.findChild<QLineEdit*>(QStringLiteral("Text"));
    QVERIFY(text != nullptr);
    const GameState& s = form.game().state();

    const QList<QString> buttons = {"Command3ch", "Command4ch",   "Command5ch",
                                    "Commandv",   "Commandmoins", "Commandplus"};
    const QList<Qt::MouseButton> mouseButtons = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                 Qt::MiddleButton};
    int boardChecks = 0;
    for (int event = 0; event < events; ++event) {
        const Integer decalBefore = s.Decal;
        const Integer countBefore = s.NbCoups;
        const Integer lengthBefore = s.NbChiffres;
        const Integer wonBefore = s.PartieFinie;
        bool mirrors = false;  // whether the board must now show history rows Decal .. Decal + 7
        QElapsedTimer answered;
        answered.start();
        const auto choice = engine() % 100;
        if (choice < 20) {  // a click anywhere in the window, with any mouse button
            const QPoint at(static_cast<int>(engine() % 262), static_cast<int>(engine() % 382));
            QWidget* target = form.childAt(at);
            target = target != nullptr ? target : &form;
            QTest::mouseClick(target, mouseButtons[static_cast<qsizetype>(engine() % 4)], {},
                              target->mapFrom(&form, at));
        } else if (choice < 32) {  // a button clicked on purpose
            auto* button = form.findChild<QWidget*>(buttons[static_cast<qsizetype>(engine() % 6)]);
            QTest::mouseClick(button, Qt::LeftButton);
            const bool scroll =
                button->objectName() == "Commandmoins" || button->objectName() == "Commandplus";
            mirrors = button->objectName().endsWith("ch") || (scroll && s.Decal != decalBefore);
        } else if (choice < 85) {  // typing a guess into the box and pressing Enter
            text->setFocus();
            text->clear();
            const int length = 2 + static_cast<int>(engine() % 5);
            for (int i = 0; i < length; ++i)
                QTest::keyClick(text, static_cast<char>('0' + engine() % 3));
            QTest::keyClick(text, engine() % 2 == 0 ? Qt::Key_Return : Qt::Key_Enter);
            QVERIFY2(text->text() != QString("\r") && !text->text().contains('\r'),
                     qPrintable(where(event) + "Enter reached the box"));
            mirrors = s.NbCoups == countBefore + 1 && s.NbCoups <= 20;
        } else if (choice < 95) {  // a key on whatever has the focus
            static const QList<Qt::Key> keys = {Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Backspace,
                                                Qt::Key_Return, Qt::Key_Enter,   Qt::Key_Delete,
                                                Qt::Key_Escape, Qt::Key_Left,    Qt::Key_Right,
                                                Qt::Key_Home,   Qt::Key_End,     Qt::Key_Space};
            QWidget* focused =
                QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &form;
            if (engine() % 2 == 0) {
                QTest::keyClick(focused, static_cast<char>(' ' + engine() % 95));
            } else {
                QTest::keyClick(
                    focused,
                    keys[static_cast<qsizetype>(engine() % static_cast<unsigned>(keys.size()))]);
            }
        } else {  // a paste of random Unicode text, up to 10 000 characters
            QApplication::clipboard()->setText(
                randomUnicode(engine, static_cast<int>(engine() % 10001)));
            text->setFocus();
            QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
            if (engine() % 2 == 0)
                QTest::keyClick(text, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        QVERIFY2(answered.elapsed() < 10000,
                 qPrintable(where(event) + "the window stopped answering"));

        QVERIFY2(s.Decal >= 0 && s.Decal <= MaxDecal,
                 qPrintable(where(event) + QString("Decal %1").arg(s.Decal)));
        QVERIFY2(s.DecalAuto >= 0 && s.DecalAuto <= MaxDecal,
                 qPrintable(where(event) + "DecalAuto"));
        QVERIFY2(s.NbCoups >= 0 && s.NbCoups <= MaxGuesses, qPrintable(where(event) + "NbCoups"));
        for (std::size_t row = MaxGuesses; row < HistoryRows; ++row) {
            QVERIFY2(s.TabBon.at(row).empty() && s.TabA[0].at(row).empty(),
                     qPrintable(where(event) + "row past 21 written"));
        }
        if (s.NbChiffres != lengthBefore ||
            (s.NbCoups == 0 && wonBefore == 0 && s.PartieFinie == 0 && countBefore != 0)) {
            mirrors = true;  // a new game: an empty board over an empty history
        }
        if (!mirrors || s.NbChiffres == 0)
            continue;
        ++boardChecks;
        const int n = s.NbChiffres;
        for (int r = 0; r < BoardRows; ++r) {
            const auto row = static_cast<std::size_t>(s.Decal + r);
            for (int c = 0; c < ColumnCount; ++c) {
                const auto column = static_cast<Column>(c);
                std::string expected;
                if (column == Column::Bon) {
                    expected = s.TabBon.at(row);
                } else if (column == Column::Mal) {
                    expected = s.TabMal.at(row);
                } else if (const int position = positionShown(n, c); position >= 0) {
                    expected = s.TabA.at(static_cast<std::size_t>(position)).at(row);
                } else {
                    continue;  // a hidden column keeps whatever it had
                }
                const QString shown = form.cell(column, r)->text();
                QVERIFY2(shown == QString::fromStdString(expected),
                         qPrintable(where(event) +
                                    QString("cell %1 row %2 shows '%3', history row %4 holds '%5'")
                                        .arg(c)
                                        .arg(r)
                                        .arg(shown)
                                        .arg(row)
                                        .arg(QString::fromStdString(expected))));
            }
        }
    }
    qInfo("seed %u: %d events, board checked against the history %d times", seed, events,
          boardChecks);
    QVERIFY2(boardChecks > events / 10,
             "too few events left the board comparable with the history");
}

QTEST_MAIN(TestWindowSoak)
#include "test_window_soak.moc"
