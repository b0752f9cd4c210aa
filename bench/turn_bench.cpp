// Times the turn through real key events on the real window: from Enter pressed to the board and
// the counter updated and painted. Prints p50 and p99 over the given number of turns.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Form1.h"
#include "LazySoundPlayer.h"
#include "RandomSource.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int turns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    kelo::LazySoundPlayer sound(KELO_SOUND_MODULE);
    sound.load();
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    form.show();
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "bench_turn: the window was never activated\n");
        return 1;
    }
    auto* text = form.findChild<QLineEdit*>(QStringLiteral("Text"));
    auto* newGame = form.findChild<QPushButton*>(QStringLiteral("Command5ch"));
    const kelo::GameState& s = form.game().state();

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(turns));
    for (int i = 0; i < turns; ++i) {
        if (s.NbChiffres != 5 || s.NbCoups >= kelo::MaxGuesses || s.PartieFinie == 1) {
            QTest::mouseClick(newGame, Qt::LeftButton);
        }
        text->setFocus();
        QTest::keyClicks(text, QString::number(10000 + (i * 7919) % 90000));
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(text, Qt::Key_Return);
        QCoreApplication::processEvents();
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * static_cast<double>(micros.size() - 1))];
    };
    // A pasted text of 16 million characters: Enter refuses it without reading it all.
    text->setFocus();
    text->setText(QString(16 * 1024 * 1024, u'7'));
    const auto pasted = std::chrono::steady_clock::now();
    QTest::keyClick(text, Qt::Key_Return);
    const double pastedMillis =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - pasted)
            .count();
    std::printf(
        "turn (%d, offscreen): p50 %.0f us, p99 %.0f us, max %.0f us; Enter on 16M "
        "characters %.0f ms\n",
        turns, at(0.5), at(0.99), micros.back(), pastedMillis);
    return 0;
}
