#pragma once

#include <QPointer>

class QEvent;
class QObject;

// A key event goes to the focused widget first and then, while ignored, to each of its
// parents; an event filter on several of them sees the same event again. This tells the
// first delivery of an event from its way up.
class CKeyDelivery {
public:
    bool IsFirst(QObject* receiver, const QEvent* event);

private:
    const QEvent* lastEvent = nullptr;
    QPointer<QObject> lastReceiver;
    int lastKey = 0;
    quint64 lastTimestamp = 0;
};
