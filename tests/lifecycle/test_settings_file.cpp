// Kelo.ini on disk: files that must not be trusted or read whole, and a close step (in a process
// of its own, ended for real) that writes only to a regular file and says when it could not.
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <csignal>

#include "FileBytes.h"
#include "Lifecycle.h"
#include "LimitedAccess.h"
#include "RulesTable.h"
#include "SettingsFile.h"

using namespace kelo;
using kelo::test::contentOf;
using kelo::test::put;

namespace {

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
const QByteArray OldLine("1200,1500,4\r\n");
const QByteArray NewLine("600,900,5\r\n");
const char* const CloseHere = "--close-here";

// The close step as the program runs it, in the working folder, ending this process.
[[noreturn]] void closeHere() {
    test::RulesTable t;
    t.game.settingsRead(600.0F, 900.0F, 5.0F);
    SystemClocks clocks;
    ClosingWindow window;
    window.state = WindowState::Minimized;  // keeps the position above
    closeStep(t.game, window, {t.sound, clocks, endProcessNow});
    std::abort();
}

// Every entry under the folder, links not followed, with what it is and holds.
QMap<QString, QByteArray> snapshot(const QString& root) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(root).relativeFilePath(path);
        if (name.startsWith(QLatin1String("bin")))
            continue;  // a copy of this program
        struct stat entry {};
        ::lstat(QFile::encodeName(path).constData(), &entry);
        if (S_ISLNK(entry.st_mode))
            entries[name] = "link to " + QFile::encodeName(it.fileInfo().symLinkTarget());
        else if (S_ISDIR(entry.st_mode))
            entries[name] = "folder";
        else if (S_ISFIFO(entry.st_mode))
            entries[name] = "FIFO";
        else
            entries[name] = "file " + contentOf(path);
    }
    return entries;
}

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

  private slots:
    void read_data();
    void read();
    void writeGivesExactlyTheLine();
    void writeReplacesALongerFileWhole();
    void hostileFileThroughLoadAndClose_data();
    void hostileFileThroughLoadAndClose();
};

void TestSettingsFile::read_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("count");

    QTest::newRow("good file") << "good" << 3;
    QTest::newRow("missing file") << "missing" << 0;
    QTest::newRow("two values: both kept") << "two values" << 2;
    QTest::newRow("exactly at the size limit") << "at limit" << 3;
    QTest::newRow("over the read limit: its start is read") << "over limit" << 3;
    QTest::newRow("a value cut by the read limit is not read") << "cut value" << 2;
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
    } else if (setup == "cut value") {
        const QByteArray start = "600,900," + QByteArray(MaxSettingsFileBytes - 9, ' ');
        QVERIFY(put(path, start + "35\r\n"));  // the 3 is the last byte read
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

void TestSettingsFile::writeGivesExactlyTheLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    QVERIFY(writeSettingsFile(path, {600.0F, 900.0F, 3.0F}).saved);
    QCOMPARE(contentOf(path), GoodLine);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{SettingsFileName});
}

void TestSettingsFile::writeReplacesALongerFileWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(SettingsFileName);
    QVERIFY(put(path, "-1234567,-7654321,3.5\r\nan older and longer file\r\n"));
    QVERIFY(writeSettingsFile(path, {-45.0F, 0.0F, 5.0F}).saved);
    QCOMPARE(contentOf(path), QByteArray("-45,0,5\r\n"));
}

void TestSettingsFile::hostileFileThroughLoadAndClose_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<float>("lengthRead");   // IniChiffres after the load step: 3 is the fallback
    QTest::addColumn<QString>("savedInto");  // the file given the new line; empty: nothing changes
    QTest::addColumn<QString>("reason");     // in the one console line of a failed save

    struct Row {
        const char* name;
        const char* setup;
        float lengthRead;
        const char* savedInto;
        const char* reason;
    };
    const Row rows[] = {
        {"link to a regular file: that file is updated", "link to file", 4, "own/Kelo.ini", ""},
        {"link to a FIFO: untouched", "link to FIFO", 3, "", "it is a link to a FIFO"},
        {"link to a folder: untouched", "link to folder", 3, "", "it is a link to a folder"},
        {"dangling link: nothing made", "dangling link", 3, "", "it is a link that leads nowhere"},
        {"FIFO by that name: untouched", "FIFO", 3, "", "it is a FIFO"},
        {"read-only folder, writable file: saved in place", "read-only folder", 4, "work/Kelo.ini",
         ""},
        {"read-only folder and file: kept", "read-only folder and file", 4, "",
         "Permission denied"},
        {"10 MB file with a good first line: read, replaced", "10 MB", 4, "work/Kelo.ini", ""},
        {"disk full: old file kept", "disk full", 4, "", "File too large"},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString(row.setup) << row.lengthRead << QString(row.savedInto)
                                << QString(row.reason);
    }
}

