// The window's start, first activation and close through a real Form1, each test in a working
// folder of its own, with Kelo.ini as the player would leave it between runs.
#include <sys/stat.h>

#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest>
#include <chrono>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "Form1.h"
#include "Layout.h"
#include "Lifecycle.h"
#include "LimitedAccess.h"
#include "SequenceRandom.h"
#include "SettingsFile.h"
#include "SignalClose.h"
#include "StepClocks.h"
#include "ValueLabel.h"

using namespace kelo;
using kelo::test::contentOf;
using kelo::test::put;
using kelo::test::StepClocks;
using namespace std::chrono_literals;

namespace {

constexpr int PerPixel = layout::TwipsPerPixel;

// Kelo.ini as it stood in the working folder, or nothing when there was none.
std::optional<QByteArray> settingsNow() {
    if (!QFileInfo::exists(SettingsFileName))
        return std::nullopt;
    return contentOf(SettingsFileName);
}

QByteArray line(int leftPixels, int topPixels, const QByteArray& third) {
    return QByteArray::number(leftPixels * PerPixel) + ',' +
           QByteArray::number(topPixels * PerPixel) + ',' + third + "\r\n";
}

QSize screenSize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

// Before its first show the window has no frame yet, so centring sees the client size.
QPoint centredPosition() {
    const QSize screen = screenSize();
    const double left =
        (screen.width() * PerPixel / 2.0 - layout::Form.clientWidth / 2.0) / PerPixel;
    const double top =
        (screen.height() * PerPixel / 2.0 - layout::Form.clientHeight / 2.0) / PerPixel;
    return {qRound(left), qRound(top)};
}

// Sound requests, each with Kelo.ini as it was at the moment of the request.
struct ProbeSound final : SoundPlayer {
    struct Request {
        std::string name;
        std::int32_t flags;
        std::optional<QByteArray> settings;
    };
    std::vector<Request> requests;

    void play(std::string_view fileName, std::int32_t flags) override {
        requests.push_back({std::string(fileName), flags, settingsNow()});
    }
};

// One run of the program: a real Form1 made in the current working folder, whose close step
// pauses on fast fake clocks and records the end of the process instead of ending this test.
struct Run {
    ProbeSound sound;
    test::SequenceRandom random;
    StepClocks clocks{43200.0, 100ms};
    int ends = 0;
    int exitStatus = -1;
    int restsAtEnd = -1;
    std::optional<QByteArray> settingsAtEnd;
    Form1 form{sound, random};

    Run() { useClocks(clocks); }
    void useClocks(PauseClocks& pauseClocks) {
        form.setCloseServices(pauseClocks, [this](int status) {
            ++ends;
            exitStatus = status;
            restsAtEnd = clocks.rests;
            settingsAtEnd = settingsNow();
        });
    }

    [[nodiscard]] bool start() {
        form.show();
        return QTest::qWaitForWindowExposed(&form) && QTest::qWaitForWindowActive(&form);
    }
    [[nodiscard]] const GameState& state() const { return form.game().state(); }
    [[nodiscard]] QPoint frameAt() const { return form.frameGeometry().topLeft(); }

    [[nodiscard]] QPushButton* button(const QString& name) const {
        return form.findChild<QPushButton*>(name);
    }
    void click(const QString& name) {
        const QPushButton* b = button(name);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                          b->mapTo(&form, b->rect().center()));
    }
    void type(const QString& characters) {
        for (QChar c : characters) {
            QTest::sendKeyEvent(QTest::Click, form.windowHandle(),
                                static_cast<Qt::Key>(c.unicode()), QString(c), Qt::NoModifier);
        }
        QTest::keyClick(form.windowHandle(), Qt::Key_Return);
    }
    [[nodiscard]] QString labelncoup() const {
        return form.findChild<QLabel*>(QStringLiteral("Labelncoup"))->text();
    }
    // Whether every cell of the column is shown.
    [[nodiscard]] bool columnShown(Column column) const {
        for (int r = 0; r < BoardRows; ++r) {
            if (form.cell(column, r)->isHidden())
                return false;
        }
        return true;
    }
};

