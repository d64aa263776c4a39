#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "CDeadline.h"
#include "CSystemClock.h"
#include "IWaitService.h"

namespace {

using std::chrono::milliseconds;

void LetSignalInterrupt(int) {}

// The wait with nothing else to serve.
class CPlainService final : public IWaitService {
public:
    int Wait(pollfd& port, const CDeadline& until) override { return Poll(port, until); }
};

TEST(SystemClock, TicksFollowTheSteadyClock) {
    CSystemClock& clock = CSystemClock::Instance();
    const auto start = std::chrono::steady_clock::now();
    const uint32_t before = clock.TickMs();
    CPlainService plain;
    EXPECT_EQ(clock.Pause(120, plain), 0);
    const uint32_t ticked = clock.TickMs() - before;
    const auto measured =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(ticked, 119u);
    EXPECT_GE(measured, milliseconds(120));
    EXPECT_LE(ticked, static_cast<uint32_t>(measured.count()) + 1);
}

// Hands every wait back early, as a service woken by its own duties may.
class CEarlyService final : public IWaitService {
public:
    int Wait(pollfd& port, const CDeadline& until) override {
        ++waits;
        sawDescriptor = sawDescriptor || port.fd >= 0;
        return Poll(port, CDeadline::Earlier(until, CDeadline(30)));
    }
    int waits = 0;
    bool sawDescriptor = false;
};

TEST(SystemClock, PauseIsTheServiceWaitForTimeAloneAndEndsOnTime) {
    CEarlyService service;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CSystemClock::Instance().Pause(250, service), 0);
    const auto measured =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(measured, milliseconds(250));
    EXPECT_LT(measured, milliseconds(250 + 200));
    EXPECT_GE(service.waits, 8);
    EXPECT_FALSE(service.sawDescriptor);
}

TEST(SystemClock, SignalsNeitherCutNorStretchTheSleep) {
    struct sigaction quiet {};
    quiet.sa_handler = LetSignalInterrupt;
    sigemptyset(&quiet.sa_mask);
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &quiet, &previous), 0);

    std::atomic<bool> done{false};
    milliseconds slept{0};
    std::thread sleeper([&] {
        const auto start = std::chrono::steady_clock::now();
        CPlainService plain;
        CSystemClock::Instance().Pause(400, plain);
        slept = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
        done = true;
    });
    // Bounded, so that a wait that restarts on every signal shows as too long, not as a hang.
    const auto stormEnd = std::chrono::steady_clock::now() + milliseconds(3000);
    unsigned sent = 0;
    while (!done && std::chrono::steady_clock::now() < stormEnd) {
        pthread_kill(sleeper.native_handle(), SIGUSR1);
        ++sent;
        std::this_thread::sleep_for(milliseconds(3));
    }
    sleeper.join();
    sigaction(SIGUSR1, &previous, nullptr);

    EXPECT_GT(sent, 20u);
    EXPECT_GE(slept, milliseconds(400));
    EXPECT_LT(slept, milliseconds(400 + 1500));
}

}  // namespace
