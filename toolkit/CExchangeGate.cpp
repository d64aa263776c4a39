#include "CExchangeGate.h"

#include <QCoreApplication>
#include <utility>

namespace {

struct Disabled {
    QPointer<QWidget> widget;
    bool wasEnabled;
    // Disabling the focused control moves the focus on; it comes back, so that keys held
    // during the exchange reach the control they were aimed at.
    bool hadFocus;
};

std::vector<Disabled> DisableAll(const std::vector<QWidget*>& widgets) {
    std::vector<Disabled> disabled;
    for (QWidget* widget : widgets) {
        if (widget != nullptr) {
            disabled.push_back(
                {widget, widget->isEnabled(), widget->window()->focusWidget() == widget});
            widget->setEnabled(false);
        }
    }
    return disabled;
}

void RestoreAll(const std::vector<Disabled>& disabled) {
    for (const Disabled& entry : disabled) {
        if (entry.widget == nullptr) {
            continue;
        }
        entry.widget->setEnabled(entry.wasEnabled);
        if (entry.hadFocus && entry.wasEnabled) {
            entry.widget->setFocus();
        }
    }
}

}  // namespace

CExchangeGate::CExchangeGate(std::function<std::vector<QWidget*>()> starters)
    : starters(std::move(starters)) {}

void CExchangeGate::Run(const std::function<void()>& command) {
    if (running) {
        return;
    }
    running = true;
    const std::vector<Disabled> disabled = DisableAll(starters());
    command();
    RestoreAll(disabled);
    DeliverHeldInput();
    running = false;
}

void CExchangeGate::DeliverHeldInput() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