QString describe(const QPoint& p) {
    return QStringLiteral("%1, %2").arg(p.x()).arg(p.y());
}

// Where a row of the start table expects the window's frame.
enum class Place { At, Centred, OnFarEdge };

}  // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Qt::WindowState)

class TestWindowLifecycle : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startAndClose_data();
    void startAndClose();
    void lengthChosenLastComesBack();
    void minimizedOrMaximizedKeepsValuesReadAtStart_data();
    void minimizedOrMaximizedKeepsValuesReadAtStart();
    void closingSoundComesFirst_data();
    void closingSoundComesFirst();
    void pauseAcrossMidnight();
    void pauseWithRealClocks();
    void comingBackFromAnotherWindowStartsNoGame();
    void unwritableFileKeepsOldFile();

  private:
    std::optional<QTemporaryDir> dir_;
    QString previousFolder_;
};

void TestWindowLifecycle::initTestCase() {
    // The positions used below need room for the whole window beside them.
    const QSize screen = screenSize();
    if (screen.width() < 600 || screen.height() < 600)
        QSKIP("the screen is too small for these positions");
}

void TestWindowLifecycle::init() {
    dir_.emplace();
    QVERIFY(dir_->isValid());
    previousFolder_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestWindowLifecycle::cleanup() {
    QVERIFY(QDir::setCurrent(previousFolder_));
    ::chmod(QFile::encodeName(dir_->path()).constData(), 0755);
    dir_.reset();
}

void TestWindowLifecycle::startAndClose_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Place>("place");
    QTest::addColumn<QPoint>("at");  // pixels, for Place::At
    QTest::addColumn<int>("digits");
    QTest::addColumn<QByteArray>("third");  // as written back at close
    QTest::addColumn<int>("signal");        // that ends the run; 0: the window's close box

    QTest::newRow("no file: centred, 3 digits")
        << false << QByteArray() << Place::Centred << QPoint() << 3 << QByteArray("3") << 0;
    QTest::newRow("the example line") << true << QByteArray("600,900,3\r\n") << Place::At
                                      << QPoint(40, 60) << 3 << QByteArray("3") << 0;
    QTest::newRow("left of and above the screen: top-left corner, 4 digits")
        << true << QByteArray("-300,-200,4") << Place::At << QPoint(0, 0) << 4 << QByteArray("4")
        << 0;
    QTest::newRow("beyond the right and bottom edges: the frame ends on them")
        << true << QByteArray("30000,20000,5\r\n") << Place::OnFarEdge << QPoint() << 5
        << QByteArray("5") << 0;
    QTest::newRow("third value 7: no game, written back")
        << true << QByteArray("600,900,7\r\n") << Place::At << QPoint(40, 60) << 0
        << QByteArray("7") << 0;
    QTest::newRow("third value 3.5: no game, written back")
        << true << QByteArray("600,900,3.5\r\n") << Place::At << QPoint(40, 60) << 0
        << QByteArray("3.5") << 0;
    QTest::newRow("third value 0: no game, written back")
        << true << QByteArray("600,900,0\r\n") << Place::At << QPoint(40, 60) << 0
        << QByteArray("0") << 0;
    QTest::newRow("two values: centred, 3 digits, written whole")
        << true << QByteArray("600,900\r\n") << Place::Centred << QPoint() << 3 << QByteArray("3")
        << 0;
    QTest::newRow("ended by SIGTERM, as at logout: closed as by the close box")
        << true << QByteArray("600,900,4\r\n") << Place::At << QPoint(40, 60) << 4
        << QByteArray("4") << SIGTERM;
    QTest::newRow("ended by SIGHUP: the same")
        << false << QByteArray() << Place::Centred << QPoint() << 3 << QByteArray("3") << SIGHUP;
}