void TestSettingsFile::hostileFileThroughLoadAndClose() {
    QFETCH(QString, setup);
    QFETCH(float, lengthRead);
    QFETCH(QString, savedInto);
    QFETCH(QString, reason);

    // Under /tmp and open to all: the unprivileged runs must reach it, wherever the tree lies.
    QTemporaryDir root(QStringLiteral("/tmp/kelo-settings-XXXXXX"));
    QVERIFY(root.isValid());
    QVERIFY(QFile::setPermissions(root.path(), QFile::permissions(root.path()) | QFile::ExeOther |
                                                   QFile::ReadOther | QFile::ExeGroup));
    QDir top(root.path());
    QVERIFY(top.mkdir("work") && top.mkdir("own"));
    const QString work = top.filePath("work");
    const QString file = top.filePath("work/Kelo.ini");
    const QByteArray workName = QFile::encodeName(work);
    const bool unprivileged = setup.startsWith("read-only folder");

    if (setup == "link to file") {
        QVERIFY(put(top.filePath("own/Kelo.ini"), OldLine));
        QVERIFY(QFile::link(top.filePath("own/Kelo.ini"), file));
    } else if (setup == "link to FIFO") {
        QCOMPARE(::mkfifo(QFile::encodeName(top.filePath("own/pipe")).constData(), 0644), 0);
        QVERIFY(QFile::link(top.filePath("own/pipe"), file));
    } else if (setup == "link to folder") {
        QVERIFY(QFile::link(top.filePath("own"), file));
    } else if (setup == "dangling link") {
        QVERIFY(QFile::link(top.filePath("own/gone.ini"), file));
    } else if (setup == "FIFO") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    } else if (setup == "10 MB") {
        QVERIFY(put(file, OldLine + QByteArray(10 * 1024 * 1024, 'x')));
    } else {
        QVERIFY(put(file, OldLine));
        const bool fileWritable = setup != "read-only folder and file";
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), fileWritable ? 0666 : 0444), 0);
        if (unprivileged)
            QCOMPARE(::chmod(workName.constData(), 0555), 0);
    }
    const QMap<QString, QByteArray> before = snapshot(root.path());

    const qint64 readBefore = bytesReadSoFar();
    QElapsedTimer clock;
    clock.start();
    const LoadedPlace placed = loadPlace({4000.0F, 3000.0F}, {30000.0F, 20000.0F}, file);
    const qint64 nanoseconds = clock.nsecsElapsed();
    const qint64 read = bytesReadSoFar() - readBefore;
    qInfo("load step: %lld bytes read in %.3f ms", read, static_cast<double>(nanoseconds) / 1e6);
    QCOMPARE(placed.remembered.IniChiffres, lengthRead);
    QVERIFY2(read < 2 * MaxSettingsFileBytes, qPrintable(QString::number(read)));  // and /proc

    // Root writes into any folder: the read-only folder is tried as user nobody.
    QString program = QCoreApplication::applicationFilePath();
    const bool asNobody = unprivileged && ::geteuid() == 0;
    if (asNobody) {
        QVERIFY(top.mkdir("bin"));
        QVERIFY(QFile::copy(program, top.filePath("bin/test")));
        program = top.filePath("bin/test");
    }
    const bool diskFull = setup == "disk full";
    QProcess close;
    close.setWorkingDirectory(work);
    close.setChildProcessModifier([asNobody, diskFull] {
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(125);
        }
        if (diskFull) {
            std::signal(SIGXFSZ, SIG_IGN);  // else the signal, not the close step, ends it
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &none);
        }
    });
    close.start(program, {QString::fromLatin1(CloseHere)});
    QVERIFY(close.waitForFinished(30000));
    if (unprivileged)
        QCOMPARE(::chmod(workName.constData(), 0755), 0);
    if (close.exitCode() == 125)
        QSKIP("cannot run as user nobody here, and root ignores a folder's permissions");

    const QByteArray console = close.readAllStandardError();
    QCOMPARE(close.exitStatus(), QProcess::NormalExit);
    QMap<QString, QByteArray> expected = before;
    if (savedInto.isEmpty()) {
        QCOMPARE(close.exitCode(), NotSavedStatus);
        QCOMPARE(console, "Kelo.ini: not saved: " + reason.toUtf8() + '\n');
    } else {
        QCOMPARE(close.exitCode(), 0);
        QCOMPARE(console, QByteArray());
        expected[savedInto] = "file " + NewLine;
    }
    QCOMPARE(snapshot(root.path()), expected);
}

int main(int argc, char* argv[]) {
    if (argc == 2 && std::string_view(argv[1]) == CloseHere)
        closeHere();
    QCoreApplication app(argc, argv);
    TestSettingsFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings_file.moc"
