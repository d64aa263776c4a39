#include "CKeyDelivery.h"

#include <QKeyEvent>
#include <QObject>

namespace {

bool IsAncestor(const QObject* ancestor, const QObject* object) {
    for (const QObject* parent = object ? object->parent() : nullptr; parent != nullptr;
         parent = parent->parent()) {
        if (parent == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool CKeyDelivery::IsFirst(QObject* receiver, const QEvent* event) {
    const auto* key = dynamic_cast<const QKeyEvent*>(event);
    const int code = key ? key->key() : 0;
    const quint64 timestamp = key ? key->timestamp() : 0;
    // The same event object on its way up: same address, same key, a parent of the last
    // receiver. A new event that happens to reuse the address goes to a fresh receiver.
    const bool propagated = event == lastEvent && code == lastKey && timestamp == lastTimestamp &&
                            IsAncestor(receiver, lastReceiver);
    lastEvent = event;
    lastReceiver = receiver;
    lastKey = code;
    lastTimestamp = timestamp;
    return !propagated;
}
