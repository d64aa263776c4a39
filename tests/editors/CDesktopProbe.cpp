#include "CDesktopProbe.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kPingEvery{200};
constexpr milliseconds kGiveUp{3000};

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
    worker = std::thread([this] { Run(); });
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
