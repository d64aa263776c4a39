#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

// One press, one exchange. A window's exchange waits with the user's input held, and that
// input is delivered once the exchange is over: a second press of the button that started it
// (a double click, an impatient click, Enter) would then start another exchange on the device
// still plugged in, programming it under the next ID. While an exchange runs, the controls
// that start one are shown unavailable, and what the user did meanwhile is delivered while the
// gate still counts the exchange as running: a press aimed at them is lost, everything else
// ("Retour", the close box, keys typed into a field) acts as it always did. Every way to start
// an exchange must pass through Run for the press to be lost.
class CExchangeGate {
public:
    // The controls that start an exchange, asked anew at each exchange (a page's controls
    // exist only once it was shown).
    explicit CExchangeGate(std::function<std::vector<QWidget*>()> starters);

    bool IsRunning() const { return running; }

    // Runs `command` unless one runs already, in which case the press is dropped.
    void Run(const std::function<void()>& command);

private:
    // The input the exchange held, delivered while Run still drops every press.
    static void DeliverHeldInput();

    std::function<std::vector<QWidget*>()> starters;
    bool running = false;
};
