#include "CEventLoopWait.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "CDeadline.h"
#include "CFileDescriptor.h"
#include "CHeldInput.h"
#include "CSystemClock.h"
#include "IWaitService.h"

namespace {

constexpr int64_t kTickNs = 100'000'000;
constexpr int64_t kNsPerSecond = 1'000'000'000;
// User input is not left to the window system to hold: CHeldInput takes it at the window.
constexpr QEventLoop::ProcessEventsFlags kServed = QEventLoop::X11ExcludeTimers;

// Timers are held during the wait, so the wait's own time runs on a descriptor of the clock.
bool ArmAt(int timer, int64_t ns) {
    itimerspec at{};
    at.it_value.tv_sec = static_cast<time_t>(ns / kNsPerSecond);
    at.it_value.tv_nsec = static_cast<long>(ns % kNsPerSecond);
    return timerfd_settime(timer, TFD_TIMER_ABSTIME, &at, nullptr) == 0;
}

int ReadyNow(pollfd& port) {
    port.revents = 0;
    return port.fd < 0 ? 0 : ::poll(&port, 1, 0);
}

}  // namespace

int CEventLoopWait::Wait(pollfd& port, int64_t untilNs, const std::function<void()>& tick,
                         QWidget* cancelControl) {
    // A port that stays ready is served only every so often, and holds nothing in between.
    if (const int ready = ReadyNow(port);
        ready != 0 && CSystemClock::NowNs() - lastServedNs < kServeEveryNs) {
        return ready;
    }
    bool cancelled = false;
    QEventLoop* running = nullptr;
    int ready = 0;
    {
        // What the user asks for meanwhile goes back to the window system at the end of this
        // scope; an Escape found then still ends the wait.
        const CHeldInput input(cancelControl, [&] {
            cancelled = true;
            if (running != nullptr) {
                running->quit();
            }
        });
        ready = Serve(port, untilNs, tick, running);
    }
    if (cancelled) {
        errno = ECANCELED;
        return -1;
    }
    return ready;
}

int CEventLoopWait::Serve(pollfd& port, int64_t untilNs, const std::function<void()>& tick,
                          QEventLoop*& running) {
    if (const int ready = ReadyNow(port); ready != 0) {
        if (CSystemClock::NowNs() - lastServedNs >= kServeEveryNs) {
            tick();
            QCoreApplication::processEvents(kServed);
            lastServedNs = CSystemClock::NowNs();
        }
        return ready;
    }
    const CFileDescriptor timer(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
    if (!timer.IsValid()) {
        return IWaitService::Poll(port, CDeadline::AtNs(untilNs));
    }
    QEventLoop loop;
    std::optional<QSocketNotifier> portReady;
    if (port.fd >= 0) {
        portReady.emplace(
            port.fd, (port.events & POLLOUT) != 0 ? QSocketNotifier::Write : QSocketNotifier::Read);
        QObject::connect(&*portReady, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }
    QSocketNotifier clock(timer.Get(), QSocketNotifier::Read);
    const auto arm = [&] {
        return ArmAt(timer.Get(), std::min(untilNs, CSystemClock::NowNs() + kTickNs));
    };
    QObject::connect(&clock, &QSocketNotifier::activated, &loop, [&] {
        uint64_t expirations = 0;
        if (::read(timer.Get(), &expirations, sizeof expirations) < 0 && errno != EAGAIN) {
            loop.quit();
            return;
        }
        if (CSystemClock::NowNs() >= untilNs) {
            loop.quit();
            return;
        }
        tick();
        if (!arm()) {
            loop.quit();
        }
    });
    tick();
    if (!arm()) {
        return -1;
    }
    running = &loop;
    loop.exec(kServed);
    running = nullptr;
    lastServedNs = CSystemClock::NowNs();
    return ReadyNow(port);
}