// Start, check the placement and the first game, close in place; then the written file must
// bring the next run back to the same place and length.
void TestWindowLifecycle::startAndClose() {
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(Place, place);
    QFETCH(QPoint, at);
    QFETCH(int, digits);
    QFETCH(QByteArray, third);
    QFETCH(int, signal);

    if (fileExists)
        QVERIFY(put(SettingsFileName, content));
    auto run = std::make_unique<Run>();
    QVERIFY(run->start());

    const QRect frame = run->form.frameGeometry();
    const QSize screen = screenSize();
    QPoint expected = at;
    if (place == Place::Centred)
        expected = centredPosition();
    else if (place == Place::OnFarEdge)
        expected = {screen.width() - frame.width(), screen.height() - frame.height()};
    QVERIFY2(frame.topLeft() == expected,
             qPrintable(describe(frame.topLeft()) + " on a screen of " +
                        describe({screen.width(), screen.height()})));

    QCOMPARE(run->state().NbChiffres, digits);
    if (digits == 0) {
        // The board as designed: every column shown, no count, nothing drawn.
        QVERIFY(run->columnShown(Column::A1));
        QVERIFY(run->columnShown(Column::A5));
        QCOMPARE(run->labelncoup(), QString());
        QCOMPARE(run->random.reseeds, 0);
    } else {
        QCOMPARE(run->columnShown(Column::A1), digits >= 4);
        QCOMPARE(run->columnShown(Column::A5), digits == 5);
        QCOMPARE(run->labelncoup(), QStringLiteral("0"));
        QCOMPARE(run->random.reseeds, 1);
    }

    if (signal != 0) {
        const SignalClose closeOnSignal(run->form);
        QCOMPARE(::raise(signal), 0);
        QTRY_COMPARE(run->ends, 1);
        QVERIFY(!run->form.isVisible());
    } else {
        QVERIFY(run->form.close());
    }
    QCOMPARE(run->ends, 1);
    QCOMPARE(run->exitStatus, 0);
    QCOMPARE(run->sound.requests.back().name, std::string("Kelo6.wav"));
    QVERIFY(run->restsAtEnd > 0);  // after the exit pause
    const QByteArray written = line(expected.x(), expected.y(), third);
    QCOMPARE(contentOf(SettingsFileName), written);
    QVERIFY(run->settingsAtEnd == written);

    run = std::make_unique<Run>();
    QVERIFY(run->start());
    QVERIFY2(run->frameAt() == expected, qPrintable(describe(run->frameAt())));
    QCOMPARE(run->state().NbChiffres, digits);
    QVERIFY(run->form.close());
    QCOMPARE(contentOf(SettingsFileName), written);
}

void TestWindowLifecycle::lengthChosenLastComesBack() {
    QVERIFY(put(SettingsFileName, "1500,3000,3\r\n"));
    auto run = std::make_unique<Run>();
    QVERIFY(run->start());
    QCOMPARE(run->state().NbChiffres, 3);
    run->click(QStringLiteral("Command5ch"));
    QCOMPARE(run->state().NbChiffres, 5);
    const QPoint movedTo(123, 45);
    run->form.move(movedTo);
    QTRY_COMPARE(run->frameAt(), movedTo);
    QVERIFY(run->form.close());
    QCOMPARE(contentOf(SettingsFileName), line(123, 45, "5"));

    run = std::make_unique<Run>();
    QVERIFY(run->start());
    QVERIFY2(run->frameAt() == movedTo, qPrintable(describe(run->frameAt())));
    QCOMPARE(run->state().NbChiffres, 5);
    QVERIFY(run->columnShown(Column::A1));
    QVERIFY(run->columnShown(Column::A5));
}

void TestWindowLifecycle::minimizedOrMaximizedKeepsValuesReadAtStart_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<Qt::WindowState>("windowState");
    QTest::addColumn<bool>("chooseFive");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("minimized: the values read")
        << true << Qt::WindowMinimized << false << QByteArray("-300,-200,4\r\n");
    QTest::newRow("maximized: the values read")
        << true << Qt::WindowMaximized << false << QByteArray("-300,-200,4\r\n");
    QTest::newRow("maximized after choosing 5: the length is the new one")
        << true << Qt::WindowMaximized << true << QByteArray("-300,-200,5\r\n");
    QTest::newRow("minimized, no file: 0 and 0")
        << false << Qt::WindowMinimized << false << QByteArray("0,0,3\r\n");
    QTest::newRow("maximized, no file: 0 and 0")
        << false << Qt::WindowMaximized << false << QByteArray("0,0,3\r\n");
}

