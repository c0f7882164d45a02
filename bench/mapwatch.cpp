// SPDX-License-Identifier: MIT
// Starts a program on the X display in $DISPLAY and measures it the same
// way whatever the program is:
//   startup_ms   from just before fork() to the MapNotify of its first
//                top-level window (no window manager: the window maps itself)
//   frame_ms     from fork() to the first frame painted into that window: the
//                pixel at (5, 5), window face in any Qt window, leaves the
//                black of the root window (run Xvfb with -br). A program may
//                map its window before it has loaded any font and pay for the
//                fonts before its first frame, or the other way round; this
//                figure is fair to both.
//   tick_cpu_s   user + system CPU time of the whole process over the
//                ticking period, which starts `settle` seconds after the map
//   tick_run_s   the same from the scheduler's nanosecond counters of its
//                threads (the former counts in 10 ms clock ticks)
//   hwm_kb       peak resident memory (VmHWM) just before it is ended
//
// usage: veltaro-mapwatch <settle seconds> <ticking seconds> <program> [args...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command name, which may hold blanks: state is field 3,
    // utime and stime fields 14 and 15.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14)
            utime = std::stoull(field);
        if (number == 15)
            stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double runSeconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* folder = ::opendir(tasks.c_str());
    if (folder == nullptr)
        return -1;
    unsigned long long nanoseconds = 0;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
        unsigned long long onCpu = 0;
        if (in >> onCpu)
            nanoseconds += onCpu;
    }
    ::closedir(folder);
    return static_cast<double>(nanoseconds) / 1e9;
}

long peakResidentKb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// Waits for a top-level window of any client to be mapped; None after
// `timeout` without one.
Window waitForMap(Display* display, Clock::duration timeout)
{
    const Clock::time_point end = Clock::now() + timeout;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < end) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return event.xmap.window;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        ::poll(&connection, 1, static_cast<int>(left.count()) + 1);
    }
    return None;
}

// Polls the window's pixel at (5, 5) until it is no longer black.
bool waitForFirstFrame(Display* display, Window window, Clock::duration timeout)
{
    const Clock::time_point end = Clock::now() + timeout;
    while (Clock::now() < end) {
        if (XImage* image = XGetImage(display, window, 5, 5, 1, 1, AllPlanes, ZPixmap)) {
            const unsigned long pixel = XGetPixel(image, 0, 0);
            XDestroyImage(image);
            if (pixel != 0)
                return true;
        }
        ::usleep(500);
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <settle seconds> <ticking seconds> <program> [args...]\n", argv[0]);
        return 2;
    }
    const double settleSeconds = std::atof(argv[1]);
    const double tickingSeconds = std::atof(argv[2]);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ConnectionNumber(display));
        ::execv(argv[3], argv + 3);
        std::perror("exec");
        ::_exit(127);
    }
    const Window window = waitForMap(display, std::chrono::seconds(30));
    if (window == None) {
        std::fprintf(stderr, "no window was mapped\n");
        ::kill(pid, SIGKILL);
        return 1;
    }
    const double startupMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    if (!waitForFirstFrame(display, window, std::chrono::seconds(30))) {
        std::fprintf(stderr, "the window was never painted\n");
        ::kill(pid, SIGKILL);
        return 1;
    }
    const double frameMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();

    std::this_thread::sleep_for(std::chrono::duration<double>(settleSeconds));
    const double cpuBefore = cpuSeconds(pid);
    const double runBefore = runSeconds(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(tickingSeconds));
    const double cpuAfter = cpuSeconds(pid);
    const double runAfter = runSeconds(pid);
    const long hwmKb = peakResidentKb(pid);

    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    XCloseDisplay(display);

    std::printf("startup_ms=%.1f frame_ms=%.1f startup_cpu_s=%.3f tick_cpu_s=%.3f tick_run_s=%.4f hwm_kb=%ld\n",
                startupMs, frameMs, cpuBefore, cpuAfter - cpuBefore, runAfter - runBefore, hwmKb);
    return 0;
}
