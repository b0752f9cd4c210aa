// Kelo.ini on disk: files that must not be trusted or read whole, and writes that fail cleanly.
#include <sys/stat.h>

#include <QtTest>

#include "LimitedAccess.h"
#include "SettingsFile.h"

using namespace kelo;

namespace {

bool put(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Bytes this process has read through system calls so far.
qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

const QByteArray GoodLine("600,900,3\r\n");

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

  private slots:
    void read_data();
    void read();
    void hugeFileIsNotReadWhole();
    void writeGivesExactlyTheLine();
    void writeReplacesALongerFileWhole();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
};

void TestSettingsFile::read_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("count");

    QTest::newRow("good file") << "good" << 3;
    QTest::newRow("missing file") << "missing" << 0;
    QTest::newRow("two values: both kept") << "two values" << 2;
    QTest::newRow("exactly at the size limit") << "at limit" << 3;
    QTest::newRow("one byte over the size limit") << "over limit" << 0;
    QTest::newRow("10 MB file with a good first line") << "10 MB" << 0;
    QTest::newRow("folder by that name") << "folder" << 0;
    QTest::newRow("FIFO by that name: no wait for a writer") << "fifo" << 0;
    QTest::newRow("link to a good file") << "link" << 3;
    QTest::newRow("unreadable file") << "unreadable" << 0;
}

void TestSettingsFile::read() {
    QFETCH(QString, setup);
    QFETCH(int, count);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    std::optional<test::ModeBitsEnforced> enforced;

    if (setup == "good") {
        QVERIFY(put(path, GoodLine));
    } else if (setup == "two values") {
        QVERIFY(put(path, "600,900\r\n"));
    } else if (setup == "at limit" || setup == "over limit") {
        const qint64 size = MaxSettingsFileBytes + (setup == "over limit" ? 1 : 0);
        QVERIFY(put(path, GoodLine + QByteArray(size - GoodLine.size(), 'x')));
    } else if (setup == "10 MB") {
        QVERIFY(put(path, GoodLine + QByteArray(10 * 1024 * 1024, 'x')));
    } else if (setup == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(SettingsFileName));
    } else if (setup == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    } else if (setup == "link") {
        QVERIFY(put(dir.filePath("elsewhere.ini"), GoodLine));
        QVERIFY(QFile::link(dir.filePath("elsewhere.ini"), path));
    } else if (setup == "unreadable") {
        QVERIFY(put(path, GoodLine));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        enforced.emplace();
    }

    QCOMPARE(readSettingsFile(path).count, count);
}

void TestSettingsFile::hugeFileIsNotReadWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    QVERIFY(put(path, GoodLine + QByteArray(10 * 1024 * 1024, ' ')));

    const qint64 before = bytesReadSoFar();
    if (before < 0)
        QSKIP("no /proc/self/io to count the bytes read");
    QCOMPARE(readSettingsFile(path).count, 0);
    const qint64 read = bytesReadSoFar() - before;
    qInfo("read %lld bytes of a 10 MB file", read);
    QVERIFY2(read < 256 * 1024, qPrintable(QString::number(read)));
}

void TestSettingsFile::writeGivesExactlyTheLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    QVERIFY(writeSettingsFile(path, {600.0F, 900.0F, 3.0F}));
    QCOMPARE(contentOf(path), GoodLine);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{SettingsFileName});
}

void TestSettingsFile::writeReplacesALongerFileWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    QVERIFY(put(path, "-1234567,-7654321,3.5\r\nan older and longer file\r\n"));
    QVERIFY(writeSettingsFile(path, {-45.0F, 0.0F, 5.0F}));
    QCOMPARE(contentOf(path), QByteArray("-45,0,5\r\n"));
}

void TestSettingsFile::failedWriteKeepsOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder not writable") << "read-only folder";
    QTest::newRow("bytes refused as on a full disk") << "size limit";
}

void TestSettingsFile::failedWriteKeepsOldFile() {
    QFETCH(QString, failure);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    const QByteArray old("1200,1500,4\r\n");
    QVERIFY(put(path, old));

    bool written = true;
    if (failure == "read-only folder") {
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        {
            const test::ModeBitsEnforced enforced;
            written = writeSettingsFile(path, {600.0F, 900.0F, 5.0F});
        }
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    } else {
        const test::FileSizeLimit limit(0);
        written = writeSettingsFile(path, {600.0F, 900.0F, 5.0F});
    }

    QVERIFY(!written);
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{SettingsFileName});
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
