// DestroyedClose: the X events, seen before Qt handles them, and the close they lead to.
#include "DestroyedClose.h"

#include <xcb/xproto.h>

#include <QCoreApplication>
#include <QWidget>

namespace kelo {

DestroyedClose::DestroyedClose(QWidget& window) : window_(&window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DestroyedClose::~DestroyedClose() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool DestroyedClose::nativeEventFilter(const QByteArray& eventType, void* message,
                                       qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t" || window_ == nullptr)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit tells an event another client sent.
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    if (window_->internalWinId() == 0 || destroyed->window != window_->internalWinId())
        return false;
    // Later, from the event loop: Qt is still handling this event.
    QMetaObject::invokeMethod(
        window_.data(),
        [window = window_] {
            if (window != nullptr)
                window->close();
        },
        Qt::QueuedConnection);
    return false;
}

}  // namespace kelo
