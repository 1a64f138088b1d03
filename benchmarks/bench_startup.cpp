// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as a user sees it: from launching the program until its window is
// mapped on the X server, beside a bare Qt window of the same size built the
// same way, and beside that window with one line of text laid out, which
// starts the font system as every window showing text must. Runs alternate
// between the three so that a change in the machine's load touches all
// alike. Beside the wall-clock time, the processor time the program's threads
// took until then: on a busy machine it varies much less. Needs an X server
// (Xvfb) in DISPLAY; each program runs with the xcb platform from the folder
// that holds TRX's files.

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// How long a program may take to show its window before the run is an error.
constexpr auto MapTimeout = std::chrono::seconds(20);
// Runs of each program; the median of each is reported.
constexpr int Rounds = 9;

struct XcbConnection
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;

    XcbConnection()
    {
        connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            throw std::runtime_error("no X server: run under xvfb-run");
        }
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        // Every window mapped or destroyed as a child of the root is reported.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
    }
    ~XcbConnection() { xcb_disconnect(connection); }
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    // The next event, or null when none came before the deadline.
    std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> Next(Clock::time_point deadline)
    {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(connection))
                return {event, &std::free};
            if (xcb_connection_has_error(connection))
                throw std::runtime_error("lost the X server");
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return {nullptr, &std::free};
            pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
            poll(&fd, 1, int(left.count()));
        }
    }
};

// Processor time the process's threads have taken so far, in milliseconds.
double ProcessorMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            // The first field: time spent on a processor, in nanoseconds.
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double taskNs = 0;
            if (schedstat >> taskNs)
                ns += taskNs;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

// A started program, ended (SIGTERM) and reaped when this goes.
struct Child
{
    pid_t pid = 0;
    ~Child()
    {
        if (pid <= 0)
            return;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
};

struct Launch
{
    double wallMs = 0;
    double processorMs = 0;
};

// Starts the program with the argument (none when null), waits until it maps
// a top-level window, and ends it. Returns the time from launch to the map.
Launch LaunchUntilMapped(XcbConnection& x, const char* program, const char* argument = nullptr)
{
    // Events from an earlier run are not this run's.
    while (auto stale = x.Next(Clock::now())) {
    }

    char* const argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    Launch launch;
    double elapsed = -1;
    xcb_window_t window = 0;
    {
        Child child;
        const Clock::time_point start = Clock::now();
        if (const int err = posix_spawn(&child.pid, program, nullptr, nullptr, argv, environ))
            throw std::runtime_error(std::string("cannot start ") + program + ": " +
                                     std::strerror(err));
        const Clock::time_point deadline = start + MapTimeout;
        while (auto event = x.Next(deadline)) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            // Tooltips and menus bypass the window manager; the main window does not.
            if (map->override_redirect)
                continue;
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            launch.processorMs = ProcessorMs(child.pid);
            window = map->window;
            break;
        }
    }
    // The window is gone before the next run starts.
    if (window) {
        const Clock::time_point until = Clock::now() + std::chrono::seconds(5);
        while (auto event = x.Next(until)) {
            if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
                reinterpret_cast<const xcb_destroy_notify_event_t*>(event.get())->window == window)
                break;
        }
    }
    if (elapsed < 0)
        throw std::runtime_error(std::string(program) + " mapped no window in time");
    launch.wallMs = elapsed;
    return launch;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One program as measured: its path and argument, the name of its counters.
struct Measured
{
    const char* program;
    const char* argument;
    const char* name;
    std::vector<double> wallMs;
    std::vector<double> processorMs;
};

// Nine launches of each, in turn; the reported time is TRX's median, with the
// medians of each program and TRX's ratios to the bare windows beside it.
void BM_StartUpToMappedWindow(benchmark::State& state)
{
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("DISPLAY is not set: run under xvfb-run");
        return;
    }
    if (chdir(TRX_BIN_DIR) != 0) {
        state.SkipWithError("cannot enter the program's folder");
        return;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    try {
        XcbConnection x;
        for (auto _ : state) {
            Measured programs[] = {{TRX_BARE_WINDOW, nullptr, "bare", {}, {}},
                                   {TRX_BARE_WINDOW, "text", "text", {}, {}},
                                   {TRX_PROGRAM, nullptr, "trx", {}, {}}};
            // Each once, unmeasured: the page cache holds their libraries.
            for (const Measured& m : programs)
                LaunchUntilMapped(x, m.program, m.argument);
            for (int i = 0; i < Rounds; ++i) {
                for (Measured& m : programs) {
                    const Launch launch = LaunchUntilMapped(x, m.program, m.argument);
                    m.wallMs.push_back(launch.wallMs);
                    m.processorMs.push_back(launch.processorMs);
                }
            }
            for (const Measured& m : programs) {
                state.counters[std::string(m.name) + "_ms"] = Median(m.wallMs);
                state.counters[std::string(m.name) + "_cpu_ms"] = Median(m.processorMs);
            }
            const Measured& bare = programs[0];
            const Measured& text = programs[1];
            const Measured& trx = programs[2];
            state.SetIterationTime(Median(trx.wallMs) / 1000);
            state.counters["ratio"] = Median(trx.wallMs) / Median(bare.wallMs);
            state.counters["cpu_ratio"] = Median(trx.processorMs) / Median(bare.processorMs);
            state.counters["text_ratio"] = Median(trx.wallMs) / Median(text.wallMs);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(BM_StartUpToMappedWindow)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
