// The exit pause and the load and close steps, with fake clocks, a recording sound player and a
// recorded end of the process, each in a temporary folder of its own.
#include <QtTest>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "Lifecycle.h"
#include "RecordingSound.h"

using namespace kelo;
using namespace std::chrono_literals;

namespace {

constexpr TwipsSize Screen{28800.0F, 16200.0F};  // 1920 x 1080 pixels
constexpr TwipsSize Window{6000.0F, 4500.0F};    // 400 x 300 pixels
constexpr TwipsPoint Centred{11400.0F, 5850.0F};

// Both clocks move by one step at each rest; the time of day wraps at midnight.
struct FakeClocks final : PauseClocks {
    double day;
    std::chrono::nanoseconds since{123456789s};
    std::chrono::nanoseconds step;
    int rests = 0;
    std::function<void()> onRest;

    FakeClocks(double startOfDay, std::chrono::nanoseconds stepLength)
        : day(startOfDay), step(stepLength) {}

    double timeOfDay() override { return day; }
    std::chrono::nanoseconds monotonic() override { return since; }
    void rest() override {
        // A pause that never ends fails the test instead of hanging it.
        if (rests == 100000)
            throw std::runtime_error("the pause does not end");
        if (onRest)
            onRest();
        ++rests;
        since += step;
        day = std::fmod(day + std::chrono::duration<double>(step).count(), 86400.0);
    }
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString describe(const GameState& s) {
    return QStringLiteral("IniGauche %1, IniHaut %2, IniChiffres %3")
        .arg(double(s.IniGauche))
        .arg(double(s.IniHaut))
        .arg(double(s.IniChiffres));
}

}  // namespace

Q_DECLARE_METATYPE(kelo::WindowState)
Q_DECLARE_METATYPE(kelo::TwipsPoint)

class TestLifecycle : public QObject {
    Q_OBJECT

private slots:
    void init();
    void pauseWithFakeClocks_data();
    void pauseWithFakeClocks();
    void pauseWithRealClocks();
    void loadStep_data();
    void loadStep();
    void loadStepReadsTheWorkingFolder();
    void closeStep_data();
    void closeStep();
    void closeStepWithoutWritableFile();
    void lastLengthAndPositionComeBack();

private:
    std::optional<QTemporaryDir> dir_;
    QString path() const { return dir_->filePath(SettingsFileName); }
};

void TestLifecycle::init() {
    dir_.emplace();
    QVERIFY(dir_->isValid());
}

void TestLifecycle::pauseWithFakeClocks_data() {
    QTest::addColumn<double>("startOfDay");
    QTest::addColumn<int>("stepMs");
    QTest::addColumn<int>("rests");

    QTest::newRow("midday, 10 ms steps: ends on the first reading past 0.3 s")
        << 43200.0 << 10 << 31;
    QTest::newRow("crossing midnight") << 86399.9 << 10 << 31;
    QTest::newRow("crossing midnight, coarse 55 ms clock") << 86399.95 << 55 << 6;
    QTest::newRow("a reading at exactly 0.3 s does not end it") << 86399.8 << 100 << 4;
}

void TestLifecycle::pauseWithFakeClocks() {
    QFETCH(double, startOfDay);
    QFETCH(int, stepMs);
    QFETCH(int, rests);

    FakeClocks clocks(startOfDay, std::chrono::milliseconds(stepMs));
    GameState state;
    exitPause(state, clocks);

    QCOMPARE(clocks.rests, rests);
    QCOMPARE(state.TempsDebut, startOfDay);
    QCOMPARE(state.TempsLu, clocks.day);  // the last reading, wrapped past midnight if it crossed
}

void TestLifecycle::pauseWithRealClocks() {
    SystemClocks clocks;
    GameState state;
    QElapsedTimer timer;
    timer.start();
    exitPause(state, clocks);
    const qint64 ns = timer.nsecsElapsed();
    qInfo("exit pause: %.2f ms", static_cast<double>(ns) / 1e6);
    QVERIFY2(ns > 300'000'000, qPrintable(QString::number(ns)));
    QVERIFY2(ns < 600'000'000, qPrintable(QString::number(ns)));  // generous: a loaded machine
    QVERIFY(state.TempsDebut >= 0.0 && state.TempsDebut < 86400.0);
    QVERIFY(state.TempsLu >= 0.0 && state.TempsLu < 86400.0);
}

void TestLifecycle::loadStep_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<TwipsPoint>("placed");
    QTest::addColumn<float>("IniGauche");
    QTest::addColumn<float>("IniHaut");
    QTest::addColumn<float>("IniChiffres");

