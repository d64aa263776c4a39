#include "HeldEvent.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <QtGui/qpa/qwindowsysteminterface.h>

namespace HeldEvents {

namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

void TakeMouse(HeldEvent& held, const QMouseEvent& mouse) {
    held.local = mouse.position();
    held.global = mouse.globalPosition();
    held.buttons = mouse.buttons();
    held.button = mouse.button();
    held.modifiers = mouse.modifiers();
}

void TakeKey(HeldEvent& held, const QKeyEvent& key) {
    held.key = key.key();
    held.modifiers = key.modifiers();
    held.text = key.text();
    held.scanCode = key.nativeScanCode();
    held.virtualKey = key.nativeVirtualKey();
    held.nativeModifiers = key.nativeModifiers();
    held.autoRepeat = key.isAutoRepeat();
    held.count = static_cast<ushort>(key.count());
}

void TakeWheel(HeldEvent& held, const QWheelEvent& wheel) {
    held.local = wheel.position();
    held.global = wheel.globalPosition();
    held.pixelDelta = wheel.pixelDelta();
    held.angleDelta = wheel.angleDelta();
    held.modifiers = wheel.modifiers();
    held.phase = wheel.phase();
}

}  // namespace

bool IsUserInput(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::Close:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

std::optional<HeldEvent> Hold(QWindow* window, const QEvent* event) {
    HeldEvent held;
    held.window = window;
    held.type = event->type();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            held.timestamp = static_cast<const QInputEvent*>(event)->timestamp();
            TakeMouse(held, *static_cast<const QMouseEvent*>(event));
            return held;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            held.timestamp = static_cast<const QInputEvent*>(event)->timestamp();
            TakeKey(held, *static_cast<const QKeyEvent*>(event));
            return held;
        case QEvent::Wheel:
            held.timestamp = static_cast<const QInputEvent*>(event)->timestamp();
            TakeWheel(held, *static_cast<const QWheelEvent*>(event));
            return held;
        case QEvent::Enter: {
            const auto* enter = static_cast<const QEnterEvent*>(event);
            held.local = enter->position();
            held.global = enter->globalPosition();
            return held;
        }
        case QEvent::Leave:
        case QEvent::Close:
            return held;
        default:
            return std::nullopt;
    }
}

void GiveBack(const HeldEvent& held) {
    QWindow* window = held.window.data();
    if (window == nullptr) {
        return;
    }
    const auto when = static_cast<ulong>(held.timestamp);
    switch (held.type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            QWindowSystemInterface::handleMouseEvent<Queued>(window, when, held.local, held.global,
                                                             held.buttons, held.button, held.type,
                                                             held.modifiers);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // Queued as the window system's own (asynchronous unless told otherwise); its
            // shortcuts are looked for once it is delivered, not while it is queued.
            QWindowSystemInterface::handleExtendedKeyEvent(
                window, when, held.type, held.key, held.modifiers, held.scanCode, held.virtualKey,
                held.nativeModifiers, held.text, held.autoRepeat, held.count, false);
            break;
        case QEvent::Wheel:
            QWindowSystemInterface::handleWheelEvent(window, when, held.local, held.global,
                                                     held.pixelDelta, held.angleDelta,
                                                     held.modifiers, held.phase);
            break;
        case QEvent::Enter:
            QWindowSystemInterface::handleEnterEvent<Queued>(window, held.local, held.global);
            break;
        case QEvent::Leave:
            QWindowSystemInterface::handleLeaveEvent<Queued>(window);
            break;
        case QEvent::Close:
            QWindowSystemInterface::handleCloseEvent<Queued>(window);
            break;
        default:
            break;
    }
}

}  // namespace HeldEvents
