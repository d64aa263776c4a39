#include "CHeldInput.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <utility>

#include <QtGui/qpa/qwindowsysteminterface.h>

CHeldInput::CHeldInput(QWidget* cancelControl, std::function<void()> cancel)
    : cancelControl(cancelControl), cancel(std::move(cancel)) {
    if (auto* button = qobject_cast<QAbstractButton*>(cancelControl)) {
        connect(button, &QAbstractButton::clicked, this, &CHeldInput::Cancel);
    }
    QCoreApplication::instance()->installEventFilter(this);
}

CHeldInput::~CHeldInput() {
    // Input the window system queued since the last processing is held too, so that nothing
    // queued afterwards can come before it.
    QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(this);
    for (const HeldEvent& event : held) {
        HeldEvents::GiveBack(event);
    }
}

void CHeldInput::Cancel() {
    if (cancelled) {
        return;
    }
    cancelled = true;
    if (cancel) {
        cancel();
    }
}

bool CHeldInput::eventFilter(QObject* receiver, QEvent* event) {
    // A key held from the widgets must start no shortcut either, wherever the shortcut map
    // asks first.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    auto* window = qobject_cast<QWindow*>(receiver);
    if (window == nullptr) {
        return false;
    }
    if (!HeldEvents::IsUserInput(event)) {
        return false;
    }
    if (EndsWait(window, event)) {
        releaseToDrop =
            event->type() == QEvent::KeyPress ? QEvent::KeyRelease : QEvent::MouseButtonRelease;
        Cancel();
        return true;
    }
    if (EndsWaitsRelease(event)) {
        return true;
    }
    if (std::optional<HeldEvent> taken = HeldEvents::Hold(window, event)) {
        held.push_back(std::move(*taken));
    }
    return true;
}

bool CHeldInput::EndsWait(const QWindow* window, const QEvent* event) const {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
    }
    if (event->type() != QEvent::MouseButtonPress || cancelControl == nullptr ||
        !cancelControl->isVisible() || !cancelControl->isEnabled() ||
        cancelControl->window()->windowHandle() != window) {
        return false;
    }
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const QPoint at = cancelControl->mapFromGlobal(mouse->globalPosition().toPoint());
    return mouse->button() == Qt::LeftButton && cancelControl->rect().contains(at);
}

bool CHeldInput::EndsWaitsRelease(const QEvent* event) {
    if (releaseToDrop == QEvent::None || event->type() != releaseToDrop) {
        return false;
    }
    const bool escape = releaseToDrop != QEvent::KeyRelease ||
                        static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape) {
        releaseToDrop = QEvent::None;
    }
    return escape;
}
