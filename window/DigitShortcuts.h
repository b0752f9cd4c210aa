// Alt and a digit start a game of that length on every keyboard layout, AZERTY included.
#pragma once

#include <QObject>
#include <vector>

class QKeyEvent;
class QPushButton;
class QWidget;

namespace kelo {

// Qt matches a shortcut by the character its key types. Without Shift, the top-row keys of an
// AZERTY keyboard type "&", "é", """, "'", "(" rather than digits, so Alt and the key marked 3
// would type a quote into the entry box. Here Alt and a digit act by the key's place in the top
// row as well as by the digit typed (with Shift, on the keypad, or on any other layout).
class DigitShortcuts final : public QObject {
  public:
    // Alt and `digit` click `button`.
    struct Row {
        int digit;
        QPushButton* button;
    };

    // For the buttons of `window`.
    DigitShortcuts(QWidget& window, std::vector<Row> rows);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] QPushButton* buttonFor(const QKeyEvent& key) const;

    QWidget& window_;
    std::vector<Row> rows_;
    // Whether native scan codes are the keyboard's XKB keycodes, which name a key by its place.
    bool xkbKeycodes_;
};

}  // namespace kelo