void TestWindowLifecycle::minimizedOrMaximizedKeepsValuesReadAtStart() {
    QFETCH(bool, fileExists);
    QFETCH(Qt::WindowState, windowState);
    QFETCH(bool, chooseFive);
    QFETCH(QByteArray, written);

    if (fileExists)
        QVERIFY(put(SettingsFileName, "-300,-200,4\r\n"));
    Run run;
    QVERIFY(run.start());
    if (chooseFive)
        run.click(QStringLiteral("Command5ch"));
    run.form.move(200, 150);  // a place of its own, which must not be stored
    if (windowState == Qt::WindowMinimized)
        run.form.showMinimized();
    else
        run.form.showMaximized();
    QTRY_COMPARE(run.form.windowState(), windowState);
    QCOMPARE(run.form.isMinimized(), windowState == Qt::WindowMinimized);
    QCOMPARE(run.form.isMaximized(), windowState == Qt::WindowMaximized);

    QVERIFY(run.form.close());
    QCOMPARE(run.ends, 1);
    QCOMPARE(contentOf(SettingsFileName), written);
}

void TestWindowLifecycle::closingSoundComesFirst_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("no file: none yet when the sound is asked for") << false;
    QTest::newRow("old file: still the old one when the sound is asked for") << true;
}

void TestWindowLifecycle::closingSoundComesFirst() {
    QFETCH(bool, fileExists);
    const QByteArray old("600,900,4\r\n");
    if (fileExists)
        QVERIFY(put(SettingsFileName, old));

    Run run;
    QVERIFY(run.start());
    run.click(QStringLiteral("Command3ch"));
    run.form.move(300, 200);
    QTRY_COMPARE(run.frameAt(), QPoint(300, 200));
    const std::size_t before = run.sound.requests.size();
    QVERIFY(before > 0);  // the click's own sounds

    std::vector<std::size_t> requestsAtRest;
    std::vector<std::optional<QByteArray>> settingsAtRest;
    run.clocks.onRest = [&] {
        requestsAtRest.push_back(run.sound.requests.size());
        settingsAtRest.push_back(settingsNow());
    };
    QVERIFY(run.form.close());

    QCOMPARE(run.sound.requests.size(), before + 1);
    const ProbeSound::Request& closing = run.sound.requests.back();
    QCOMPARE(closing.name, std::string("Kelo6.wav"));
    QCOMPARE(closing.flags, 1);
    QVERIFY(closing.settings == (fileExists ? std::optional(old) : std::nullopt));

    const QByteArray written = line(300, 200, "3");
    QCOMPARE(contentOf(SettingsFileName), written);
    QVERIFY(!requestsAtRest.empty());
    QCOMPARE(requestsAtRest.front(), before + 1);  // requested before the pause
    QVERIFY(settingsAtRest.front() == written);    // written before the pause
    QCOMPARE(run.ends, 1);
}

void TestWindowLifecycle::pauseAcrossMidnight() {
    Run run;
    QVERIFY(run.start());
    run.clocks.day = 86399.95;
    run.clocks.step = 10ms;
    const std::chrono::nanoseconds started = run.clocks.since;

    QVERIFY(run.form.close());

    QVERIFY(!run.clocks.runaway);
    const auto paused = run.clocks.since - started;
    qInfo("paused %.3f s of monotonic time in %d readings",
          std::chrono::duration<double>(paused).count(), run.clocks.rests);
    QVERIFY(paused > 300ms);
    QVERIFY(paused - run.clocks.step <= 300ms);  // the first reading past 0.3 s ends it
    QCOMPARE(run.restsAtEnd, run.clocks.rests);
    QCOMPARE(run.state().TempsDebut, 86399.95);
    QVERIFY2(run.state().TempsLu < 1.0, qPrintable(QString::number(run.state().TempsLu)));
    QCOMPARE(run.ends, 1);
}

