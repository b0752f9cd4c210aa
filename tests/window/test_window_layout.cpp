// The built window against its layout: geometry, fonts, colours, borders, stacking and tab order.
#include <QFontInfo>
#include <QFrame>
#include <QStyleOption>
#include <QtTest>
#include <climits>

#include "AppInfo.h"
#include "WindowHarness.h"

using namespace kelo;
using kelo::test::containsColour;
using kelo::test::pixelAt;
using kelo::test::toColor;
using kelo::test::WindowHarness;

namespace {

const QColor Background(1, 0, 66);
const QColor Maroon(128, 0, 0);
const QColor Yellow(255, 255, 0);

QRect pixels(const layout::Twips& t) {
    return {t.left / 15, t.top / 15, t.width / 15, t.height / 15};
}

// Front of the stack is the end of the parent's child list.
int stackIndex(const QWidget& form, const QString& name) {
    const auto* child = form.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    return child == nullptr ? -1 : static_cast<int>(form.children().indexOf(child));
}

void checkFont(const QWidget* w, const layout::FontStyle& style) {
    QCOMPARE(w->font().family(), QStringLiteral("MS Sans Serif"));
    // In the pixels the points make at 96 DPI, the resolution of the layout's own pixels.
    QCOMPARE(w->font().pixelSize(), qRound(style.points * 96 / 72));
    QCOMPARE(w->font().weight(), style.bold ? QFont::Bold : QFont::Normal);
    QVERIFY(!w->font().italic());
    QVERIFY(!w->font().underline());
    QVERIFY(!w->font().strikeOut());
    // The face actually drawn is the requested one where installed, else its sans-serif stand-in.
    const QString drawn = QFontInfo(w->font()).family();
    const QString standIn = style.standIn.empty() ? QStringLiteral("Liberation Sans")
                                                  : QString::fromUtf8(style.standIn.data());
    QVERIFY2(drawn == QLatin1String("MS Sans Serif") || drawn == standIn, qPrintable(drawn));
}

bool sunkenPanel(const QFrame* frame) {
    return frame->frameShape() == QFrame::Panel && frame->frameShadow() == QFrame::Sunken &&
           frame->lineWidth() == 1;
}

}  // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
  private slots:
    void scaleFactorIsInEffect();
    void form();
    void applicationInfoAndIcon();
    void sampleControls_data();
    void sampleControls();
    void everyControlFollowsItsRow();
    void everyCellFollowsItsColumn();
    void everyFrameFollowsItsRow();
    void onlyButtonsAndTextTakeFocus();
    void stacking_data();
    void stacking();
    void framesDrawnOverTitle();
    void tabOrderCycles_data();
    void tabOrderCycles();
    void cellsAreFindableByColumn();
    void everyTextFitsItsControl_data();
    void everyTextFitsItsControl();
    void titleHeadsTheScoreColumns();
    void edgesKeepTheirContrast_data();
    void edgesKeepTheirContrast();
};

// Run a second time with QT_SCALE_FACTOR=2: every check below then holds at twice the pixels.
void TestWindowLayout::scaleFactorIsInEffect() {
    WindowHarness h;
    QVERIFY(h.start());
    const qreal expected = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                               ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                               : 1.0;
    QCOMPARE(h.form.devicePixelRatioF(), expected);
    const QImage image = h.grab();
    QCOMPARE(image.size(), QSize(qRound(262 * expected), qRound(382 * expected)));
    QCOMPARE(h.window()->geometry().size(), QSize(262, 382));
    // Run again at other font resolutions, without Qt's scaling, for the texts to fit as they are.
    if (qEnvironmentVariableIsSet("QT_FONT_DPI"))
        QCOMPARE(h.form.logicalDpiY(), qEnvironmentVariableIntValue("QT_FONT_DPI"));
}

