// On a desktop with Wayland and no X11 the program starts on the Wayland platform, where a window
// can neither be placed nor learn where it is: closing it must keep the position Kelo.ini held, not
// store the 0, 0 the platform reports. Headless weston never activates the window, whose first game
// must start all the same.
#include <QtTest>
#include <chrono>

#include "AppInfo.h"
#include "Form1.h"
#include "RecordingSound.h"
#include "SequenceRandom.h"
#include "SettingsFile.h"
#include "StepClocks.h"

using namespace kelo;
using namespace std::chrono_literals;

class TestWaylandPosition : public QObject {
    Q_OBJECT

  private slots:
    void storedPositionSurvivesClose();
};

void TestWaylandPosition::storedPositionSurvivesClose() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        QFAIL("not on the Wayland platform: run through tests/lifecycle/under-weston.sh");
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland;xcb"));
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir::setCurrent(dir.path()));
    const QByteArray stored("3000,2250,4\r\n");
    QFile settings(SettingsFileName);
    QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(stored) == stored.size());
    settings.close();

    test::RecordingSound sound;
    test::SequenceRandom random;
    test::StepClocks clocks{43200.0, 100ms};
    Form1 form(sound, random);
    int status = -1;
    form.setCloseServices(clocks, [&status](int exitStatus) { status = exitStatus; });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.game().state().NbChiffres, 4);
    qInfo("the window is %s", form.isActiveWindow() ? "active" : "never activated");
    qInfo("the platform reports the window at %d, %d", form.frameGeometry().left(),
          form.frameGeometry().top());
    QVERIFY(form.close());

    QCOMPARE(status, 0);
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), stored);
}

int main(int argc, char* argv[]) {
    app::choosePlatform();  // as the game's own start does
    QApplication application(argc, argv);
    TestWaylandPosition test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_wayland_position.moc"
