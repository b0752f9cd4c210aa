// A real Form1 with recording sound and a fixed draw, driven through its QWindow like a player.
#pragma once

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <string>
#include <vector>

#include "Form1.h"
#include "Layout.h"
#include "RecordingSound.h"
#include "SequenceRandom.h"
#include "ValueLabel.h"

namespace kelo::test {

struct WindowHarness {
    RecordingSound sound;
    SequenceRandom random;
    Form1 form{sound, random};

    // Shows the window and waits for the activation that starts the first game.
    [[nodiscard]] bool start() {
        form.show();
        return QTest::qWaitForWindowExposed(&form) && QTest::qWaitForWindowActive(&form);
    }

    [[nodiscard]] const GameState& state() const { return form.game().state(); }
    [[nodiscard]] QWindow* window() const { return form.windowHandle(); }

    template <typename T = QWidget>
    [[nodiscard]] T* widget(const QString& name) const {
        auto* found = form.findChild<T*>(name, Qt::FindDirectChildrenOnly);
        if (found == nullptr)
            qFatal("no control named %s", qPrintable(name));
        return found;
    }
    [[nodiscard]] QPushButton* button(const QString& name) const {
        return widget<QPushButton>(name);
    }
    [[nodiscard]] QLineEdit* text() const { return widget<QLineEdit>(QStringLiteral("Text")); }
    [[nodiscard]] QString labelncoup() const {
        return widget<QLabel>(QStringLiteral("Labelncoup"))->text();
    }
    // The requested file names, in order, blank-separated.
    [[nodiscard]] QString sounds() const { return QString::fromStdString(sound.names()); }
    [[nodiscard]] QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus == nullptr ? QString() : focus->objectName();
    }

    [[nodiscard]] QPoint centreOf(const QWidget* w) const {
        return w->mapTo(&form, w->rect().center());
    }

    void click(const QString& buttonName, Qt::MouseButton mouseButton = Qt::LeftButton) {
        QTest::mouseClick(window(), mouseButton, {}, centreOf(button(buttonName)));
    }

    // Each character as the key that types it, to whichever control has the focus.
    void type(const QString& characters) {
        for (QChar c : characters) {
            const auto key =
                c == u' ' ? Qt::Key_Space : static_cast<Qt::Key>(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, window(), key, QString(c), Qt::NoModifier);
        }
    }
    void enter() { QTest::keyClick(window(), Qt::Key_Return); }
    void guess(const QString& characters) {
        type(characters);
        enter();
    }

    // Starts a game of n digits with the given code, by a click on its button.
    void newGame(int n, const std::vector<int>& code) {
        random.drawDigits(code);
        click(QStringLiteral("Command%1ch").arg(n));
    }

    [[nodiscard]] QString cellText(Column column, int row) const {
        return form.cell(column, row)->text();
    }
    // One board row as "A1|A2|A3|A4|A5|Bon|Mal".
    [[nodiscard]] QString row(int r) const {
        QStringList cells;
        for (int c = 0; c < ColumnCount; ++c)
            cells << cellText(static_cast<Column>(c), r);
        return cells.join(u'|');
    }

    [[nodiscard]] QImage grab() { return form.grab().toImage(); }
};

// The colour of a grabbed image at a point given in logical pixels, whatever the scale factor.
inline QColor pixelAt(const QImage& image, QPoint logical) {
    const qreal ratio = image.devicePixelRatio();
    return QColor::fromRgba(image.pixel(qRound(logical.x() * ratio), qRound(logical.y() * ratio)));
}

// Whether any pixel inside the logical rectangle has exactly this colour.
inline bool containsColour(const QImage& image, const QRect& logical, const QColor& colour) {
    const qreal ratio = image.devicePixelRatio();
    const QRect device(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
                       qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    for (int y = device.top(); y <= device.bottom(); ++y) {
        for (int x = device.left(); x <= device.right(); ++x) {
            if (image.pixel(x, y) == colour.rgba())
                return true;
        }
    }
    return false;
}

inline QColor toColor(const layout::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

}  // namespace kelo::test
