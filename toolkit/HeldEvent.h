#pragma once

#include <QEvent>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QWindow>
#include <optional>

// A user's input taken from a window before any widget saw it, with what the window system
// needs to queue it again as it came: the same window, positions, buttons, keys and times.
struct HeldEvent {
    QPointer<QWindow> window;
    QEvent::Type type = QEvent::None;
    quint64 timestamp = 0;
    QPointF local, global;
    Qt::MouseButtons buttons;
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers modifiers;
    int key = 0;
    QString text;
    quint32 scanCode = 0, virtualKey = 0, nativeModifiers = 0;
    bool autoRepeat = false;
    ushort count = 1;
    QPoint pixelDelta, angleDelta;
    Qt::ScrollPhase phase = Qt::NoScrollPhase;
};

namespace HeldEvents {

// Whether `event`, sent to a window, is the user's own input.
bool IsUserInput(const QEvent* event);
// What can be queued again of `event`; none for input that is only dropped (a double click,
// which the window system makes again from the two presses, touch and tablet input).
std::optional<HeldEvent> Hold(QWindow* window, const QEvent* event);
// Queues `held` behind what the window system has queued already; nothing runs before the
// next processing of events. A window closed meanwhile drops it.
void GiveBack(const HeldEvent& held);

}  // namespace HeldEvents
