// Enter and the typed characters of the entry box, Enter on a button, and the buttons' mouse
// sounds.
#include "FormInput.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <cstdint>
#include <utility>

#include "Game.h"
#include "Sounds.h"

namespace kelo {
namespace {

constexpr std::int16_t KeyEnter = 13;

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

FormInput::FormInput(QObject* parent, const Controls& controls, Game& game, SoundPlayer& sound,
                     Act act)
    : QObject(parent),
      controls_(controls),
      buttons_(buttons(controls)),
      game_(game),
      sound_(sound),
      act_(std::move(act)) {
    for (QPushButton* button : buttons_)
        button->installEventFilter(this);
    controls_.Text->installEventFilter(this);
}

bool FormInput::eventFilter(QObject* watched, QEvent* event) {
    // The keypad without Alt is the screen reader's review (keypad 9 and 3 are Page Up and Page
    // Down with NumLock off). A shortcut would take the key before the screen reader hears it;
    // claimed here, the key goes on as a plain key press, which the screen reader is asked about
    // first.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers().testFlag(Qt::KeypadModifier) &&
            !key->modifiers().testFlag(Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    if (watched == controls_.Text)
        return routeEntryKey(event);
    for (QPushButton* button : buttons_) {
        if (watched != button)
            continue;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            return buttonKey(button, event);
        buttonMouseSound(button, event);
        return false;
    }
    return QObject::eventFilter(watched, event);
}

bool FormInput::routeEntryKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = isEnter(key);
    const QString text = key->text();
    // Keys that type nothing (arrows, Shift, F1...) never reach the rules.
    if (!enter && text.isEmpty())
        return false;
    auto typed = enter ? KeyEnter : static_cast<std::int16_t>(text.front().unicode());
    if (enter) {
        act_([this, &typed] { game_.Text_KeyPress(typed); });
    } else {
        game_.Text_KeyPress(typed);
    }
    return typed == 0;
}

// Enter acts on the focused button as Space does. Only on a fresh press: the release of the Enter
// that ended a turn, or its auto-repeat, reaches the button that the turn gave the focus to, and
// must not start a game there.
bool FormInput::buttonKey(QPushButton* button, QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isEnter(key))
        return false;
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
        button->click();
    return true;
}

// The sound follows the mouse button whichever it is, so it is taken here before QPushButton,
// which only answers the left button. The release comes to the pressed button wherever the
// pointer is, because the window grabs the mouse for it until the button goes up.
void FormInput::buttonMouseSound(const QPushButton* button, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            Tic(sound_, game_.state().SonFlags);
            break;
        case QEvent::MouseButtonRelease:
            if (button != controls_.Commandv)
                Toc(sound_, game_.state().SonFlags);
            break;
        default:
            break;
    }
}

}  // namespace kelo
