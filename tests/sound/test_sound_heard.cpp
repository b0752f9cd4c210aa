// Plays through the program's sound player into a private sound server and listens to the
// null sink's monitor: what counts is what is heard, not what was asked for.
#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "Form1.h"
#include "HeardSound.h"
#include "HostileSounds.h"
#include "LazySoundPlayer.h"
#include "RandomSource.h"
#include "Sounds.h"
#include "WavFile.h"

using namespace kelo::test;
using Clock = std::chrono::steady_clock;

namespace {

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A steady tone with 5 ms ramps, 16-bit mono at 44100 Hz.
void writeTone(const QString& path, double hz, int ms) {
    const int frames = 44100 * ms / 1000;
    std::vector<double> samples;
    for (int i = 0; i < frames; ++i) {
        const double ramp = std::min({1.0, i / 220.0, (frames - i) / 220.0});
        samples.push_back(9000.0 / 32767 * ramp * std::sin(2 * std::numbers::pi * hz * i / 44100));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(kelo::wavFile(samples, 44100)));
}

// The child's part: the real window, and its close step through a real close.
int closeTheWindow() {
    kelo::LazySoundPlayer sound(KELO_SOUND_MODULE);
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    form.show();
    sound.load();
    if (!QTest::qWaitForWindowActive(&form, 20000) || !sound.settled(std::chrono::seconds(20)) ||
        !sound.ready())
        return 2;
    form.close();  // ends the process
    return 3;
}

// The child's part for a fresh start: the window as the program builds it, a press (high.wav)
// `delay` ms after the first game is shown and its release (mid.wav) 250 ms later; "done" once
// both have played, and the end when its input ends.
int pressAfterTheStart(int delay) {
    kelo::LazySoundPlayer sound(KELO_SOUND_MODULE);
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    QObject::connect(&form, &kelo::Form1::firstGameShown, [&sound, delay] {
        sound.load();
        QTimer::singleShot(delay, [&sound] { sound.play("high.wav", 1); });
        QTimer::singleShot(delay + 250, [&sound] { sound.play("mid.wav", 1); });
        QTimer::singleShot(delay + 1100, [] {
            std::puts("done");
            std::fflush(stdout);
            for (std::string line; std::getline(std::cin, line);) {
            }
            QCoreApplication::quit();
        });
    });
    form.show();
    return QApplication::exec();
}

// What a sound server's client says, one line each.
QList<QByteArray> pactl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("pactl"), arguments);
    p.waitForFinished(5000);
    return p.readAllStandardOutput().split('\n');
}

// The context switches of all this process's threads so far.
long switches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

// The child's part where the sound server is not this process's: high.wav for each line read.
int playOnEachLine() {
    kelo::LazySoundPlayer sound(KELO_SOUND_MODULE);
    sound.load();
    if (!sound.settled(std::chrono::seconds(20)) || !sound.ready())
        return 2;
    std::puts("ready");
    std::fflush(stdout);
    for (std::string line; std::getline(std::cin, line);)
        sound.play("high.wav", 1);
    return 0;
}

}  // namespace

class SoundHeardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SoundServer> server;
    std::unique_ptr<kelo::LazySoundPlayer> player;
    QTemporaryDir folder;

  private slots:
    void initTestCase() {
        server = std::make_unique<SoundServer>();
        if (server->error == QLatin1String("pulseaudio is not installed"))
            QSKIP("pulseaudio is not installed: nothing can be heard");
        QVERIFY2(server->error.isEmpty(), qPrintable(server->error));
        QVERIFY(QDir::setCurrent(folder.path()));
        writeTone(QStringLiteral("low.wav"), 500, 1000);
        writeTone(QStringLiteral("high.wav"), 1500, 150);
        writeTone(QStringLiteral("mid.wav"), 1000, 300);
        player = std::make_unique<kelo::LazySoundPlayer>(KELO_SOUND_MODULE);
        player->play("high.wav", 1);  // before the module is loaded: it plays once it is
        QVERIFY(player->settled(std::chrono::seconds(15)));
        QVERIFY(player->ready());
    }
    void cleanupTestCase() {
        player.reset();
        server.reset();
    }

    void theClosingSoundIsHeard() {
        QVERIFY(
            QFile::copy(QStringLiteral(KELO_SOUNDS_DIR "/Kelo6.wav"), QStringLiteral("Kelo6.wav")));
        Recorder recorder;
        recorder.start();
        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KELO_TEST_CLOSE"), QStringLiteral("1"));
        game.setProcessEnvironment(env);
        game.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(game.waitForFinished(30000));
        QVERIFY2(game.exitCode() == 0, game.readAllStandardError().constData());
        QThread::msleep(300);
        const std::vector<Burst> heard = bursts(recorder.stop());
        // First of the tests, so the child is the only one to have played anything.
        double length = 0;
        for (const Burst& b : heard)
            length += b.endMs - b.startMs;
        qInfo("closing sound heard for %.0f ms", length);
        QVERIFY2(length > 200, qPrintable(describe(heard)));
    }

    void everyRequestIsHeardOnTime() {
        Recorder recorder;
        recorder.start();
        std::vector<double> requested;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < 24; ++i) {
            QThread::msleep(static_cast<unsigned long>(
                std::max(0.0, 400.0 * i - msBetween(start, Clock::now()))));
            requested.push_back(msBetween(start, Clock::now()));
            player->play(i % 2 == 0 ? "high.wav" : "mid.wav", 1);
        }
        QThread::msleep(600);
        const std::vector<Burst> heard = bursts(recorder.stop());
        QVERIFY2(heard.size() == requested.size(), qPrintable(describe(heard)));
        std::vector<double> delays;
        for (std::size_t i = 0; i < heard.size(); ++i)
            delays.push_back(heard[i].startMs - requested[i]);
        std::vector<double> sorted = delays;
        std::sort(sorted.begin(), sorted.end());
        qInfo("24 requests, %zu bursts; delay spread %.0f ms", heard.size(),
              sorted.back() - sorted.front());
        for (std::size_t i = 0; i < delays.size(); ++i)
            QVERIFY2(
                std::abs(delays[i] - sorted[12]) < 60,
                qPrintable(
                    QStringLiteral("sound %1 is %2 ms off").arg(i).arg(delays[i] - sorted[12])));
    }

    void aNewSoundCutsOffTheLastOne() {
        Recorder recorder;
        recorder.start();
        player->play("low.wav", 1);
        QThread::msleep(300);
        player->play("high.wav", 1);
        QThread::msleep(1200);
        const std::vector<double> samples = recorder.stop();
        const std::vector<Burst> low = bursts(samples, 500), high = bursts(samples, 1500);
        QCOMPARE(low.size(), 1U);
        QCOMPARE(high.size(), 1U);
        qInfo("cut-off: the first ends %.0f ms from the second's start",
              low[0].endMs - high[0].startMs);
        QVERIFY2(std::abs(low[0].endMs - high[0].startMs) <= 30,
                 qPrintable(QStringLiteral("the first ends %1 ms from the second's start")
                                .arg(low[0].endMs - high[0].startMs)));
    }

    void flagsZeroReturnsWhenTheSoundHasEnded() {
        const Clock::time_point start = Clock::now();
        player->play("mid.wav", 0);
        const double took = msBetween(start, Clock::now());
        qInfo("a 300 ms sound with flags 0 returned after %.0f ms", took);
        QVERIFY2(took >= 300 && took < 300 + 250, qPrintable(QString::number(took)));
    }

    void aStoppedServerNeverHoldsTheCaller() {
        server->pause();
        double longest = 0;
        for (int i = 0; i < 10; ++i) {
            const Clock::time_point start = Clock::now();
            player->play(i % 2 == 0 ? "high.wav" : "mid.wav", 1);
            longest = std::max(longest, msBetween(start, Clock::now()));
            QThread::msleep(50);
        }
        server->resume();
        qInfo("server stopped: the longest request took %.2f ms", longest);
        QVERIFY2(longest < 5, qPrintable(QStringLiteral("a request took %1 ms").arg(longest)));
        QThread::msleep(1500);  // what was left in the stream before the stop has played out
        Recorder recorder;
        recorder.start();
        player->play("missing.wav", 1);  // and a missing file gives the built-in default sound
        QThread::msleep(800);
        const std::vector<Burst> heard = bursts(recorder.stop());
        QVERIFY2(heard.size() == 1, qPrintable(describe(heard)));
    }

    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("playsTone");
        for (const HostileSound& sound : hostileSounds())
            QTest::newRow(sound.name) << sound.bytes << sound.playsTone;
    }
    // Each plays the default sound or what is there, never what another format holds.
    void hostileFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, playsTone);
        QFile file(QStringLiteral("Kelo1.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        Recorder recorder;
        recorder.start();
        const Clock::time_point start = Clock::now();
        kelo::Tic(*player, 1);
        const double held = msBetween(start, Clock::now());
        QThread::msleep(800);
        const std::vector<double> samples = recorder.stop();
        qInfo("held the caller %.2f ms; peak memory %.0f MB", held, peakRssMb());
        QVERIFY2(held < 5, qPrintable(QString::number(held)));
        // A sound, whole or broken up by a starved mixer on a loaded machine; the tone only when
        // the file really holds it.
        QVERIFY2(!bursts(samples).empty(), "nothing heard");
        QCOMPARE(!bursts(samples, HostileToneHz).empty(), playsTone);
#ifndef __SANITIZE_ADDRESS__  // its shadow memory counts as the process's
        QVERIFY2(peakRssMb() < 100, qPrintable(QString::number(peakRssMb())));
#endif
    }

    // Fresh starts, a press 0-900 ms after the first game is shown: nothing of the first seconds
    // is lost while the module loads and the device opens. A stream
    // that closes rewinds the null sink, which its monitor then hears again: so each recording
    // ends before the game does, and begins once this process's own device has closed.
    void aPressSoonAfterTheStartIsHeard() {
        QThread::msleep(2500);
        for (int run = 0; run < 4; ++run) {
            Recorder recorder;
            recorder.start();
            QProcess game;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KELO_TEST_PRESS"), QString::number(300 * run));
            game.setProcessEnvironment(env);
            game.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(game.waitForReadyRead(30000));
            const std::vector<double> samples = recorder.stop();
            game.closeWriteChannel();
            QVERIFY(game.waitForFinished(10000));
            const std::vector<Burst> press = bursts(samples, 1500), release = bursts(samples, 1000);
            QVERIFY2(!press.empty() && !release.empty(),  // and nothing else counts here
                     qPrintable(describe(press) + QStringLiteral(" and ") + describe(release)));
        }
    }

    // A stream opened on a bare null sink stalls after its first bytes: it is neither taken for a
    // lost device nor the reason to drop a request. Then the device is closed while idle, the
    // sink suspends and the player's thread sleeps; the next press reopens it.
    void idleLeavesTheServerAlone() {
        QThread::msleep(2500);  // the device the last test used is closed
        const QStringList inputs = {QStringLiteral("list"), QStringLiteral("short"),
                                    QStringLiteral("sink-inputs")};
        QByteArray stream;
        for (int i = 0; i < 8; ++i) {
            const Clock::time_point start = Clock::now();
            player->play("high.wav", 0);
            QVERIFY2(msBetween(start, Clock::now()) >= 145, "a request made no sound");
            if (i == 0)
                stream = pactl(inputs).front();
            QThread::msleep(250);
        }
        QCOMPARE(pactl(inputs).front().split('\t').front(), stream.split('\t').front());
        const QByteArray properties =
            pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")}).join('\n');
        for (const char* property :
             {"media.role = \"game\"", "application.icon_name = \"", "application.id = \""})
            QVERIFY2(properties.contains(property), properties.constData());

        QThread::msleep(3000);
        const long before = switches();
        QThread::msleep(10000);
        const long idle = switches() - before;
        qInfo("10 s idle: %ld context switches", idle);
        QVERIFY2(idle < 20, qPrintable(QString::number(idle)));
        QVERIFY(pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")})
                    .join()
                    .contains("SUSPENDED"));
        QVERIFY(pactl(inputs).join().isEmpty());

        Recorder recorder;
        recorder.start();
        player->play("high.wav", 1);
        QThread::msleep(250);
        player->play("mid.wav", 1);
        QThread::msleep(600);
        const std::vector<double> samples = recorder.stop();
        const std::vector<Burst> press = bursts(samples, 1500), release = bursts(samples, 1000);
        QVERIFY2(press.size() == 1 && release.size() == 1, qPrintable(describe(press)));
        // The release plays on the open device: what the press lost on reopening it.
        const double late = 250 - (release[0].startMs - press[0].startMs);
        qInfo("after idle, the press was %.0f ms later than the release", late);
        QVERIFY2(late < 200, qPrintable(QString::number(late)));
    }

    void heardAgainAfterTheServerRestarts() {
        server->restart();
        QVERIFY2(server->error.isEmpty(), qPrintable(server->error));
        const Clock::time_point back = Clock::now();
        Recorder recorder;
        recorder.start();
        QThread::msleep(
            static_cast<unsigned long>(std::max(0.0, 2000 - msBetween(back, Clock::now()))));
        player->play("high.wav", 1);
        QThread::msleep(600);
        const std::vector<Burst> heard = bursts(recorder.stop());
        QVERIFY2(heard.size() == 1, qPrintable(describe(heard)));
    }

    void heardAgainAfterPipeWireRestarts_data() {
        QTest::addColumn<QString>("driver");
        QTest::newRow("SDL's PulseAudio backend on PipeWire") << QStringLiteral("pulseaudio");
        QTest::newRow("SDL's PipeWire backend") << QStringLiteral("pipewire");
    }
    void heardAgainAfterPipeWireRestarts() {
        QFETCH(QString, driver);
        SoundServer pipewire(SoundServer::PipeWire);
        if (pipewire.error.endsWith(QLatin1String(" is not installed")))
            QSKIP(qPrintable(pipewire.error));
        QVERIFY2(pipewire.error.isEmpty(), qPrintable(pipewire.error));
        QProcess game;
        QProcessEnvironment env = pipewire.env;
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), driver);
        env.insert(QStringLiteral("KELO_TEST_PLAYER"), QStringLiteral("1"));
        game.setProcessEnvironment(env);
        game.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(game.waitForReadyRead(20000));
        Clock::time_point back = Clock::now();
        for (const char* when : {"before the restart", "2 s after it"}) {
            Recorder recorder;
            recorder.start(pipewire.address);
            QThread::msleep(
                static_cast<unsigned long>(std::max(0.0, 2000 - msBetween(back, Clock::now()))));
            game.write("play\n");
            QVERIFY(game.waitForBytesWritten(1000));
            QThread::msleep(600);
            const std::vector<Burst> heard = bursts(recorder.stop());
            QVERIFY2(heard.size() == 1, qPrintable(when + (' ' + describe(heard))));
            pipewire.restart();
            QVERIFY2(pipewire.error.isEmpty(), qPrintable(pipewire.error));
            back = Clock::now();
        }
        game.closeWriteChannel();
        QVERIFY(game.waitForFinished(10000));
        QVERIFY2(game.exitCode() == 0, game.readAllStandardError().constData());
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("KELO_TEST_CLOSE"))
        return closeTheWindow();
    if (qEnvironmentVariableIsSet("KELO_TEST_PLAYER"))
        return playOnEachLine();
    if (qEnvironmentVariableIsSet("KELO_TEST_PRESS"))
        return pressAfterTheStart(qEnvironmentVariableIntValue("KELO_TEST_PRESS"));
    SoundHeardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sound_heard.moc"
