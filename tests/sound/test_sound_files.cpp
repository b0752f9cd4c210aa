// Checks the synthesised sounds: valid 16-bit PCM, their lengths, levels, sizes and that the
// generator writes the same bytes at every run.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString SoundsDir = QStringLiteral(KELO_SOUNDS_DIR);
const QString DefaultSoundFile = QStringLiteral(KELO_DEFAULT_SOUND);

struct Wav {
    QString error;  // empty when the file is a well-formed WAV
    quint16 format = 0, channels = 0, blockAlign = 0, bits = 0;
    quint32 rate = 0, byteRate = 0;
    qint64 fileSize = 0;
    std::vector<qint16> samples;

    [[nodiscard]] double seconds() const { return rate == 0 ? 0.0 : double(samples.size()) / rate; }
};

// Reads the RIFF chunks by hand rather than with Qt's decoder, so the check does not share its
// faults.
Wav readWav(const QString& path) {
    Wav wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        wav.error = QStringLiteral("cannot open");
        return wav;
    }
    const QByteArray bytes = file.readAll();
    wav.fileSize = bytes.size();
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        wav.error = QStringLiteral("no RIFF/WAVE header");
        return wav;
    }
    if (u32(4) != quint32(bytes.size() - 8)) {
        wav.error =
            QStringLiteral("RIFF size %1 for a file of %2 bytes").arg(u32(4)).arg(bytes.size());
        return wav;
    }
    bool haveFormat = false, haveData = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (body + size > bytes.size()) {
            wav.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return wav;
        }
        if (id == "fmt " && size >= 16) {
            wav.format = u16(body);
            wav.channels = u16(body + 2);
            wav.rate = u32(body + 4);
            wav.byteRate = u32(body + 8);
            wav.blockAlign = u16(body + 12);
            wav.bits = u16(body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (size % 2 != 0) {
                wav.error = QStringLiteral("odd data size");
                return wav;
            }
            wav.samples.resize(std::size_t(size / 2));
            for (qsizetype i = 0; i < size / 2; ++i)
                wav.samples[std::size_t(i)] = qint16(u16(body + 2 * i));
            haveData = true;
        }
        at = body + size + (size % 2);
    }
    if (!haveFormat || !haveData)
        wav.error = QStringLiteral("fmt or data chunk missing");
    return wav;
}

// The loudest 50 ms stretch's RMS level in dB below full scale; a shorter sound counts as
// followed by silence, so a short click is not rated as loud as a long tone of the same peak.
double loudnessDb(const Wav& wav) {
    const std::size_t window = wav.rate / 20;
    double energy = 0.0, best = 0.0;
    for (std::size_t i = 0; i < wav.samples.size(); ++i) {
        const double v = wav.samples[i] / 32768.0;
        energy += v * v;
        if (i >= window) {
            const double old = wav.samples[i - window] / 32768.0;
            energy -= old * old;
        }
        best = std::max(best, energy);
    }
    return 10.0 * std::log10(best / double(window));
}

int peakOf(const Wav& wav) {
    int peak = 0;
    for (qint16 s : wav.samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

struct Expected {
    const char* file;
    double minSeconds, maxSeconds;
};

// Every sound short, the win allowed up to a second; the minimum catches a sound cut off or empty.
const Expected Sounds[] = {
    {"Kelo1.wav", 0.02, 0.5},  // click down
    {"Kelo2.wav", 0.02, 0.5},  // click up
    {"Kelo3.wav", 0.05, 0.5},  // guess taken
    {"Kelo4.wav", 0.30, 1.0},  // game won
    {"Kelo5.wav", 0.15, 0.5},  // code revealed
    {"Kelo6.wav", 0.15, 0.5},  // closing
    {"default", 0.05, 0.5},    // built-in stand-in
};

QString pathOf(const char* file) {
    return qstrcmp(file, "default") == 0 ? DefaultSoundFile
                                         : SoundsDir + u'/' + QLatin1String(file);
}

}  // namespace

class SoundFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void eachSound_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("minSeconds");
        QTest::addColumn<double>("maxSeconds");
        for (const Expected& e : Sounds)
            QTest::newRow(e.file) << pathOf(e.file) << e.minSeconds << e.maxSeconds;
    }

    void eachSound() {
        QFETCH(QString, path);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        const Wav wav = readWav(path);
        QVERIFY2(wav.error.isEmpty(), qPrintable(wav.error));

        QCOMPARE(wav.format, quint16(1));
        QCOMPARE(wav.bits, quint16(16));
        QCOMPARE(wav.channels, quint16(1));
        QVERIFY2(wav.rate == 44100 || wav.rate == 22050, qPrintable(QString::number(wav.rate)));
        QCOMPARE(wav.blockAlign, quint16(2));
        QCOMPARE(wav.byteRate, wav.rate * 2);

        QVERIFY2(wav.seconds() >= minSeconds && wav.seconds() < maxSeconds,
                 qPrintable(QString::number(wav.seconds())));
        QVERIFY2(wav.fileSize < 100 * 1024, qPrintable(QString::number(wav.fileSize)));

        const int peak = peakOf(wav);
        QVERIFY2(peak < 32767 * 95 / 100,
                 qPrintable(QStringLiteral("peak %1 is at full scale").arg(peak)));
        QVERIFY2(peak > 32767 / 10,
                 qPrintable(QStringLiteral("peak %1: next to silent").arg(peak)));
        // A sound that starts or stops away from zero is heard as a click of its own.
        QVERIFY2(std::abs(int(wav.samples.front())) < 330,
                 qPrintable(QString::number(wav.samples.front())));
        QVERIFY2(std::abs(int(wav.samples.back())) < 330,
                 qPrintable(QString::number(wav.samples.back())));
    }

    void allAsLoudAsEachOther() {
        std::vector<double> levels;
        for (const Expected& e : Sounds) {
            const Wav wav = readWav(pathOf(e.file));
            QVERIFY2(wav.error.isEmpty(), e.file);
            levels.push_back(loudnessDb(wav));
            qDebug("%-10s loudest 50 ms: %6.2f dBFS RMS, peak %6.2f dBFS", e.file, levels.back(),
                   20.0 * std::log10(peakOf(wav) / 32768.0));
        }
        const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
        QVERIFY2(*high - *low < 1.0,
                 qPrintable(QStringLiteral("levels spread over %1 dB").arg(*high - *low)));
    }

    void generatorWritesTheSameBytesEveryTime() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess generator;
        generator.start(QStringLiteral(KELO_MAKE_SOUNDS),
                        {dir.path(), dir.filePath(QStringLiteral("default.wav"))});
        QVERIFY(generator.waitForFinished(60000));
        QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
        QCOMPARE(generator.exitCode(), 0);
        for (const Expected& e : Sounds) {
            const QString name = qstrcmp(e.file, "default") == 0 ? QStringLiteral("default.wav")
                                                                 : QLatin1String(e.file);
            QFile fresh(dir.filePath(name)), built(pathOf(e.file));
            QVERIFY(fresh.open(QIODevice::ReadOnly));
            QVERIFY(built.open(QIODevice::ReadOnly));
            QVERIFY2(fresh.readAll() == built.readAll(), e.file);
        }
    }
};

QTEST_GUILESS_MAIN(SoundFilesTest)
#include "test_sound_files.moc"
