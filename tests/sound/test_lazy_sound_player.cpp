// The program's sound player: the Qt Multimedia module is loaded on first need, and a module that
// cannot be loaded leaves the game silent with a single line on the console.
#include <QtTest>

#include "LazySoundPlayer.h"
#include "QuickExitMain.h"

namespace {
QStringList messages;
void recordMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    messages << text;
}
}  // namespace

class TestLazySoundPlayer : public QObject {
    Q_OBJECT
  private slots:
    void missingModuleIsSilentAndSaysSoOnce();
    void moduleIsLoadedOnceAndPlays();
};

void TestLazySoundPlayer::missingModuleIsSilentAndSaysSoOnce() {
    QTemporaryDir folder;
    kelo::LazySoundPlayer player(folder.filePath(QStringLiteral("no-such-module.so")));
    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    for (int i = 0; i < 5; ++i)
        player.play("Kelo1.wav", 1);
    qInstallMessageHandler(previous);
    QVERIFY(!player.loaded());
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.front().contains(QStringLiteral("sounds are off")));
}

void TestLazySoundPlayer::moduleIsLoadedOnceAndPlays() {
    kelo::LazySoundPlayer player(QStringLiteral(KELO_SOUND_MODULE));
    QVERIFY(!player.loaded());  // nothing before it is asked for
    player.load();
    QVERIFY(player.loaded());
    QElapsedTimer timer;
    timer.start();
    player.play("Kelo1.wav", 1);  // missing here: the default sound, started and left playing
    player.play("Kelo2.wav", 1);
    QVERIFY(timer.elapsed() < 5000);
}

KELO_QUICK_EXIT_TEST_MAIN(TestLazySoundPlayer)
#include "test_lazy_sound_player.moc"
