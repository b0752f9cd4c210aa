// Checks the Qt Multimedia sound player where there is no sound server: which sound a request
// chooses, how long requests take, the cache, and that the console hears of it at most once.
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

#include "QtSoundPlayer.h"
#include "QuickExitMain.h"
#include "Sounds.h"

using kelo::QtSoundPlayer;
using kelo::SoundSource;

namespace {

const QString SoundsDir = QStringLiteral(KELO_SOUNDS_DIR);

// Every warning that reaches the console.
QStringList consoleWarnings;
QtMessageHandler testHandler = nullptr;

void recordConsole(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg || type == QtCriticalMsg)
        consoleWarnings << message;
    testHandler(type, context, message);
}

void copySound(const char* from, const QString& to) {
    QFile::remove(to);
    QVERIFY(QFile::copy(SoundsDir + u'/' + QLatin1String(from), to));
}

// A 16-bit mono 44100 Hz file whose data chunk announces `announcedFrames` and holds
// `presentFrames`; its RIFF size is that of the file, or of the announced data when
// `riffAsAnnounced`.
QByteArray waveBytes(quint32 announcedFrames, quint32 presentFrames, bool riffAsAnnounced = false) {
    QByteArray bytes(44, '\0');
    char* h = bytes.data();
    const auto put32 = [](char* at, quint32 v) { qToLittleEndian(v, at); };
    const auto put16 = [](char* at, quint16 v) { qToLittleEndian(v, at); };
    memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + (riffAsAnnounced ? announcedFrames : presentFrames) * 2);
    memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, 1);
    put32(h + 24, 44100);
    put32(h + 28, 88200);
    put16(h + 32, 2);
    put16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    put32(h + 40, announcedFrames * 2);
    bytes.append(QByteArray(qsizetype(presentFrames) * 2, '\x01'));
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class QtSoundPlayerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;
    QString previousDir;

    QString inWorkDir(const QString& name) const { return workDir->filePath(name); }

  private slots:
    void initTestCase() {
        testHandler = qInstallMessageHandler(recordConsole);
        previousDir = QDir::currentPath();
    }

    void init() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void cleanup() {
        QDir::setCurrent(previousDir);
        workDir.reset();
    }

    void defaultSoundIsBuiltIn() {
        QVERIFY(QFile::exists(QLatin1String(kelo::DefaultSoundResource)));
        const SoundSource source = kelo::resolveSound("Kelo1.wav");
        QVERIFY(source.isDefault);
        QCOMPARE(source.path, QLatin1String(kelo::DefaultSoundResource));
        QVERIFY2(source.durationMs > 20 && source.durationMs < 500,
                 qPrintable(QString::number(source.durationMs)));
    }

    void resolve_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>(
            "content");  // "dir" makes a folder of that name; empty: no file
        QTest::addColumn<bool>("isDefault");
        QTest::addColumn<int>("durationMs");  // -1: the length of the file named
        const QByteArray none;
        QTest::newRow("present file is chosen") << "Kelo3.wav" << QByteArray("copy") << false << -1;
        QTest::newRow("missing file gives the default") << "Kelo3.wav" << none << true << 0;
        QTest::newRow("corrupt file gives the default")
            << "Kelo5.wav" << QByteArray("RIFF\x10\0\0\0garbage!!", 16) << true << 0;
        QTest::newRow("empty file gives the default")
            << "Kelo1.wav" << QByteArray("empty") << true << 0;
        QTest::newRow("header without samples gives the default")
            << "Kelo2.wav" << waveBytes(0, 0) << true << 0;
        QTest::newRow("short data is timed by what is there")
            << "Kelo4.wav" << waveBytes(44100, 4410) << false << 100;
        QTest::newRow("file cut short of its header gives the default")
            << "Kelo4.wav" << waveBytes(44100, 4410, true) << true << 0;
        QTest::newRow("folder of that name gives the default")
            << "Kelo6.wav" << QByteArray("dir") << true << 0;
        QTest::newRow("other file name is found too")
            << "Other.wav" << waveBytes(2205, 2205) << false << 50;
    }

    void resolve() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, isDefault);
        QFETCH(int, durationMs);
        const QString path = inWorkDir(name);
        if (content == "copy") {
            copySound(qPrintable(name), path);
            durationMs = int((QFileInfo(path).size() - 44) * 1000 / 88200);
        } else if (content == "empty") {
            writeFile(path, {});
        } else if (content == "dir") {
            QVERIFY(QDir().mkdir(path));
        } else if (!content.isEmpty()) {
            writeFile(path, content);
        }
        const SoundSource source = kelo::resolveSound(name.toStdString());
        QCOMPARE(source.isDefault, isDefault);
        if (isDefault) {
            QCOMPARE(source.path, QLatin1String(kelo::DefaultSoundResource));
        } else {
            QCOMPARE(source.path, QFileInfo(path).absoluteFilePath());
            QCOMPARE(source.durationMs, durationMs);
        }
        // The player makes the same choice.
        QtSoundPlayer player;
        player.play(name.toStdString(), 1);
        QCOMPARE(player.lastSource(), source);
    }

    void asyncRequestReturnsAtOnce() {
        copySound(kelo::SoundButtonDown, inWorkDir(QLatin1String(kelo::SoundButtonDown)));
        QtSoundPlayer player;
        QCOMPARE(player.loads(), 0);  // nothing is prepared before it is asked for
        QElapsedTimer clock;
        clock.start();
        player.play(kelo::SoundButtonDown, 1);
        const qint64 first = clock.nsecsElapsed();
        clock.restart();
        player.play(kelo::SoundButtonDown, 1);
        const qint64 second = clock.nsecsElapsed();
        qDebug("flags 1: first request %.3f ms, cached %.3f ms", double(first) / 1e6,
               double(second) / 1e6);
        QVERIFY(first < 1'000'000'000);
        QVERIFY(second < 1'000'000'000);
    }

    void syncRequestLastsAboutTheSound_data() {
        QTest::addColumn<QString>("file");  // copied from the generated sounds; empty: none
        QTest::addColumn<QString>("name");
        QTest::newRow("short click")
            << QString::fromLatin1(kelo::SoundButtonUp) << QString::fromLatin1(kelo::SoundButtonUp);
        QTest::newRow("win chime")
            << QString::fromLatin1(kelo::SoundWon) << QString::fromLatin1(kelo::SoundWon);
        QTest::newRow("missing file lasts the default sound")
            << QString() << QString::fromLatin1(kelo::SoundClosing);
    }

    void syncRequestLastsAboutTheSound() {
        QFETCH(QString, file);
        QFETCH(QString, name);
        if (!file.isEmpty())
            copySound(qPrintable(file), inWorkDir(name));
        const int length = kelo::resolveSound(name.toStdString()).durationMs;
        QVERIFY(length > 0);
        QtSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        player.play(name.toStdString(), 0);
        const qint64 took = clock.elapsed();
        qDebug("flags 0: a sound of %d ms took %lld ms", length, took);
        QVERIFY2(took >= length - 10, qPrintable(QString::number(took)));
        QVERIFY2(took < length + QtSoundPlayer::SyncMarginMs + 2000,
                 qPrintable(QString::number(took)));
    }

    void secondRequestUsesTheCache_data() {
        QTest::addColumn<int>("change");  // 0 none, 1 newer time, 2 other size at the same time
        QTest::addColumn<int>("newLoads");
        QTest::newRow("unchanged file is not read again") << 0 << 0;
        QTest::newRow("newer modification time reads it again") << 1 << 1;
        QTest::newRow("other size at the same time reads it again") << 2 << 1;
    }

    void secondRequestUsesTheCache() {
        QFETCH(int, change);
        QFETCH(int, newLoads);
        const QString path = inWorkDir(QLatin1String(kelo::SoundGuessTaken));
        copySound(kelo::SoundGuessTaken, path);
        QtSoundPlayer player;
        player.play(kelo::SoundGuessTaken, 1);
        const int loads = player.loads();
        const SoundSource before = player.lastSource();
        if (change == 1) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QFileInfo(path).lastModified().addSecs(10),
                                     QFileDevice::FileModificationTime));
        } else if (change == 2) {
            const QDateTime time = QFileInfo(path).lastModified();
            copySound(kelo::SoundWon, path);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        player.play(kelo::SoundGuessTaken, 1);
        QCOMPARE(player.loads(), loads + newLoads);
        QCOMPARE(player.lastSource() == before, newLoads == 0);
        QVERIFY(!player.lastSource().isDefault);
    }

    void replacedFileIsPlayedWithItsNewLength() {
        const QString path = inWorkDir(QLatin1String(kelo::SoundButtonDown));
        copySound(kelo::SoundButtonDown, path);
        QtSoundPlayer player;
        player.play(kelo::SoundButtonDown, 1);
        const int shortLength = player.lastSource().durationMs;
        copySound(kelo::SoundWon, path);
        QElapsedTimer clock;
        clock.start();
        player.play(kelo::SoundButtonDown, 0);
        const qint64 took = clock.elapsed();
        const int longLength = player.lastSource().durationMs;
        QVERIFY2(longLength > shortLength + 300,
                 qPrintable(QStringLiteral("%1 %2").arg(shortLength).arg(longLength)));
        QVERIFY2(took >= longLength - 10, qPrintable(QString::number(took)));
    }

    void fileAddedDuringTheRunIsFound() {
        QtSoundPlayer player;
        player.play(kelo::SoundCodeShown, 1);
        QVERIFY(player.lastSource().isDefault);
        copySound(kelo::SoundCodeShown, inWorkDir(QLatin1String(kelo::SoundCodeShown)));
        player.play(kelo::SoundCodeShown, 1);
        QVERIFY(!player.lastSource().isDefault);
        QCOMPARE(player.lastSource().path,
                 QFileInfo(inWorkDir(QLatin1String(kelo::SoundCodeShown))).absoluteFilePath());
        QFile::remove(inWorkDir(QLatin1String(kelo::SoundCodeShown)));
        player.play(kelo::SoundCodeShown, 1);
        QVERIFY(player.lastSource().isDefault);
    }

    // Without a sound server every started sound says it is playing for ever, so anything more
    // than one playing at once is a sound the player forgot to stop.
    void onlyTheNewestSoundPlays() {
        for (const char* name : {kelo::SoundButtonDown, kelo::SoundButtonUp, kelo::SoundGuessTaken,
                                 kelo::SoundWon, kelo::SoundCodeShown, kelo::SoundClosing})
            copySound(name, inWorkDir(QLatin1String(name)));
        writeFile(inWorkDir(QStringLiteral("Broken.wav")), "RIFF????WAVEjunk");
        QtSoundPlayer player;
        const char* order[] = {kelo::SoundButtonDown, kelo::SoundButtonUp,   "Missing.wav",
                               kelo::SoundGuessTaken, kelo::SoundWon,        "Broken.wav",
                               kelo::SoundCodeShown,  kelo::SoundButtonDown, kelo::SoundClosing,
                               "Missing.wav",         kelo::SoundClosing};
        for (const char* name : order) {
            player.play(name, 1);
            QVERIFY2(player.playingCount() <= 1, name);
            QCoreApplication::processEvents();
            QVERIFY2(player.playingCount() <= 1, name);
        }
    }

    void manyRequestsNeitherHangNorCrash() {
        copySound(kelo::SoundButtonDown, inWorkDir(QLatin1String(kelo::SoundButtonDown)));
        writeFile(inWorkDir(QStringLiteral("Broken.wav")), waveBytes(100, 0) + "x");
        QtSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 300; ++i) {
            player.play(i % 3 == 0   ? kelo::SoundButtonDown
                        : i % 3 == 1 ? "Missing.wav"
                                     : "Broken.wav",
                        1);
            if (i % 10 == 0)
                QCoreApplication::processEvents();
        }
        player.play("Missing.wav", 0);
        qDebug("300 mixed requests and one waited for: %lld ms", clock.elapsed());
        QVERIFY(player.playingCount() <= 1);
        QVERIFY(clock.elapsed() < 60'000);
    }

    void asyncRequestCost() {
        copySound(kelo::SoundButtonDown, inWorkDir(QLatin1String(kelo::SoundButtonDown)));
        QtSoundPlayer player;
        player.play(kelo::SoundButtonDown, 1);
        QBENCHMARK {
            player.play(kelo::SoundButtonDown, 1);
        }
    }

    // Declared last: by now every kind of request above has been made.
    void consoleHearsOfTheSoundServiceAtMostOnce() {
        QStringList fromSound;
        for (const QString& line : consoleWarnings)
            if (line.contains(QLatin1String("udio")) ||
                line.contains(QLatin1String("QSoundEffect")) ||
                line.contains(QLatin1String("sound")))
                fromSound << line;
        qDebug() << "sound lines on the console:" << fromSound;
        QVERIFY2(fromSound.size() <= 1, qPrintable(fromSound.join(u'\n')));
    }
};

KELO_QUICK_EXIT_TEST_MAIN(QtSoundPlayerTest)
#include "test_qt_sound_player.moc"
