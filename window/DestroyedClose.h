// A window destroyed by another program (`xdotool windowclose`, a window manager gone wrong) is
// closed as the player would close it, so the close step keeps the settings and ends the process,
// which would otherwise run on with no window.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>

class QWidget;

namespace kelo {

// While it lives, the X server's word that `window` is destroyed closes it from the event loop.
// Nothing happens on other platforms.
class DestroyedClose final : public QAbstractNativeEventFilter {
  public:
    explicit DestroyedClose(QWidget& window);
    ~DestroyedClose() override;
    DestroyedClose(const DestroyedClose&) = delete;
    DestroyedClose& operator=(const DestroyedClose&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QPointer<QWidget> window_;
};

}  // namespace kelo