    QTest::newRow("no file: centred, 3 digits")
        << false << QByteArray() << Centred << 0.0F << 0.0F << 3.0F;
    QTest::newRow("example file") << true << QByteArray("600,900,3\r\n") << TwipsPoint{600, 900}
                                  << 600.0F << 900.0F << 3.0F;
    QTest::newRow("negative position: top-left corner, values kept as read")
        << true << QByteArray("-300,-200,4") << TwipsPoint{0, 0} << -300.0F << -200.0F << 4.0F;
    QTest::newRow("beyond right and bottom: on the screen's edges")
        << true << QByteArray("30000,20000,5\r\n") << TwipsPoint{22800, 11700} << 30000.0F
        << 20000.0F << 5.0F;
    QTest::newRow("third value 7 kept")
        << true << QByteArray("600,900,7\r\n") << TwipsPoint{600, 900} << 600.0F << 900.0F << 7.0F;
    QTest::newRow("third value 3.5 kept") << true << QByteArray("600,900,3.5\r\n")
                                          << TwipsPoint{600, 900} << 600.0F << 900.0F << 3.5F;
    QTest::newRow("third value 0 kept")
        << true << QByteArray("600,900,0\r\n") << TwipsPoint{600, 900} << 600.0F << 900.0F << 0.0F;
    QTest::newRow("two values: centred, the two kept, 3 digits")
        << true << QByteArray("600,900\r\n") << Centred << 600.0F << 900.0F << 3.0F;
    QTest::newRow("empty file: centred, 3 digits")
        << true << QByteArray() << Centred << 0.0F << 0.0F << 3.0F;
    QTest::newRow("third value not a number: centred")
        << true << QByteArray("600,900,five\r\n") << Centred << 600.0F << 900.0F << 3.0F;
    QTest::newRow("binary file: centred, nothing kept")
        << true << QByteArray("600,900,3\r\n\0", 12) << Centred << 0.0F << 0.0F << 3.0F;
    QTest::newRow("10 MB file: centred, nothing kept")
        << true << QByteArray("600,900,4\r\n" + QByteArray(10 * 1024 * 1024, 'x')) << Centred
        << 0.0F << 0.0F << 3.0F;
}

