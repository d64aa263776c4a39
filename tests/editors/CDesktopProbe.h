#pragma once

#include <xcb/xcb.h>

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// What a desktop does to a window while the window's program is busy, on an X connection of
// its own: a window manager's ping every 200 ms (the answer is timed), an expose of the
// whole window with each ping (is the watched area drawn again by the next one?), once
// asked, one click or one close request, and a screen reader's reads of the window's whole
// accessibility tree at given times.
class CDesktopProbe {
public:
    // kEscape: the Escape key pressed and released on the window.
    enum class Action { kNone, kClick, kClose, kEscape };

    struct AccessibleRead {
        int atMs = 0;                    // asked for this long after Start
        int tookMs = -1;                 // as the reader timed it; -1: no answer
        std::vector<std::string> texts;  // every name and text it read, blanks collapsed
        std::string press;               // the control it was to press, or empty
    };

    CDesktopProbe();
    ~CDesktopProbe();

    bool Connected() const { return conn != nullptr; }
    // Starts pinging `window`; `action` goes out `afterMs` later, at (x, y) in the window.
    void Start(uint32_t window, Action action, int afterMs, int x, int y);
    // The area whose pixels must come back after each expose, in window coordinates.
    void Watch(int16_t x, int16_t y, uint16_t width, uint16_t height);
    void Stop();
    // Before Start: readers of the accessibility tree of process `app`, one per time in
    // `atMs` (after Start), started now so that their own start-up is not what is timed.
    void ReadAccessibleAt(pid_t app, const std::vector<int>& atMs);
    // The same read, pressing the control named `name` on its way ("pressed NAME" among its
    // texts once it did).
    void PressAccessibleAt(pid_t app, int atMs, const std::string& name);
    // How many reads have ended, answered or given up; a window that must answer them keeps
    // its event loop running until all have.
    int ReadsEnded() const { return readsEnded; }
    // Waits for the reads to end; their results are in Reads() after.
    void JoinReads();
    const std::vector<AccessibleRead>& Reads() const { return reads; }

    int Pings() const { return pings; }
    // The slowest answer, or the time waited for one that never came.
    std::chrono::milliseconds SlowestAnswer() const { return slowest; }
    // Exposes after which the watched area showed again what it showed before the first.
    int Redrawn() const { return redrawn; }
    // False when the watched area was one flat colour: nothing to tell a redraw by.
    bool WatchedHasContent() const { return watchedHasContent; }

private:
    struct Reader {
        pid_t pid = -1;
        int ask = -1;     // a line here starts the read
        int answer = -1;  // the read's time, then its texts, one a line
    };

    void Run();
    void SpawnReader(pid_t app, int atMs, const std::string& press);
    void Read(size_t index, std::chrono::steady_clock::time_point start);
    bool Ping(uint32_t serial);
    void Act();
    uint32_t Atom(const char* name);
    std::vector<uint8_t> Grab();

    xcb_connection_t* conn = nullptr;
    uint32_t root = 0;
    uint32_t window = 0;
    uint32_t protocols = 0;
    uint32_t ping = 0;
    uint32_t deleteWindow = 0;
    Action action = Action::kNone;
    int afterMs = 0;
    int x = 0;
    int y = 0;
    std::atomic<bool> stop{false};
    std::atomic<int> pings{0};
    std::atomic<int> redrawn{0};
    std::atomic<int> readsEnded{0};
    bool watchedHasContent = false;
    int16_t areaX = 0;
    int16_t areaY = 0;
    uint16_t areaWidth = 1;
    uint16_t areaHeight = 1;
    std::chrono::milliseconds slowest{0};
    std::thread worker;
    std::vector<Reader> readers;
    std::vector<AccessibleRead> reads;
    std::vector<std::thread> reading;
};