void TestWindowLayout::form() {
    WindowHarness h;
    QCOMPARE(h.form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(h.form.windowTitle(), QStringLiteral("       Zandor Chiffres"));
    QCOMPARE(h.form.size(), QSize(262, 382));
    QCOMPARE(h.form.minimumSize(), QSize(262, 382));
    QCOMPARE(h.form.maximumSize(), QSize(262, 382));
    QCOMPARE(h.form.palette().color(QPalette::Window), Background);
    QVERIFY(h.form.autoFillBackground());
    // The icon waits until the first game is on the screen.
    QSignalSpy shown(&h.form, &Form1::firstGameShown);
    QVERIFY(h.start());
    QTRY_COMPARE(shown.count(), 1);
    QVERIFY(!h.form.windowIcon().isNull());
}

void TestWindowLayout::applicationInfoAndIcon() {
    app::applyApplicationInfo();
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("2.00.0001"));
    QVERIFY(QGuiApplication::applicationDisplayName() == QCoreApplication::applicationName());
    QCOMPARE(QString::fromUtf8(app::Description), QStringLiteral("Zandor \u00e0 Chiffres"));

    // Three question marks, blue, green and red from left to right, on a transparent ground.
    const QImage icon = QApplication::windowIcon()
                            .pixmap(QSize(32, 32), 1.0)
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(icon.pixelColor(31, 31).alpha(), 0);
    const QColor thirds[] = {QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 0)};
    for (int third = 0; third < 3; ++third) {
        int count = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor c = icon.pixelColor(x, y);
                if (c.alpha() == 0)
                    continue;
                // Every drawn pixel is one of the three pure colours, in its own third.
                const int owner = x * 3 / 32;
                QCOMPARE(c, thirds[owner]);
                if (owner == third)
                    ++count;
            }
        }
        QVERIFY2(count > 30,
                 qPrintable(QStringLiteral("third %1 has %2 pixels").arg(third).arg(count)));
    }
}

// Hand-written expectations for a few controls, independent of the tables.
void TestWindowLayout::sampleControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("background");  // invalid: the platform's button colours
    QTest::addColumn<QColor>("text");
    QTest::addColumn<int>("alignment");  // horizontal alignment, 0 for buttons
    QTest::addColumn<bool>("border");

    const int left = Qt::AlignLeft;
    const int centre = Qt::AlignHCenter;
    QTest::newRow("Command3ch") << "Command3ch" << QRect(212, 16, 33, 57) << 9.75 << true
                                << QColor() << QColor() << 0 << false;
    QTest::newRow("Commandv") << "Commandv" << QRect(212, 208, 33, 53) << 9.75 << true << QColor()
                              << QColor() << 0 << false;
    QTest::newRow("Commandplus") << "Commandplus" << QRect(212, 320, 33, 45) << 18.0 << false
                                 << QColor() << QColor() << 0 << false;
    QTest::newRow("Text") << "Text" << QRect(48, 336, 57, 29) << 12.0 << true << Maroon << Yellow
                          << centre << true;
    QTest::newRow("Labeltitre") << "Labeltitre" << QRect(20, 12, 173, 21) << 13.5 << true
                                << QColor() << QColor() << left << false;
    QTest::newRow("Labelncoup") << "Labelncoup" << QRect(152, 340, 29, 21) << 12.0 << true
                                << QColor(0, 0, 128) << QColor(0, 255, 255) << centre << true;
    QTest::newRow("A1 row 0") << "A1_0" << QRect(20, 36, 21, 33) << 18.0 << true << Maroon << Yellow
                              << centre << true;
    QTest::newRow("A5 row 7") << "A5_7" << QRect(116, 288, 21, 33) << 18.0 << true << Maroon
                              << Yellow << centre << true;
    QTest::newRow("Bon row 3, left-aligned")
        << "Bon_3" << QRect(144, 144, 21, 33) << 18.0 << true << QColor(0, 128, 0)
        << QColor(0, 255, 0) << left << true;
    QTest::newRow("Mal row 7") << "Mal_7" << QRect(168, 288, 21, 33) << 18.0 << true
                               << QColor(128, 0, 128) << QColor(255, 192, 255) << centre << true;
}

