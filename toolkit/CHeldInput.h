#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "HeldEvent.h"

// The user's input held while a window waits and serves the window system, then handed back
// to the window system's queue in its order, so that it is delivered afterwards exactly as
// input held in the window system would be (to the window, or not at all behind a modal box).
// It is taken at the window, before any widget or shortcut sees it. Escape, or a press of the
// wait's own control, ends the wait instead.
class CHeldInput : public QObject {
public:
    // `cancelControl` may be null; `cancel` runs once when the user ends the wait.
    CHeldInput(QWidget* cancelControl, std::function<void()> cancel);
    // Hands back what was held.
    ~CHeldInput() override;

    bool Cancelled() const { return cancelled; }
    // For a press that reaches the control without passing the window (accessibility).
    void Cancel();

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool EndsWait(const QWindow* window, const QEvent* event) const;
    bool EndsWaitsRelease(const QEvent* event);

    QPointer<QWidget> cancelControl;
    std::function<void()> cancel;
    std::vector<HeldEvent> held;
    bool cancelled = false;
    QEvent::Type releaseToDrop = QEvent::None;
};
