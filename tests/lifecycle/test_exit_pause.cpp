// The exit pause with fake clocks, midnight included. The load and close steps are tested
// through the real window.
#include <QtTest>

#include "ExitPause.h"
#include "StepClocks.h"

using namespace kelo;

using kelo::test::StepClocks;

class TestExitPause : public QObject {
    Q_OBJECT

  private slots:
    void pauseWithFakeClocks_data();
    void pauseWithFakeClocks();
};

void TestExitPause::pauseWithFakeClocks_data() {
    QTest::addColumn<double>("startOfDay");
    QTest::addColumn<int>("stepMs");
    QTest::addColumn<int>("rests");

    QTest::newRow("midday, 10 ms steps: ends on the first reading past 0.3 s")
        << 43200.0 << 10 << 31;
    QTest::newRow("crossing midnight") << 86399.9 << 10 << 31;
    QTest::newRow("crossing midnight, coarse 55 ms clock") << 86399.95 << 55 << 6;
    QTest::newRow("a reading at exactly 0.3 s does not end it") << 86399.8 << 100 << 4;
}

void TestExitPause::pauseWithFakeClocks() {
    QFETCH(double, startOfDay);
    QFETCH(int, stepMs);
    QFETCH(int, rests);

    StepClocks clocks(startOfDay, std::chrono::milliseconds(stepMs));
    const PauseTimes times = exitPause(clocks);

    QVERIFY(!clocks.runaway);
    QCOMPARE(clocks.rests, rests);
    QCOMPARE(times.TempsDebut, startOfDay);
    QCOMPARE(times.TempsLu, clocks.day);  // the last reading, wrapped past midnight if it crossed
}

QTEST_GUILESS_MAIN(TestExitPause)
#include "test_exit_pause.moc"
