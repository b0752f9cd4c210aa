// SignalClose: the signal handler only writes a byte to a socket pair, the one thing it can do
// safely; the event loop reads it and closes the window.
#include "SignalClose.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

#include "ExitPause.h"

namespace kelo {
namespace {

constexpr std::array<int, 4> Signals{SIGTERM, SIGHUP, SIGINT, SIGQUIT};

// [0] is written by the handler, [1] read by the event loop.
int wake[2] = {-1, -1};
volatile sig_atomic_t received = 0;

extern "C" void onSignal(int number) {
    received = received + 1;
    if (received == 2) {
        // The close already asked for is not to wait for the sound: it ends once it has saved.
        cutExitPauseShort();
        return;
    }
    if (received > 2) {
        // The close never came: end as the signal would have.
        ::signal(number, SIG_DFL);
        ::raise(number);
        return;
    }
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

SignalClose::SignalClose(QWidget& window) : window_(&window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wake) != 0)
        return;  // no polite end then; the signals keep their default action
    received = 0;
    notifier_ = new QSocketNotifier(wake[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalClose::closeWindow);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : Signals)
        sigaddset(&action.sa_mask, number);  // one handler at a time counts the signals
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < Signals.size(); ++k)
        ::sigaction(Signals.at(k), &action, &previous_.at(k));
}

SignalClose::~SignalClose() {
    if (notifier_ == nullptr)
        return;
    for (std::size_t k = 0; k < Signals.size(); ++k)
        ::sigaction(Signals.at(k), &previous_.at(k), nullptr);
    delete notifier_;
    for (int& fd : wake) {
        ::close(fd);
        fd = -1;
    }
    received = 0;
}

void SignalClose::closeWindow() {
    char byte = 0;
    while (::read(wake[1], &byte, 1) > 0) {
    }
    // The same way as the close box, so the close step is the window's own.
    if (window_ != nullptr)
        window_->close();
}

}  // namespace kelo
