// The player's keys and mouse buttons on the entry box and the buttons, routed to the rules.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "FormBuilder.h"

namespace kelo {

class Game;
class SoundPlayer;

class FormInput final : public QObject {
  public:
    // Runs a player's action on the game and tells its outcome.
    using Act = std::function<void(const std::function<void()>&)>;

    // Watches the entry box and the buttons of `controls`, which outlive this.
    FormInput(QObject* parent, const Controls& controls, Game& game, SoundPlayer& sound, Act act);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The entry box's key, before the box inserts it: passed on as Text_KeyPress.
    bool routeEntryKey(QEvent* event);
    static bool buttonKey(QPushButton* button, QEvent* event);
    void buttonMouseSound(const QPushButton* button, QEvent* event);

    const Controls& controls_;
    const std::vector<QPushButton*> buttons_;
    Game& game_;
    SoundPlayer& sound_;
    Act act_;
};

}  // namespace kelo