void TestWindowLayout::sampleControls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QFETCH(int, alignment);
    QFETCH(bool, border);

    WindowHarness h;
    QWidget* w = h.widget(name);
    QCOMPARE(w->geometry(), geometry);
    checkFont(w, {points, bold, name == QLatin1String("Labeltitre") ? "DejaVu Sans" : ""});
    QVERIFY(!w->isHidden());

    if (auto* label = qobject_cast<QLabel*>(w)) {
        QVERIFY(label->autoFillBackground());
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QCOMPARE(sunkenPanel(label), border);
        if (!border)
            QCOMPARE(label->frameShape(), QFrame::NoFrame);
        const QColor bg = label->palette().color(label->backgroundRole());
        const QColor fg = label->palette().color(label->foregroundRole());
        QCOMPARE(bg, background.isValid() ? background
                                          : QApplication::palette().color(QPalette::Button));
        QCOMPARE(fg, text.isValid() ? text : QApplication::palette().color(QPalette::ButtonText));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QCOMPARE(int(edit->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QCOMPARE(edit->hasFrame(), border);
        QCOMPARE(edit->palette().color(QPalette::Base), background);
        QCOMPARE(edit->palette().color(QPalette::Text), text);
        QCOMPARE(edit->maxLength(), INT_MAX);
        QVERIFY(edit->validator() == nullptr);
        QVERIFY(edit->inputMask().isEmpty());
    } else {
        auto* button = qobject_cast<QPushButton*>(w);
        QVERIFY(button != nullptr);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QCOMPARE(button->palette().color(QPalette::Button),
                 QApplication::palette().color(QPalette::Button));
        QCOMPARE(button->palette().color(QPalette::ButtonText),
                 QApplication::palette().color(QPalette::ButtonText));
    }
}

void TestWindowLayout::everyControlFollowsItsRow() {
    WindowHarness h;
    for (const auto& control : layout::Controls) {
        const QString name = QString::fromUtf8(control.name.data(), qsizetype(control.name.size()));
        QWidget* w = h.widget(name);
        QCOMPARE(w->geometry(), pixels(control.geometry));
        checkFont(w, control.font);
        QVERIFY2(!w->isHidden() && w->isEnabled(), qPrintable(name));
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->text(),
                     QString::fromUtf8(control.caption.data(), qsizetype(control.caption.size())));
            QCOMPARE(sunkenPanel(label), control.border);
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QCOMPARE(button->text(),
                     QString::fromUtf8(control.caption.data(), qsizetype(control.caption.size())));
        }
    }
    QCOMPARE(h.widget<QLabel>("Labeltitre")->text().size(), 20);
}

void TestWindowLayout::everyCellFollowsItsColumn() {
    WindowHarness h;
    for (const auto& column : layout::CellColumns) {
        for (int row = 0; row < BoardRows; ++row) {
            ValueLabel* cell = h.form.cell(column.column, row);
            QCOMPARE(cell->objectName(),
                     QStringLiteral("%1_%2").arg(QLatin1String(column.name)).arg(row));
            QCOMPARE(cell->geometry(), QRect(column.left / 15, 36 + 36 * row, 21, 33));
            checkFont(cell, {18, true});
            QVERIFY(sunkenPanel(cell));
            QVERIFY(cell->autoFillBackground());
            QVERIFY(!cell->isHidden());
            QVERIFY(cell->text().isEmpty());
            QCOMPARE(cell->palette().color(QPalette::Window), toColor(column.colours.background));
            QCOMPARE(cell->palette().color(QPalette::WindowText), toColor(column.colours.text));
            const auto horizontal = cell->alignment() & Qt::AlignHorizontal_Mask;
            QCOMPARE(horizontal, column.column == Column::Bon ? Qt::AlignLeft : Qt::AlignHCenter);
        }
    }
}

// The frames are painted, not child widgets, so a screen reader does not list them; each shows its
// sunken border (dark top, light bottom) where no control stands in front of it.
void TestWindowLayout::everyFrameFollowsItsRow() {
    WindowHarness h;
    QVERIFY(h.start());
    const QImage image = h.grab();
    const QColor shadow = QColor::fromRgba(h.form.palette().color(QPalette::Dark).rgba());
    const QColor light = QColor::fromRgba(h.form.palette().color(QPalette::Light).rgba());
    QSet<QString> names;
    for (const auto& frameRow : layout::Frames) {
        const QString name = QLatin1String(frameRow.name);
        names.insert(name);
        QVERIFY(h.form.findChild<QWidget*>(name) == nullptr);
        const QRect r = pixels(frameRow.geometry);
        QCOMPARE(pixelAt(image, {r.left() + 1, r.top()}), shadow);
        QCOMPARE(pixelAt(image, {r.left() + 1, r.bottom()}), light);
    }
    // Image1 .. Image25 without Image23.
    QCOMPARE(names.size(), 24);
    for (int i = 1; i <= 25; ++i)
        QCOMPARE(names.contains(QStringLiteral("Image%1").arg(i)), i != 23);
}

void TestWindowLayout::onlyButtonsAndTextTakeFocus() {
    WindowHarness h;
    int takers = 0;
    const auto children = h.form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    // The controls, the cells and the announcer's invisible label.
    QCOMPARE(children.size(), 9 + 7 * 8 + 1);
    for (QWidget* w : children) {
        const bool focusable = qobject_cast<QPushButton*>(w) != nullptr || w == h.text();
        QCOMPARE(w->focusPolicy() == Qt::NoFocus, !focusable);
        takers += focusable ? 1 : 0;
    }
    QCOMPARE(takers, 7);
}

// Pairs that must be stacked with the first in front of the second.
void TestWindowLayout::stacking_data() {
    QTest::addColumn<QString>("front");
    QTest::addColumn<QString>("back");
    QTest::newRow("cells over the counter") << "A1_0"
                                            << "Labelncoup";
    QTest::newRow("counter over the title") << "Labelncoup"
                                            << "Labeltitre";
}

