// The settings line: what the reader takes and refuses, and that every line written reads back.
#include <QtTest>
#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>

#include "SettingsOracle.h"
#include "SettingsText.h"

using namespace kelo;

namespace {

QByteArray bytes(const char* text, qsizetype size) {
    return QByteArray(text, size);
}

std::string_view view(const QByteArray& data) {
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

QString describe(const SettingsValues& read) {
    QStringList values;
    for (int k = 0; k < read.count; ++k) {
        values << QString::number(static_cast<double>(read.values[static_cast<std::size_t>(k)]),
                                  'g', 9);
    }
    return QStringLiteral("%1 value(s): %2").arg(read.count).arg(values.join(','));
}

std::uint64_t seedFromEnvironment() {
    const QByteArray given = qgetenv("KELO_SEED");
    if (!given.isEmpty())
        return given.toULongLong();
    return std::random_device{}();
}

}  // namespace

class TestSettingsText : public QObject {
    Q_OBJECT

  private slots:
    void reader_data();
    void reader();
    void writerValues_data();
    void writerValues();
    void exampleLineBytes();
    void randomFloatsRoundTrip();
    void corpusKeepsProperties_data();
    void corpusKeepsProperties();
};

void TestSettingsText::reader_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<float>>("expected");  // the values read before the reader stopped

    using V = QList<float>;
    QTest::newRow("example line") << QByteArray("600,900,3\r\n") << V{600, 900, 3};
    QTest::newRow("negative position, no line break")
        << QByteArray("-300,-200,4") << V{-300, -200, 4};
    QTest::newRow("blanks and tabs around values")
        << QByteArray("  600 ,\t900 , 3 \r\n") << V{600, 900, 3};
    QTest::newRow("LF as separator") << QByteArray("600\n900\n3\n") << V{600, 900, 3};
    QTest::newRow("CR alone as separator") << QByteArray("600\r900\r3") << V{600, 900, 3};
    QTest::newRow("CR LF as separator") << QByteArray("600\r\n900\r\n3\r\n") << V{600, 900, 3};
    QTest::newRow("trailing text on the next line")
        << QByteArray("600,900,3\r\nhello, world") << V{600, 900, 3};
    QTest::newRow("fourth value ignored") << QByteArray("600,900,3,junk") << V{600, 900, 3};
    QTest::newRow("fraction and exponents")
        << QByteArray("3.5,1e+07,-1.5e-3") << V{3.5F, 1e7F, -1.5e-3F};
    QTest::newRow("capital exponent, bare point") << QByteArray("1E3,.5,5.") << V{1000, 0.5F, 5};
    QTest::newRow("largest float")
        << QByteArray("3.4028235e+38,-3.4028235e+38,3") << V{FLT_MAX, -FLT_MAX, 3};
    QTest::newRow("smallest denormal")
        << QByteArray("1e-45,0,3") << V{std::numeric_limits<float>::denorm_min(), 0, 3};
    QTest::newRow("long run of zeros in a value")
        << QByteArray("600." + QByteArray(5000, '0') + ",900,3") << V{600, 900, 3};
    QTest::newRow("very long line of blanks before a value")
        << QByteArray(QByteArray(100000, ' ') + "600,900,3") << V{600, 900, 3};
    QTest::newRow("very long trailing text")
        << QByteArray("600,900,3," + QByteArray(100000, 'x')) << V{600, 900, 3};

    QTest::newRow("empty") << QByteArray() << V{};
    QTest::newRow("only blanks and a line break") << QByteArray("   \r\n") << V{};
    QTest::newRow("two values") << QByteArray("600,900") << V{600, 900};
    QTest::newRow("two values and a line break") << QByteArray("600,900\r\n") << V{600, 900};
    QTest::newRow("first value not a number") << QByteArray("abc,900,3") << V{};
    QTest::newRow("third value not a number") << QByteArray("600,900,abc") << V{600, 900};
    QTest::newRow("text after the third value on its line")
        << QByteArray("600,900,3 abc") << V{600, 900, 3};
    QTest::newRow("letters right after the first value") << QByteArray("600abc,900,3") << V{};
    QTest::newRow("blank inside a number") << QByteArray("6 00,900,3") << V{};
    QTest::newRow("empty value") << QByteArray("600,,3") << V{600};
    QTest::newRow("blank line between values") << QByteArray("600\r\n\r\n900,3") << V{600};
    QTest::newRow("semicolons are no separator") << QByteArray("600;900;3") << V{};
    QTest::newRow("decimal comma splits the value") << QByteArray("600,900,3,5") << V{600, 900, 3};
    QTest::newRow("plus sign refused") << QByteArray("+600,900,3") << V{};
    QTest::newRow("minus alone") << QByteArray("-,900,3") << V{};
    QTest::newRow("hex float refused") << QByteArray("0x1p3,900,3") << V{};
    QTest::newRow("inf refused") << QByteArray("inf,900,3") << V{};
    QTest::newRow("nan refused as third value") << QByteArray("600,900,nan") << V{600, 900};
    QTest::newRow("overflow refused") << QByteArray("1e39,900,3") << V{};
    QTest::newRow("overflow by a long number refused")
        << QByteArray("1" + QByteArray(400, '0') + ",900,3") << V{};
    QTest::newRow("underflow to zero refused") << QByteArray("600,1e-50,3") << V{600};
    QTest::newRow("UTF-8 byte order mark refused") << QByteArray(
                                                          "\xEF\xBB\xBF"
                                                          "600,900,3")
                                                   << V{};
    QTest::newRow("NUL byte inside a value: the values before it kept") << bytes(
                                                                               "600,9\0"
                                                                               "00,3\r\n",
                                                                               12)
                                                                        << V{600};
    QTest::newRow("NUL byte after a good line: ignored")
        << bytes("600,900,5\r\n\0", 12) << V{600, 900, 5};
    QTest::newRow("binary junk") << bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << V{};
}

