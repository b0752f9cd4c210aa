// Starts programs on an X server and times their window, their memory and their close, from
// outside, as a player's desktop sees them. Prints one line of figures.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Layout.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A pixel of the window that only shows the awaited colour once the program is ready.
struct Probe {
    int x;
    int y;
    std::uint32_t rgb;
};

// For the game, the middle of column A1's first cell, which turns to the window's background when
// the first 3-digit game hides that column.
constexpr Probe gameProbe() {
    using namespace kelo::layout;
    const Twips cell = cellGeometry(CellColumns[0], 0);
    const Rgb rgb = Form.background;
    return {(cell.left + cell.width / 2) / TwipsPerPixel,
            (cell.top + cell.height / 2) / TwipsPerPixel,
            static_cast<std::uint32_t>(rgb.red << 16 | rgb.green << 8 | rgb.blue)};
}

struct Program {
    std::string name;
    std::string path;
    Probe probe;
};

struct Run {
    double startMs = 0;
    double closeMs = 0;
    long maxRssKb = 0;
};

// The program being timed, if any: a failed wait must not leave it running behind the bench.
pid_t running = -1;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "bench_launch: %s\n", what.c_str());
    if (running > 0) {
        kill(running, SIGKILL);
        waitpid(running, nullptr, 0);
    }
    std::exit(1);
}

class Display {
  public:
    Display() {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_) != 0)
            fail("no X display");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        wmProtocols_ = atom("WM_PROTOCOLS");
        wmDelete_ = atom("WM_DELETE_WINDOW");
        netWmPid_ = atom("_NET_WM_PID");
        loadKeyboard();
    }
    ~Display() { xcb_disconnect(c_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The top-level window that process `pid` maps, as soon as it is mapped.
    xcb_window_t waitForMap(pid_t pid, Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            xcb_generic_event_t* event = xcb_poll_for_event(c_);
            if (event == nullptr) {
                pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
                poll(&fd, 1, 2);
                continue;
            }
            xcb_window_t mapped = XCB_NONE;
            if ((event->response_type & 0x7FU) == XCB_MAP_NOTIFY) {
                mapped = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            }
            std::free(event);
            if (mapped != XCB_NONE && pidOf(mapped) == static_cast<std::uint32_t>(pid))
                return mapped;
        }
        fail("no window mapped in time");
    }

    // What a window manager does on map: give the new window the focus, which activates it.
    void focus(xcb_window_t window) {
        xcb_set_input_focus(c_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        xcb_flush(c_);
    }

    void waitForPixel(xcb_window_t window, const Probe& probe, Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            auto* image =
                xcb_get_image_reply(c_,
                                    xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                                  static_cast<std::int16_t>(probe.x),
                                                  static_cast<std::int16_t>(probe.y), 1, 1, ~0U),
                                    nullptr);
            if (image != nullptr) {
                const std::uint8_t* p = xcb_get_image_data(image);
                const std::uint32_t rgb = (static_cast<std::uint32_t>(p[2]) << 16U) |
                                          (static_cast<std::uint32_t>(p[1]) << 8U) | p[0];
                std::free(image);
                if (rgb == probe.rgb)
                    return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        fail("the window never showed its ready pixel");
    }

    void type(const std::string& text) {
        for (char ch : text)
            key(ch == '\n' ? 0xFF0DU : static_cast<std::uint32_t>(ch));
        xcb_flush(c_);
    }

    void close(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = wmProtocols_;
        message.data.data32[0] = wmDelete_;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
    }

  private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        if (reply == nullptr)
            fail(std::string("no atom ") + name);
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }

    std::uint32_t pidOf(xcb_window_t window) {
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, window, netWmPid_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        std::uint32_t pid = 0;
        if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
            std::memcpy(&pid, xcb_get_property_value(reply), 4);
        }
        std::free(reply);
        return pid;
    }

    void loadKeyboard() {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        auto* reply = xcb_get_keyboard_mapping_reply(
            c_, xcb_get_keyboard_mapping(c_, setup->min_keycode, count), nullptr);
        if (reply == nullptr)
            fail("no keyboard mapping");
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        for (int code = 0; code < count; ++code) {
            const xcb_keysym_t sym = syms[code * reply->keysyms_per_keycode];
            if (sym != 0 && keycodes_.count(sym) == 0) {
                keycodes_[sym] = static_cast<xcb_keycode_t>(setup->min_keycode + code);
            }
        }
        std::free(reply);
    }

    void key(std::uint32_t keysym) {
        const auto found = keycodes_.find(keysym);
        if (found == keycodes_.end())
            fail("no key for a typed character");
        xcb_test_fake_input(c_, XCB_KEY_PRESS, found->second, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c_, XCB_KEY_RELEASE, found->second, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t wmProtocols_;
    xcb_atom_t wmDelete_;
    xcb_atom_t netWmPid_;
    std::map<xcb_keysym_t, xcb_keycode_t> keycodes_;
};

// One start: exec, window mapped and ready, optionally 21 guesses typed, then a close request.
Run runOnce(Display& display, const Program& program, const std::string& folder, bool playGame) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    running = pid;
    const auto deadline = start + std::chrono::seconds(20);
    const xcb_window_t window = display.waitForMap(pid, deadline);
    display.focus(window);
    display.waitForPixel(window, program.probe, deadline);
    Run run;
    run.startMs = msSince(start);
    if (playGame) {
        for (int guess = 0; guess < 21; ++guess) {
            display.type(std::string(3, static_cast<char>('0' + guess % 10)) + "\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    }
    const Clock::time_point closing = Clock::now();
    display.close(window);
    const auto ended = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));  // readable once it ends
    pollfd fd{ended, POLLIN, 0};
    if (ended < 0 || poll(&fd, 1, 10000) != 1) {
        fail(program.name + " did not end within 10 s of the close request");
    }
    ::close(ended);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);  // it has ended: this returns at once
    running = -1;
    run.closeMs = msSince(closing);
    run.maxRssKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail(program.name + " did not end normally");
    }
    return run;
}

struct Summary {
    double median;
    double low;
    double high;
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_launch RUNS GAME BARE FOLDER\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const Program game{"game", argv[2], gameProbe()};
    const Program bare{"bare window", argv[3], {70, 65, 0xFFFFFF}};
    const std::string folder = argv[4];

    Display display;
    std::vector<double> gameStart;
    std::vector<double> bareStart;
    std::vector<double> gameClose;
    for (int i = 0; i < runs; ++i) {  // interleaved, so that all see the same machine
        const Run g = runOnce(display, game, folder, false);
        gameStart.push_back(g.startMs);
        gameClose.push_back(g.closeMs);
        bareStart.push_back(runOnce(display, bare, folder, false).startMs);
    }
    const long gameRss = runOnce(display, game, folder, true).maxRssKb;
    const long bareRss = runOnce(display, bare, folder, true).maxRssKb;

    const Summary gs = summarize(gameStart);
    const Summary bs = summarize(bareStart);
    const Summary cs = summarize(gameClose);
    std::printf(
        "start-up (%d runs): game %.1f ms [%.1f-%.1f], bare window %.1f ms [%.1f-%.1f], ratio "
        "%.2f; "
        "peak RSS: game %.1f MB, bare %.1f MB, ratio %.2f; close %.0f ms [%.0f-%.0f]\n",
        runs, gs.median, gs.low, gs.high, bs.median, bs.low, bs.high, gs.median / bs.median,
        static_cast<double>(gameRss) / 1024.0, static_cast<double>(bareRss) / 1024.0,
        static_cast<double>(gameRss) / static_cast<double>(bareRss), cs.median, cs.low, cs.high);
    return 0;
}
