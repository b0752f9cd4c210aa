// The four tests that keep the window on the screen, and the centred fallback.
#include <QtTest>

#include "Placement.h"

using namespace kelo;

namespace {
// A 1920 x 1080 screen and a 400 x 300 window, in twips.
constexpr TwipsSize Screen{28800.0F, 16200.0F};
constexpr TwipsSize Window{6000.0F, 4500.0F};
}  // namespace

Q_DECLARE_METATYPE(kelo::TwipsPoint)
Q_DECLARE_METATYPE(kelo::TwipsSize)

class TestPlacement : public QObject {
    Q_OBJECT

  private slots:
    void keepOnScreen_data();
    void keepOnScreen();
    void centred_data();
    void centred();
};

void TestPlacement::keepOnScreen_data() {
    QTest::addColumn<TwipsPoint>("position");
    QTest::addColumn<TwipsSize>("window");
    QTest::addColumn<TwipsSize>("screen");
    QTest::addColumn<TwipsPoint>("kept");

    QTest::newRow("inside: unchanged")
        << TwipsPoint{600, 900} << Window << Screen << TwipsPoint{600, 900};
    QTest::newRow("negative left and top go to 0")
        << TwipsPoint{-300, -200} << Window << Screen << TwipsPoint{0, 0};
    QTest::newRow("only the left edge negative")
        << TwipsPoint{-15, 900} << Window << Screen << TwipsPoint{0, 900};
    QTest::newRow("beyond right and bottom: edges on the screen's")
        << TwipsPoint{30000, 20000} << Window << Screen << TwipsPoint{22800, 11700};
    QTest::newRow("exactly on the right and bottom edges: unchanged")
        << TwipsPoint{22800, 11700} << Window << Screen << TwipsPoint{22800, 11700};
    QTest::newRow("one twip beyond the right edge")
        << TwipsPoint{22801, 0} << Window << Screen << TwipsPoint{22800, 0};
    QTest::newRow("exactly at the top-left corner: unchanged")
        << TwipsPoint{0, 0} << Window << Screen << TwipsPoint{0, 0};
    // The right-edge test comes after the left-edge one, so its result stands, negative.
    QTest::newRow("wider and taller than the screen, from negative")
        << TwipsPoint{-300, -200} << TwipsSize{30000, 20000} << Screen << TwipsPoint{-1200, -3800};
    QTest::newRow("wider and taller than the screen, from inside")
        << TwipsPoint{600, 900} << TwipsSize{30000, 20000} << Screen << TwipsPoint{-1200, -3800};
    QTest::newRow("exactly the screen's size at 0: unchanged")
        << TwipsPoint{0, 0} << Screen << Screen << TwipsPoint{0, 0};
    // 16777216 + 1 is 16777216 in single precision, so the sum does not pass the edge.
    QTest::newRow("sum formed in single precision")
        << TwipsPoint{1, 0} << TwipsSize{16777216, 4500} << TwipsSize{16777216, 16200}
        << TwipsPoint{1, 0};
}

void TestPlacement::keepOnScreen() {
    QFETCH(TwipsPoint, position);
    QFETCH(TwipsSize, window);
    QFETCH(TwipsSize, screen);
    QFETCH(TwipsPoint, kept);

    const TwipsPoint at = kelo::keepOnScreen(position, window, screen);
    QVERIFY2(at == kept,
             qPrintable(QStringLiteral("%1, %2").arg(double(at.left)).arg(double(at.top))));
}

void TestPlacement::centred_data() {
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");

    QTest::newRow("smaller than the screen")
        << Window.width << Window.height << 11400.0F << 5850.0F;
    QTest::newRow("odd sizes keep their halves") << 6015.0F << 4515.0F << 11392.5F << 5842.5F;
    QTest::newRow("larger than the screen: not clamped")
        << 30000.0F << 20000.0F << -600.0F << -1900.0F;
}

void TestPlacement::centred() {
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(float, left);
    QFETCH(float, top);

    const TwipsPoint at = centredOnScreen({width, height}, Screen);
    QVERIFY2(at.left == left && at.top == top,
             qPrintable(QStringLiteral("%1, %2").arg(double(at.left)).arg(double(at.top))));
}

QTEST_GUILESS_MAIN(TestPlacement)
#include "test_placement.moc"