void TestLifecycle::loadStep() {
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(TwipsPoint, placed);
    QFETCH(float, IniGauche);
    QFETCH(float, IniHaut);
    QFETCH(float, IniChiffres);

    if (fileExists) {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    GameState state;
    const TwipsPoint at = kelo::loadStep(state, Window, Screen, path());

    QVERIFY2(at == placed,
             qPrintable(QStringLiteral("%1, %2").arg(double(at.left)).arg(double(at.top))));
    QVERIFY2(state.IniGauche == IniGauche && state.IniHaut == IniHaut &&
                 state.IniChiffres == IniChiffres,
             qPrintable(describe(state)));
}

void TestLifecycle::loadStepReadsTheWorkingFolder() {
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
    {
        QFile file(QStringLiteral("Kelo.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1500,3000,5\r\n");
    }
    GameState state;
    const TwipsPoint at = kelo::loadStep(state, Window, Screen);
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(at == (TwipsPoint{1500, 3000}));
    QCOMPARE(state.IniChiffres, 5.0F);
}

void TestLifecycle::closeStep_data() {
    QTest::addColumn<WindowState>("windowState");
    QTest::addColumn<TwipsPoint>("position");
    QTest::addColumn<float>("IniGauche");  // as the load step left them
    QTest::addColumn<float>("IniHaut");
    QTest::addColumn<float>("IniChiffres");
    QTest::addColumn<QByteArray>("written");

    const auto Normal = WindowState::Normal;
    QTest::newRow("normal: position stored") << Normal << TwipsPoint{1200, 1500} << 600.0F << 900.0F
                                             << 4.0F << QByteArray("1200,1500,4\r\n");
    QTest::newRow("normal: off the screen, stored as kept on it")
        << Normal << TwipsPoint{-300, 20000} << 0.0F << 0.0F << 3.0F << QByteArray("0,11700,3\r\n");
    QTest::newRow("normal: centred after no file")
        << Normal << Centred << 0.0F << 0.0F << 3.0F << QByteArray("11400,5850,3\r\n");
    QTest::newRow("minimized: values read at start kept")
        << WindowState::Minimized << TwipsPoint{1200, 1500} << -300.0F << -200.0F << 4.0F
        << QByteArray("-300,-200,4\r\n");
    QTest::newRow("maximized after no file: 0 and 0")
        << WindowState::Maximized << TwipsPoint{0, 0} << 0.0F << 0.0F << 3.0F
        << QByteArray("0,0,3\r\n");
    QTest::newRow("third value 7 written back") << Normal << TwipsPoint{600, 900} << 600.0F
                                                << 900.0F << 7.0F << QByteArray("600,900,7\r\n");
    QTest::newRow("third value 3.5 written back")
        << Normal << TwipsPoint{600, 900} << 600.0F << 900.0F << 3.5F
        << QByteArray("600,900,3.5\r\n");
    QTest::newRow("third value 0 written back") << Normal << TwipsPoint{600, 900} << 600.0F
                                                << 900.0F << 0.0F << QByteArray("600,900,0\r\n");
}

void TestLifecycle::closeStep() {
    QFETCH(WindowState, windowState);
    QFETCH(TwipsPoint, position);
    QFETCH(float, IniGauche);
    QFETCH(float, IniHaut);
    QFETCH(float, IniChiffres);
    QFETCH(QByteArray, written);

    QVERIFY(QFile(path()).open(QIODevice::WriteOnly));  // an old file to be replaced
    GameState state;
    state.IniGauche = IniGauche;
    state.IniHaut = IniHaut;
    state.IniChiffres = IniChiffres;
    state.SonFlags = 1;

    // What happened, in order: the sound, each rest of the pause with the file as it was then,
    // and the end of the process.
    std::vector<std::string> events;
    test::RecordingSound sound;
    FakeClocks clocks(86399.9, 10ms);
    clocks.onRest = [&] {
        events.push_back("rest " + sound.names() + " " + contentOf(path()).toStdString());
    };
    const CloseServices services{sound, clocks, [&] { events.emplace_back("end"); }, path()};

    kelo::closeStep(state, {windowState, position, Window, Screen}, services);

    QCOMPARE(sound.requests.size(), std::size_t{1});
    QCOMPARE(sound.requests.front().first, std::string("Kelo6.wav"));
    QCOMPARE(sound.requests.front().second, 1);
    QCOMPARE(contentOf(path()), written);
    QCOMPARE(clocks.rests, 31);
    QCOMPARE(events.front(), "rest Kelo6.wav " + written.toStdString());
    QCOMPARE(events.back(), std::string("end"));
    QCOMPARE(std::count(events.begin(), events.end(), "end"), 1);
    QCOMPARE(state.TempsDebut, 86399.9);
}

void TestLifecycle::closeStepWithoutWritableFile() {
    // A path through a plain file cannot be created, for root too.
    const QString blocker = dir_->filePath(QStringLiteral("not-a-folder"));
    QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));

    GameState state;
    state.SonFlags = 0;
    test::RecordingSound sound;
    FakeClocks clocks(43200.0, 10ms);
    int ends = 0;
    const CloseServices services{sound, clocks, [&] { ++ends; }, blocker + "/Kelo.ini"};

    kelo::closeStep(state, {WindowState::Normal, TwipsPoint{600, 900}, Window, Screen}, services);

    QCOMPARE(sound.names(), std::string("Kelo6.wav"));
    QCOMPARE(sound.requests.front().second, 0);
    QCOMPARE(clocks.rests, 0);  // no pause
    QCOMPARE(ends, 1);
}

// Start with no file, play a 5-digit game, close in place: the next start comes back there.
void TestLifecycle::lastLengthAndPositionComeBack() {
    GameState first;
    const TwipsPoint at = kelo::loadStep(first, Window, Screen, path());
    first.IniChiffres = 5.0F;  // as the 5 button does
    const TwipsPoint moved{at.left + 1500.0F, at.top - 750.0F};

    test::RecordingSound sound;
    FakeClocks clocks(43200.0, 100ms);
    kelo::closeStep(first, {WindowState::Normal, moved, Window, Screen},
                    {sound, clocks, [] {}, path()});

    GameState second;
    QVERIFY(kelo::loadStep(second, Window, Screen, path()) == moved);
    QCOMPARE(second.IniChiffres, 5.0F);
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "test_lifecycle.moc"