void TestSettingsText::reader() {
    QFETCH(QByteArray, input);
    QFETCH(QList<float>, expected);

    const SettingsValues read = readSettingsValues(view(input));
    QCOMPARE(read.count, expected.size());
    for (int k = 0; k < read.count; ++k) {
        // Exact: a value must come back as the very float, not a near one.
        QVERIFY2(read.values[static_cast<std::size_t>(k)] == expected[k],
                 qPrintable(describe(read)));
    }
    QCOMPARE(readSettings(view(input)).has_value(), expected.size() == 3);
}

void TestSettingsText::writerValues_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0.0F << QByteArray("0");
    QTest::newRow("negative zero is written without its sign") << -0.0F << QByteArray("0");
    QTest::newRow("whole: no point") << 600.0F << QByteArray("600");
    QTest::newRow("negative whole") << -45.0F << QByteArray("-45");
    QTest::newRow("code length 3") << 3.0F << QByteArray("3");
    QTest::newRow("fraction uses a point") << 3.5F << QByteArray("3.5");
    QTest::newRow("third value 7") << 7.0F << QByteArray("7");
    QTest::newRow("fraction below 1 has a leading zero") << 0.1F << QByteArray("0.1");
    QTest::newRow("largest 7-digit whole value") << 9999999.0F << QByteArray("9999999");
    QTest::newRow("two million stays plain") << 2e6F << QByteArray("2000000");
    QTest::newRow("ten million takes an exponent") << 1e7F << QByteArray("1e+07");
    QTest::newRow("whole value past ten million, shorter plain")
        << 12345678.0F << QByteArray("12345678");
    QTest::newRow("small fraction stays plain") << 1e-4F << QByteArray("0.0001");
    QTest::newRow("smaller fraction takes an exponent") << 1.5e-5F << QByteArray("1.5e-05");
    QTest::newRow("largest float") << FLT_MAX << QByteArray("3.4028235e+38");
    QTest::newRow("lowest float") << -FLT_MAX << QByteArray("-3.4028235e+38");
    QTest::newRow("smallest normal float") << FLT_MIN << QByteArray("1.1754944e-38");
    QTest::newRow("smallest denormal")
        << std::numeric_limits<float>::denorm_min() << QByteArray("1e-45");
    QTest::newRow("needs 9 digits to come back") << 0.33333334F << QByteArray("0.33333334");
}

void TestSettingsText::writerValues() {
    QFETCH(float, value);
    QFETCH(QByteArray, text);

    const std::string line = writeSettings(value, value, value);
    const QByteArray once = text + ',';
    QCOMPARE(QByteArray::fromStdString(line), once + once + text + "\r\n");

    const std::optional<Settings> back = readSettings(line);
    QVERIFY(back.has_value());
    QVERIFY(fuzz::sameFloat(back->IniGauche, value));
    QVERIFY(fuzz::sameFloat(back->IniHaut, value));
    QVERIFY(fuzz::sameFloat(back->IniChiffres, value));
}

void TestSettingsText::exampleLineBytes() {
    const std::string line = writeSettings(600.0F, 900.0F, 3.0F);
    QCOMPARE(line.size(), std::size_t{11});
    QCOMPARE(QByteArray::fromStdString(line), QByteArray("600,900,3\x0d\x0a"));
}

namespace {

// What is wrong with the line written for a value, or the empty text.
std::string lineFault(float value) {
    const std::string line = writeSettings(value, 3.0F, value);
    if (std::string broke = fuzz::checkSettingsText(line); !broke.empty())
        return broke;
    const std::optional<Settings> back = readSettings(line);
    if (!back || !fuzz::sameFloat(back->IniGauche, value))
        return "does not read back: " + line;
    const float magnitude = std::fabs(value);
    if (magnitude >= 1e-4F && magnitude < 1e7F && line.find('e') != std::string::npos) {
        return "exponent where a plain decimal was due: " + line;
    }
    if (value == std::trunc(value) && magnitude < 1e7F) {
        const std::string whole = std::to_string(static_cast<long long>(value));
        if (line != whole + ",3," + whole + "\r\n")
            return "whole value not written as an integer: " + line;
    }
    return {};
}

}  // namespace

// Every finite float, drawn by its bit pattern, must come back exactly; one in four is made a
// whole value below ten million, like a window position.
void TestSettingsText::randomFloatsRoundTrip() {
    const std::uint64_t seed = seedFromEnvironment();
    std::mt19937_64 random(seed);

    for (int n = 0; n < 100000; ++n) {
        const auto bits = static_cast<std::uint32_t>(random());
        float value = 0.0F;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        if (n % 4 == 0)
            value = std::nearbyint(std::fmod(value, 1e7F));

        const std::string fault = lineFault(value);
        if (!fault.empty()) {
            QFAIL(qPrintable(QStringLiteral("%1 (value %2; replay with KELO_SEED=%3)")
                                 .arg(QString::fromStdString(fault))
                                 .arg(double(value), 0, 'g', 9)
                                 .arg(seed)));
        }
    }
}

void TestSettingsText::corpusKeepsProperties_data() {
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(KELO_SETTINGS_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 10, "the seed corpus is missing");
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

void TestSettingsText::corpusKeepsProperties() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    const std::string broke = fuzz::checkSettingsText(view(data));
    QVERIFY2(broke.empty(), broke.c_str());
}

QTEST_GUILESS_MAIN(TestSettingsText)
#include "test_settings_text.moc"
