// A polite end of the process (SIGTERM, as a session ending sends, SIGHUP, SIGINT and SIGQUIT, as
// Ctrl+C and Ctrl+\ send in a terminal) closes the window as the player would, so the close step
// keeps the settings.
#pragma once

#include <signal.h>

#include <QObject>
#include <QPointer>
#include <array>

class QSocketNotifier;
class QWidget;

namespace kelo {

// While it lives, the first SIGTERM, SIGHUP, SIGINT or SIGQUIT closes `window` from the event
// loop: its close step then requests the closing sound, stores the position, writes the settings,
// pauses and ends the process. A second signal cuts the pause short, never the save; a third ends
// the process at once, as the signal would have, for a close that never comes. One at a time per
// process; the destructor puts the previous handlers back.
class SignalClose final : public QObject {
  public:
    explicit SignalClose(QWidget& window);
    ~SignalClose() override;
    SignalClose(const SignalClose&) = delete;
    SignalClose& operator=(const SignalClose&) = delete;

  private:
    void closeWindow();

    QPointer<QWidget> window_;
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, 4> previous_{};
};

}  // namespace kelo
