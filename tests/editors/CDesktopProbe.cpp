#include "CDesktopProbe.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kPingEvery{200};
constexpr milliseconds kGiveUp{3000};
constexpr int kReadGiveUpMs = 30000;
constexpr char kPython[] = "/usr/bin/python3";

// A screen reader's read, with nothing cached from an earlier one: every object's name and
// text, walking the application's tree from the desktop. Given a name as well, it presses the
// first control of that name it meets, as a user of the reader would, and says whether the control
// took the press. It waits for a line on its input, then prints how long the read took (ms) and one
// text a line.
constexpr char kReaderScript[] = R"(
import sys, time
import pyatspi
pid = int(sys.argv[1])
press = sys.argv[2] if len(sys.argv) > 2 else None
def walk(node, out):
    global press
    out.append(node.name or '')
    try:
        out.append(node.queryText().getText(0, -1))
    except Exception:
        pass
    if press is not None and node.name == press:
        try:
            done = node.queryAction().doAction(0)
        except Exception:
            done = False
        out.append(('pressed ' if done else 'refused ') + press)
        press = None
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, out)
sys.stdin.readline()
start = time.monotonic()
out = []
desktop = pyatspi.Registry.getDesktop(0)
for i in range(desktop.childCount):
    app = desktop.getChildAtIndex(i)
    if app is not None and app.get_process_id() == pid:
        walk(app, out)
took = time.monotonic() - start
sys.stdout.write('%d\n' % int(took * 1000) if out else '-1\n')
for text in out:
    sys.stdout.write(' '.join(text.split()) + '\n')
)";

}  // namespace

CDesktopProbe::CDesktopProbe() {
    conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn) != 0) {
        xcb_disconnect(conn);
        conn = nullptr;
        return;
    }
    root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    // Qt answers a ping on the root window with the structure-notify mask.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, root, XCB_CW_EVENT_MASK, &mask);
    protocols = Atom("WM_PROTOCOLS");
    ping = Atom("_NET_WM_PING");
    deleteWindow = Atom("WM_DELETE_WINDOW");
}

CDesktopProbe::~CDesktopProbe() {
    Stop();
    for (Reader& reader : readers) {
        close(reader.ask);
        close(reader.answer);
        if (reader.pid > 0) {
            kill(reader.pid, SIGTERM);
            waitpid(reader.pid, nullptr, 0);
        }
    }
    if (conn != nullptr) {
        xcb_disconnect(conn);
    }
}

uint32_t CDesktopProbe::Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        conn, xcb_intern_atom(conn, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply != nullptr ? reply->atom : 0;
    std::free(reply);
    return atom;
}

void CDesktopProbe::Start(uint32_t target, Action what, int after, int atX, int atY) {
    window = target;
    action = what;
    afterMs = after;
    x = atX;
    y = atY;
    stop = false;
    const auto start = Clock::now();
    worker = std::thread([this] { Run(); });
    for (size_t i = 0; i < readers.size(); ++i) {
        reading.emplace_back([this, i, start] { Read(i, start); });
    }
}

void CDesktopProbe::ReadAccessibleAt(pid_t app, const std::vector<int>& atMs) {
    for (const int at : atMs) {
        SpawnReader(app, at, "");
    }
}

void CDesktopProbe::PressAccessibleAt(pid_t app, int atMs, const std::string& name) {
    SpawnReader(app, atMs, name);
}

void CDesktopProbe::SpawnReader(pid_t app, int at, const std::string& press) {
    const std::string pid = std::to_string(app);
    int ask[2];
    int answer[2];
    if (pipe(ask) != 0 || pipe(answer) != 0) {
        return;
    }
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, ask[0], 0);
    posix_spawn_file_actions_adddup2(&files, answer[1], 1);
    posix_spawn_file_actions_addclose(&files, ask[1]);
    posix_spawn_file_actions_addclose(&files, answer[0]);
    // The system's own Python, which the distribution's accessibility module is built for.
    const char* argv[] = {
        kPython, "-c", kReaderScript, pid.c_str(), press.empty() ? nullptr : press.c_str(),
        nullptr};
    Reader reader;
    if (posix_spawn(&reader.pid, kPython, &files, nullptr, const_cast<char**>(argv), environ) !=
        0) {
        reader.pid = -1;
    }
    posix_spawn_file_actions_destroy(&files);
    close(ask[0]);
    close(answer[1]);
    reader.ask = ask[1];
    reader.answer = answer[0];
    readers.push_back(reader);
    reads.push_back({at, -1, {}, press});
}