void TestWindowLifecycle::pauseWithRealClocks() {
    Run run;
    SystemClocks real;
    run.useClocks(real);
    QVERIFY(run.start());

    QElapsedTimer timer;
    timer.start();
    QVERIFY(run.form.close());
    const qint64 ns = timer.nsecsElapsed();

    qInfo("close step with the real clocks: %.1f ms", static_cast<double>(ns) / 1e6);
    QCOMPARE(run.ends, 1);
    QVERIFY2(ns > 300'000'000, qPrintable(QString::number(ns)));
    // Meant to be under 0.4 s; the margin is for a loaded machine.
    QVERIFY2(ns < 600'000'000, qPrintable(QString::number(ns)));
}

// Focus going to another window and back activates the window again; that is no new start.
void TestWindowLifecycle::comingBackFromAnotherWindowStartsNoGame() {
    QVERIFY(put(SettingsFileName, "600,900,4\r\n"));
    Run run;
    run.random.drawDigits({7, 0, 7, 1});
    int activations = 0;
    struct ActivationCounter : QObject {
        int* count;
        explicit ActivationCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::WindowActivate)
                ++*count;
            return false;
        }
    } counter(&activations);
    run.form.installEventFilter(&counter);

    QVERIFY(run.start());
    QCOMPARE(run.state().NbChiffres, 4);
    run.type(QStringLiteral("7701"));
    QCOMPARE(run.state().NbCoups, 1);
    const GameState before = run.state();
    const int reseeds = run.random.reseeds;

    QWidget other;
    other.resize(120, 80);
    other.show();
    QApplication::setActiveWindow(&other);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!run.form.isActiveWindow());
    QApplication::setActiveWindow(&run.form);
    run.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.form));
    QVERIFY2(activations >= 2, qPrintable(QString::number(activations)));

    QCOMPARE(run.random.reseeds, reseeds);
    QCOMPARE(run.state().NbChiffres, before.NbChiffres);
    QCOMPARE(run.state().NbCoups, before.NbCoups);
    QVERIFY(run.state().Code == before.Code);
    QVERIFY(run.state().TabA == before.TabA);
    QVERIFY(run.state().TabBon == before.TabBon);
    QVERIFY(run.state().TabMal == before.TabMal);
    QCOMPARE(run.labelncoup(), QStringLiteral("1"));
}

void TestWindowLifecycle::unwritableFileKeepsOldFile() {
    const QByteArray old("600,900,4\r\n");
    QVERIFY(put(SettingsFileName, old));
    Run run;
    QVERIFY(run.start());
    run.click(QStringLiteral("Command5ch"));
    run.form.move(300, 200);  // so that any write would differ from the old file
    QTRY_COMPARE(run.frameAt(), QPoint(300, 200));

    const QByteArray folder = QFile::encodeName(dir_->path());
    QCOMPARE(::chmod(folder.constData(), 0555), 0);
    QCOMPARE(::chmod(QFile::encodeName(SettingsFileName).constData(), 0444), 0);
    bool closed = false;
    {
        const test::ModeBitsEnforced enforced;
        if (put(QStringLiteral("probe"), "x"))
            QSKIP("this user can write into a read-only folder");
        closed = run.form.close();
    }
    QCOMPARE(::chmod(folder.constData(), 0755), 0);

    QVERIFY(closed);
    QCOMPARE(run.sound.requests.back().name, std::string("Kelo6.wav"));
    QCOMPARE(contentOf(SettingsFileName), old);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{SettingsFileName});
    QCOMPARE(run.ends, 1);
    QCOMPARE(run.exitStatus, NotSavedStatus);
    QCOMPARE(run.clocks.rests, 0);  // a failed write ends at once, without the pause
}

QTEST_MAIN(TestWindowLifecycle)
#include "test_window_lifecycle.moc"