void TestWindowLayout::stacking() {
    QFETCH(QString, front);
    QFETCH(QString, back);
    WindowHarness h;
    const int f = stackIndex(h.form, front);
    const int b = stackIndex(h.form, back);
    QVERIFY(f >= 0 && b >= 0);
    QVERIFY2(f > b,
             qPrintable(QStringLiteral("%1 at %2, %3 at %4").arg(front).arg(f).arg(back).arg(b)));
}

// In a grab, the title line, the two small title frames and their bars show their border over the
// title label.
void TestWindowLayout::framesDrawnOverTitle() {
    WindowHarness h;
    QVERIFY(h.start());
    const QImage image = h.grab();
    auto* title = h.widget<QLabel>("Labeltitre");
    const QColor titleFill =
        QColor::fromRgba(title->palette().color(title->backgroundRole()).rgba());
    const QColor shadow = QColor::fromRgba(h.form.palette().color(QPalette::Dark).rgba());
    const QColor light = QColor::fromRgba(h.form.palette().color(QPalette::Light).rgba());
    QVERIFY(shadow != titleFill);
    // Image21 is 16,16 25x13: its top line runs through the title's area.
    QCOMPARE(pixelAt(image, {30, 16}), shadow);
    QCOMPARE(pixelAt(image, {30, 28}), light);
    // Image11, the title line, is 12,12 185x21: its top line runs over the whole title.
    QCOMPARE(pixelAt(image, {100, 12}), shadow);
    // Image24 is 20,20 17x5, Image25 120,20 17x5: bars inside the frames, also over the title.
    QCOMPARE(pixelAt(image, {28, 20}), shadow);
    QCOMPARE(pixelAt(image, {128, 20}), shadow);
    // Between the frames the title's own face shows; the frames' insides are transparent.
    QCOMPARE(pixelAt(image, {42, 14}), titleFill);
    QCOMPARE(pixelAt(image, {38, 18}), titleFill);
}

void TestWindowLayout::tabOrderCycles_data() {
    QTest::addColumn<bool>("backwards");
    QTest::newRow("Tab") << false;
    QTest::newRow("Shift+Tab") << true;
}

void TestWindowLayout::tabOrderCycles() {
    QFETCH(bool, backwards);
    WindowHarness h;
    QVERIFY(h.start());
    QStringList order{"Command3ch",   "Command4ch",  "Command5ch", "Commandv",
                      "Commandmoins", "Commandplus", "Text"};
    if (backwards)
        std::reverse(order.begin(), order.end());
    h.widget(order.front())->setFocus();
    QTRY_COMPARE(h.focusName(), order.front());
    for (int step = 1; step <= order.size(); ++step) {
        if (backwards) {
            QTest::keyClick(h.window(), Qt::Key_Backtab, Qt::ShiftModifier);
        } else {
            QTest::keyClick(h.window(), Qt::Key_Tab);
        }
        QCOMPARE(h.focusName(), order.at(step % order.size()));
    }
}

void TestWindowLayout::cellsAreFindableByColumn() {
    WindowHarness h;
    for (const auto& column : layout::CellColumns) {
        const QString name = QLatin1String(column.name);
        const auto cells = h.form.findChildren<ValueLabel*>(
            QRegularExpression(QStringLiteral("^%1_\\d$").arg(name)), Qt::FindDirectChildrenOnly);
        QCOMPARE(cells.size(), BoardRows);
        for (ValueLabel* cell : cells) {
            QCOMPARE(cell->property("column").toString(), name);
            const int row = cell->property("row").toInt();
            QCOMPARE(h.form.cell(column.column, row), cell);
        }
    }
}

// Where the control draws its text, in its own coordinates.
QRect textArea(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // As QLineEdit lays out its line: the style's contents rectangle, less 2 and 1 pixels
        // of margin, and room for the cursor after the text.
        QStyleOptionFrame panel;
        panel.initFrom(edit);
        panel.rect = edit->rect();
        panel.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, edit);
        panel.state |= QStyle::State_Sunken;
        const QRect r = edit->style()->subElementRect(QStyle::SE_LineEditContents, &panel, edit);
        const int cursor = edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, edit);
        return r.marginsRemoved(edit->textMargins()).adjusted(2, 1, -3 - cursor, -1);
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    return qobject_cast<QLabel*>(w)->contentsRect();
}