void CDesktopProbe::Read(size_t index, Clock::time_point start) {
    struct Ended {
        std::atomic<int>& count;
        ~Ended() { ++count; }
    } ended{readsEnded};
    std::this_thread::sleep_until(start + milliseconds(reads[index].atMs));
    const Reader& reader = readers[index];
    if (write(reader.ask, "\n", 1) != 1) {
        return;
    }
    std::string said;
    const auto giveUp = Clock::now() + milliseconds(kReadGiveUpMs);
    for (char chunk[4096]; Clock::now() < giveUp;) {
        pollfd fd{reader.answer, POLLIN, 0};
        if (poll(&fd, 1, 100) <= 0) {
            continue;
        }
        const ssize_t n = read(reader.answer, chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        said.append(chunk, static_cast<size_t>(n));
    }
    std::istringstream lines(said);
    std::string line;
    if (!std::getline(lines, line)) {
        return;
    }
    reads[index].tookMs = std::atoi(line.c_str());
    while (std::getline(lines, line)) {
        reads[index].texts.push_back(line);
    }
}

void CDesktopProbe::Watch(int16_t x, int16_t y, uint16_t width, uint16_t height) {
    areaX = x;
    areaY = y;
    areaWidth = width;
    areaHeight = height;
}

std::vector<uint8_t> CDesktopProbe::Grab() {
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(conn,
                            xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, window, areaX, areaY,
                                          areaWidth, areaHeight, ~0u),
                            nullptr);
    std::vector<uint8_t> pixels;
    if (reply != nullptr) {
        const uint8_t* data = xcb_get_image_data(reply);
        pixels.assign(data, data + xcb_get_image_data_length(reply));
        std::free(reply);
    }
    return pixels;
}

void CDesktopProbe::Stop() {
    stop = true;
    if (worker.joinable()) {
        worker.join();
    }
}

void CDesktopProbe::JoinReads() {
    for (std::thread& read : reading) {
        read.join();
    }
    reading.clear();
}

void CDesktopProbe::Run() {
    const auto actAt = Clock::now() + milliseconds(afterMs);
    bool acted = false;
    std::vector<uint8_t> before;
    for (uint32_t serial = 1; !stop; ++serial) {
        const auto sent = Clock::now();
        // The reference is taken once the window has shown its progress text.
        if (serial == 2) {
            before = Grab();
            watchedHasContent = std::adjacent_find(before.begin(), before.end(),
                                                   std::not_equal_to<>()) != before.end();
        } else if (serial > 2 && Grab() == before) {
            ++redrawn;
        }
        xcb_clear_area(conn, 1, window, 0, 0, 0, 0);
        const bool answered = Ping(serial);
        // The test stopped the probe from the window's own thread, which cannot answer then.
        if (stop) {
            return;
        }
        slowest = std::max(slowest, std::chrono::duration_cast<milliseconds>(Clock::now() - sent));
        if (!answered) {
            return;
        }
        ++pings;
        if (!acted && Clock::now() >= actAt) {
            Act();
            acted = true;
        }
        std::this_thread::sleep_until(sent + kPingEvery);
    }
}

// True once the window answered, on the root window, the ping with this serial as time stamp.
bool CDesktopProbe::Ping(uint32_t serial) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = ping;
    message.data.data32[1] = serial;
    message.data.data32[2] = window;
    xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(conn);
    const auto giveUp = Clock::now() + kGiveUp;
    while (!stop && Clock::now() < giveUp) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(conn)) {
            const auto* reply = reinterpret_cast<xcb_client_message_event_t*>(event);
            const bool ours = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                              reply->data.data32[0] == ping && reply->data.data32[1] == serial;
            std::free(event);
            if (ours) {
                return true;
            }
        }
        pollfd fd{xcb_get_file_descriptor(conn), POLLIN, 0};
        poll(&fd, 1, 10);
    }
    return false;
}

void CDesktopProbe::Act() {
    if (action == Action::kClose) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = deleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
    } else if (action == Action::kEscape) {
        // Escape's key code in the virtual server's default keyboard map.
        constexpr uint8_t kEscapeKeyCode = 9;
        for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t key{};
            key.response_type = type;
            key.detail = kEscapeKeyCode;
            key.time = XCB_CURRENT_TIME;
            key.root = root;
            key.event = window;
            key.same_screen = 1;
            xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&key));
        }
    } else if (action == Action::kClick) {
        for (const uint8_t type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
            xcb_button_press_event_t button{};
            button.response_type = type;
            button.detail = 1;
            button.time = XCB_CURRENT_TIME;
            button.root = root;
            button.event = window;
            button.event_x = static_cast<int16_t>(x);
            button.event_y = static_cast<int16_t>(y);
            button.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
            button.same_screen = 1;
            xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&button));
        }
    }
    xcb_flush(conn);
}
