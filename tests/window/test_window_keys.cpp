// Alt and the top-row keys marked 3, 4 and 5 start games on US, French and German keyboards:
// real X key events under Xvfb, sent by the keys' places, whatever the layout types there.
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QtTest>

#include "WindowHarness.h"

namespace {

// Keycodes name keys by their place: the left Alt and Shift, and the top row's "3" key.
constexpr quint8 LeftAlt = 64;
constexpr quint8 LeftShift = 50;
constexpr quint8 TopRowThree = 12;

void pressTogether(const std::vector<quint8>& keys) {
    auto* x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    for (quint8 key : keys)
        xcb_test_fake_input(x, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        xcb_test_fake_input(x, XCB_KEY_RELEASE, *key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(x);
}

}  // namespace

class TestWindowKeys : public QObject {
    Q_OBJECT
  private slots:
    void altAndTopRowKey_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("shift");
        QTest::newRow("us") << "us" << false;
        QTest::newRow("fr: the keys type \" ' (") << "fr" << false;
        QTest::newRow("fr with Shift: the keys type 3 4 5") << "fr" << true;
        QTest::newRow("de") << "de" << false;
    }
    void altAndTopRowKey() {
        QFETCH(QString, layout);
        QFETCH(bool, shift);
        QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), {"-layout", layout}), 0);
        kelo::test::WindowHarness h;
        h.form.show();
        h.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form));
        for (int digits : {4, 5, 3}) {
            const int reseeds = h.random.reseeds;
            const auto key = static_cast<quint8>(TopRowThree + digits - 3);
            pressTogether(shift ? std::vector{LeftAlt, LeftShift, key} : std::vector{LeftAlt, key});
            QTRY_COMPARE(h.random.reseeds, reseeds + 1);
            QCOMPARE(h.state().NbChiffres, digits);
            QCOMPARE(h.text()->text(), QString());
        }
    }
};

QTEST_MAIN(TestWindowKeys)
#include "test_window_keys.moc"