// Every text that the game ever shows in each control, and the widest guess in the entry box.
void TestWindowLayout::everyTextFitsItsControl_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("texts");
    QStringList digits;
    QStringList guesses{"Bien!", "Code!"};
    for (char d = '0'; d <= '9'; ++d) {
        digits << QString(QChar(d));
        guesses << QString(5, QChar(d));
    }
    QStringList counts;
    for (int n = 0; n <= MaxGuesses; ++n)
        counts << QString::number(n);
    for (const auto& control : layout::Controls) {
        if (std::holds_alternative<ControlMember<QPushButton>>(control.member) ||
            control.name == "Labeltitre")
            QTest::newRow(control.name.data())
                << QString::fromUtf8(control.name.data())
                << QStringList{QString::fromUtf8(control.caption.data())};
    }
    QTest::newRow("Text") << "Text" << guesses;
    QTest::newRow("Labelncoup") << "Labelncoup" << counts;
    QTest::newRow("digit cell") << "A1_0" << digits;
    QTest::newRow("Bon cell, left-aligned") << "Bon_7" << (digits.mid(0, 6) << "o");
    QTest::newRow("Mal cell") << "Mal_7" << (digits.mid(0, 6) << "h");
}

void TestWindowLayout::everyTextFitsItsControl() {
    QFETCH(QString, control);
    QFETCH(QStringList, texts);
    WindowHarness h;
    QVERIFY(h.start());
    QWidget* w = h.widget(control);
    const QRect area = textArea(w);
    const QFontMetricsF metrics(w->font(), w);
    for (const QString& text : texts) {
        const QRectF ink = metrics.tightBoundingRect(text);
        const qreal width = std::max(metrics.horizontalAdvance(text), ink.right());
        QVERIFY2(qCeil(width) <= area.width() && qCeil(metrics.height()) <= area.height(),
                 qPrintable(QStringLiteral("\"%1\" is %2 x %3 in %4 x %5")
                                .arg(text)
                                .arg(width)
                                .arg(metrics.height())
                                .arg(area.width())
                                .arg(area.height())));
    }
}

// The "B" and "M" of the title stand over the columns Bon and Mal that they head.
void TestWindowLayout::titleHeadsTheScoreColumns() {
    WindowHarness h;
    QVERIFY(h.start());
    auto* title = h.widget<QLabel>("Labeltitre");
    const QFontMetricsF metrics(title->font(), title);
    const QString caption = title->text();
    for (const auto& [letter, column] :
         {std::pair{u'B', Column::Bon}, std::pair{u'M', Column::Mal}}) {
        const QString before = caption.left(caption.indexOf(letter));
        const qreal centre = title->geometry().left() + title->contentsRect().left() +
                             metrics.horizontalAdvance(before) +
                             metrics.horizontalAdvance(QString(letter)) / 2;
        const QRect cell = h.form.cell(column, 0)->geometry();
        QVERIFY2(centre > cell.left() && centre < cell.right(),
                 qPrintable(QStringLiteral("%1 at %2, its column from %3 to %4")
                                .arg(QChar(letter))
                                .arg(centre)
                                .arg(cell.left())
                                .arg(cell.right())));
    }
}

// Contrast of two colours as WCAG measures it, from 1:1 (none) to 21:1 (black on white).
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Edges against the dark blue ground next to them.
void TestWindowLayout::edgesKeepTheirContrast_data() {
    QTest::addColumn<QPoint>("edge");
    QTest::addColumn<QPoint>("ground");
    QTest::newRow("outer frame, top") << QPoint(100, 0) << QPoint(100, 1);
    QTest::newRow("cell A2 row 0, left") << QPoint(44, 50) << QPoint(43, 50);
    QTest::newRow("button 3, left") << QPoint(212, 44) << QPoint(211, 44);
}

// A dark desktop palette leaves every edge as clear as the default palette does.
void TestWindowLayout::edgesKeepTheirContrast() {
    QFETCH(QPoint, edge);
    QFETCH(QPoint, ground);
    const auto contrastUnder = [&](const QPalette& desktop) {
        const QPalette saved = QApplication::palette();
        QApplication::setPalette(desktop);
        WindowHarness h;
        const bool started = h.start();
        const QImage image = h.grab();
        QApplication::setPalette(saved);
        return started ? contrast(pixelAt(image, edge), pixelAt(image, ground)) : 0.0;
    };
    const double usual = contrastUnder(QApplication::palette());
    const double dark = contrastUnder(QPalette(QColor(0x30, 0x2f, 0x2e)));
    qInfo("%.2f:1 with the default palette, %.2f:1 with a dark one", usual, dark);
    QVERIFY(usual >= 3);
    QVERIFY(dark >= usual);
}

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
