// Whole process, start to visible window: velmaro-config against the bare QMainWindow + QCustomPlot program, each
// started as a new process, alternating. "Visible" is the first drawing into a new top-level window, as the X server
// reports it through its DAMAGE extension. Needs an X display (Xvfb); prints both medians and their ratio.
#include "timingfigures.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int runs = 11;
constexpr int patienceMs = 10000;

using Clock_t = std::chrono::steady_clock;

struct Display_t {
    xcb_connection_t* connection = nullptr;
    const xcb_query_extension_reply_t* damage = nullptr;
    xcb_window_t root = 0;
};

Display_t openDisplay() {
    Display_t display;
    int screenNumber = 0;
    display.connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(display.connection)) {
        std::fprintf(stderr, "no X display: run under Xvfb with DISPLAY set\n");
        std::exit(2);
    }
    display.damage = xcb_get_extension_data(display.connection, &xcb_damage_id);
    if (!display.damage || !display.damage->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        std::exit(2);
    }
    std::free(xcb_damage_query_version_reply(
        display.connection, xcb_damage_query_version(display.connection, XCB_DAMAGE_MAJOR_VERSION, 0), nullptr));
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(display.connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    display.root = screens.data->root;
    // New top-level windows are announced as children of the root.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display.connection, display.root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(display.connection);
    return display;
}

pid_t start(const std::string& program) {
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    // The tool's message log would bury the figures.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (failed) {
        std::perror(program.c_str());
        std::exit(2);
    }
    return pid;
}

// Milliseconds from starting the program until it first draws into a top-level window of its own.
double startToVisibleMs(Display_t& display, const std::string& program) {
    const Clock_t::time_point begin = Clock_t::now();
    const pid_t pid = start(program);
    std::vector<xcb_damage_damage_t> damages;
    double ms = -1;
    while (ms < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(display.connection),
                                                                         &std::free);
        if (!event) {
            pollfd readable = {xcb_get_file_descriptor(display.connection), POLLIN, 0};
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock_t::now() - begin);
            if (waited.count() > patienceMs || xcb_connection_has_error(display.connection)) {
                std::fprintf(stderr, "%s showed no window within %d ms\n", program.c_str(), patienceMs);
                std::exit(1);
            }
            poll(&readable, 1, 100);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watched from its creation, so that no drawing can come before the watch.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            damages.push_back(xcb_generate_id(display.connection));
            xcb_damage_create(display.connection, damages.back(), created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(display.connection);
        } else if (type == display.damage->first_event + XCB_DAMAGE_NOTIFY) {
            ms = std::chrono::duration<double, std::milli>(Clock_t::now() - begin).count();
        }
    }
    for (xcb_damage_damage_t damage : damages)
        xcb_damage_destroy(display.connection, damage);
    xcb_flush(display.connection);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    // Leave nothing of this run for the next one to read.
    while (xcb_generic_event_t* stale = xcb_poll_for_event(display.connection))
        std::free(stale);
    return ms;
}

} // namespace

int main() {
    // The tool writes its log file under the home folder: a scratch one, the same for every run.
    char home[] = "/tmp/bench_ui_process.XXXXXX";
    if (!mkdtemp(home)) {
        std::perror("mkdtemp");
        return 2;
    }
    setenv("HOME", home, 1);
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    Display_t display = openDisplay();
    // Warm up the file cache and the X server, then alternate so that both see the same machine state.
    startToVisibleMs(display, VELMARO_CONFIG_PATH);
    startToVisibleMs(display, BARE_WINDOW_PATH);
    std::vector<double> toolMs, bareMs;
    for (int i = 0; i < runs; ++i) {
        toolMs.push_back(startToVisibleMs(display, VELMARO_CONFIG_PATH));
        bareMs.push_back(startToVisibleMs(display, BARE_WINDOW_PATH));
    }
    printTimings("velmaro-config", toolMs);
    printTimings("QMainWindow + QCustomPlot (floor)", bareMs);
    std::printf("ratio %.2f (target <= 1.10)\n", median(toolMs) / median(bareMs));
    xcb_disconnect(display.connection);
    std::system((std::string("rm -rf ") + home).c_str());
    return 0;
}
