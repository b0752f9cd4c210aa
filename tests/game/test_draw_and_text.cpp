// The code draw (values in [0, 1), truncated) and how entry text splits into characters.
#include <QtTest>

#include "RandomSource.h"
#include "Rules.h"
#include "RulesTable.h"

using namespace kelo;
using kelo::test::RulesTable;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)

class TestDrawAndText : public QObject {
    Q_OBJECT
  private slots:
    void drawTruncatesSingleTimesTen_data();
    void drawTruncatesSingleTimesTen();
    void drawTakesOneValuePerPositionInOrder();
    void clockGeneratorStaysBelowOne();
    void clockGeneratorIsReseededEachGame();
    void splitCharacters_data();
    void splitCharacters();
    void digitValues_data();
    void digitValues();
};

void TestDrawAndText::drawTruncatesSingleTimesTen_data() {
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("digit");
    QTest::newRow("zero") << 0.0F << 0;
    QTest::newRow("0.99 gives 9, not 10") << 0.99F << 9;
    QTest::newRow("largest float below 1 gives 9") << std::nextafter(1.0F, 0.0F) << 9;
    QTest::newRow("single 0.1 lies just above 0.1") << 0.1F << 1;
    QTest::newRow("single 0.7 lies just below 0.7") << 0.7F << 6;
    QTest::newRow("0.55") << 0.55F << 5;
}

void TestDrawAndText::drawTruncatesSingleTimesTen() {
    QFETCH(float, r);
    QFETCH(int, digit);
    RulesTable t;
    t.random.values = {r};
    t.game.CommandCh_Click(3);
    for (std::size_t k = 0; k < 3; ++k)
        QCOMPARE(t.s().Code[k], digit);
    QCOMPARE(t.s().Copie, t.s().Code);
}

void TestDrawAndText::drawTakesOneValuePerPositionInOrder() {
    RulesTable t;
    t.random.drawDigits({0, 0, 7, 2, 9});
    t.game.CommandCh_Click(5);
    QCOMPARE(t.s().Code, (std::array<Integer, 5>{0, 0, 7, 2, 9}));
    QCOMPARE(t.random.nextIndex, 5U);
}

void TestDrawAndText::clockGeneratorStaysBelowOne() {
    ClockRandom random;
    random.reseedFromClock();
    float largest = 0.0F;
    for (int i = 0; i < 2000000; ++i) {
        const float r = random.next();
        QVERIFY(r >= 0.0F && r < 1.0F);
        largest = std::max(largest, r);
    }
    QVERIFY(largest > 0.999F);  // the whole range is reached, so a 9 can be drawn
}

void TestDrawAndText::clockGeneratorIsReseededEachGame() {
    // Two reseeds a few microseconds apart must not replay the same sequence.
    ClockRandom random;
    random.reseedFromClock();
    std::vector<float> first;
    for (int i = 0; i < 8; ++i)
        first.push_back(random.next());
    QTest::qSleep(2);
    random.reseedFromClock();
    std::vector<float> second;
    for (int i = 0; i < 8; ++i)
        second.push_back(random.next());
    QVERIFY(first != second);
}

void TestDrawAndText::splitCharacters_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::vector<std::string>>("characters");
    QTest::newRow("ascii") << std::string("1a ") << std::vector<std::string>{"1", "a", " "};
    QTest::newRow("accented letter is one") << std::string(
                                                   "\xC3\xA9"
                                                   "1")
                                            << std::vector<std::string>{"\xC3\xA9", "1"};
    QTest::newRow("euro sign, three bytes")
        << std::string("\xE2\x82\xAC") << std::vector<std::string>{"\xE2\x82\xAC"};
    QTest::newRow("emoji outside the BMP")
        << std::string("\xF0\x9F\x8E\xB2") << std::vector<std::string>{"\xF0\x9F\x8E\xB2"};
    QTest::newRow("stray byte becomes U+FFFD")
        << std::string("\xFF") << std::vector<std::string>{"\xEF\xBF\xBD"};
    QTest::newRow("cut sequence, byte by byte")
        << std::string("\xE2\x82") << std::vector<std::string>{"\xEF\xBF\xBD", "\xEF\xBF\xBD"};
    QTest::newRow("overlong slash is not a slash")
        << std::string("\xC0\xAF") << std::vector<std::string>{"\xEF\xBF\xBD", "\xEF\xBF\xBD"};
    QTest::newRow("encoded surrogate is refused")
        << std::string("\xED\xA0\x80") << std::vector<std::string>(3, "\xEF\xBF\xBD");
    QTest::newRow("NUL is a character") << std::string(
                                               "1\0"
                                               "2",
                                               3)
                                        << std::vector<std::string>{"1", std::string(1, '\0'), "2"};
}

void TestDrawAndText::splitCharacters() {
    QFETCH(std::string, text);
    QFETCH(std::vector<std::string>, characters);
    QCOMPARE(kelo::splitCharacters(text), characters);
    // The bounded count agrees with the split wherever it stops.
    for (std::size_t limit = 0; limit <= characters.size() + 1; ++limit)
        QCOMPARE(kelo::countCharacters(text, limit), std::min(limit, characters.size()));
}

void TestDrawAndText::digitValues_data() {
    QTest::addColumn<std::string>("character");
    QTest::addColumn<int>("value");
    QTest::newRow("0") << std::string("0") << 0;
    QTest::newRow("9") << std::string("9") << 9;
    QTest::newRow("letter") << std::string("a") << 0;
    QTest::newRow("blank") << std::string(" ") << 0;
    QTest::newRow("minus") << std::string("-") << 0;
    QTest::newRow("fullwidth three") << std::string("\xEF\xBC\x93") << 0;
    QTest::newRow("arabic-indic three") << std::string("\xD9\xA3") << 0;
}

void TestDrawAndText::digitValues() {
    QFETCH(std::string, character);
    QFETCH(int, value);
    QCOMPARE(digitValue(character), value);
}

QTEST_APPLESS_MAIN(TestDrawAndText)
#include "test_draw_and_text.moc"
