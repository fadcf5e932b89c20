// Start-up of a program against a floor program, on the X display of $DISPLAY (an Xvfb
// without a window manager): the time from exec until the program asks for its top-level
// window to be mapped, and its resident memory at that moment. This program stands in for
// the window manager and holds the request while it reads the memory: the first paint
// needs the window mapped, so it cannot race the reading. The two programs take turns run
// by run, so a change of load touches both alike; the result is the ratio of the medians,
// written as Markdown.
//
//   korvel_bench_startup RUNS PROGRAM FLOOR

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Sample {
    double milliseconds;
    double residentMiB;
    double anonymousMiB;  // the part of it that is no file's pages: heap, stacks, buffers
};

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::string fixed(double value, int decimals) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, r.ptr);
}

// A "Name:   1234 kB" figure of a /proc file of the process, in MiB.
std::optional<double> procMiB(pid_t pid, const char* file, std::string_view name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name, 0) != 0) continue;
        const auto begin = line.find_first_of("0123456789");
        long kib = 0;
        if (begin == std::string::npos) return std::nullopt;
        std::from_chars(line.data() + begin, line.data() + line.size(), kib);
        return static_cast<double>(kib) / 1024.0;
    }
    return std::nullopt;
}

std::optional<long> windowPid(Display* display, Window window) {
    const Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && count == 1 && format == 32) {
        pid = *reinterpret_cast<long*>(data);
    }
    if (data) XFree(data);
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// One start of the program: exec, wait for its window's map request, read its memory, end it.
std::optional<Sample> measure(Display* display, const char* path, std::string& error) {
    // Events left over from the last run are not this run's.
    XSync(display, True);
    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (now() - start < 20000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ConfigureRequest) {  // granted as asked, as no window manager here would
                const XConfigureRequestEvent& r = event.xconfigurerequest;
                XWindowChanges changes{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
                XConfigureWindow(display, r.window, static_cast<unsigned>(r.value_mask), &changes);
                continue;
            }
            if (event.type != MapRequest) continue;
            const double mapped = now();
            const auto owner = windowPid(display, event.xmaprequest.window);
            if (!owner || *owner != pid) {  // not this run's window
                XMapWindow(display, event.xmaprequest.window);
                continue;
            }
            const auto memory = procMiB(pid, "status", "VmRSS:");
            const auto anonymous = procMiB(pid, "smaps_rollup", "Anonymous:");
            stop(pid);
            if (!memory || !anonymous) {
                error = "no resident memory figure";
                return std::nullopt;
            }
            return Sample{mapped - start, *memory, *anonymous};
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            error = "exited before mapping a window";
            return std::nullopt;
        }
        poll(&connection, 1, 5);
    }
    stop(pid);
    error = "no window within 20 s";
    return std::nullopt;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: korvel_bench_startup RUNS PROGRAM FLOOR\n", stderr);
        return 2;
    }
    int runs = 0;
    const std::string_view runsText(argv[1]);
    std::from_chars(runsText.data(), runsText.data() + runsText.size(), runs);
    const char* programs[2] = {argv[2], argv[3]};

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("cannot open the X display of $DISPLAY\n", stderr);
        return 2;
    }
    // Only one client can redirect the map requests: there must be no window manager. Later
    // errors (a window gone before its property was read) are no matter.
    static int firstError = Success;
    XSetErrorHandler([](Display*, XErrorEvent* e) {
        if (firstError == Success) firstError = e->error_code;
        return 0;
    });
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
    XSync(display, False);
    if (firstError != Success) {
        std::fputs("cannot stand in for the window manager: is one running on this display?\n", stderr);
        return 2;
    }

    std::vector<Sample> samples[2];
    std::string error;
    // One unrecorded start of each first, so both begin with warm file caches.
    for (int i = -1; i < runs; ++i) {
        // Alternate which goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            const int which = (i % 2 == 0) ? k : 1 - k;
            const auto sample = measure(display, programs[which], error);
            if (!sample) {
                std::fprintf(stderr, "%s: %s\n", programs[which], error.c_str());
                return 1;
            }
            if (i >= 0) samples[which].push_back(*sample);
        }
    }
    XCloseDisplay(display);

    std::vector<double> time[2];
    std::vector<double> memory[2];
    std::vector<double> anonymous[2];
    for (int k = 0; k < 2; ++k) {
        for (const auto& s : samples[k]) {
            time[k].push_back(s.milliseconds);
            memory[k].push_back(s.residentMiB);
            anonymous[k].push_back(s.anonymousMiB);
        }
    }
    const double t0 = median(time[0]);
    const double t1 = median(time[1]);
    const double m0 = median(memory[0]);
    const double m1 = median(memory[1]);
    auto range = [](const std::vector<double>& v, int decimals) {
        return fixed(*std::min_element(v.begin(), v.end()), decimals) + " to " +
               fixed(*std::max_element(v.begin(), v.end()), decimals);
    };
    std::printf("| Start-up, %d runs each | Program (median) | Floor (median) | Ratio | Target |\n", runs);
    std::printf("|---|---|---|---|---|\n");
    std::printf("| Exec to map request | %s ms (%s) | %s ms (%s) | %s | <= 1.10 |\n", fixed(t0, 1).c_str(),
                range(time[0], 1).c_str(), fixed(t1, 1).c_str(), range(time[1], 1).c_str(),
                fixed(t0 / t1, 3).c_str());
    std::printf("| Resident memory then | %s MiB (%s) | %s MiB (%s) | %s | <= 1.05 |\n", fixed(m0, 1).c_str(),
                range(memory[0], 1).c_str(), fixed(m1, 1).c_str(), range(memory[1], 1).c_str(),
                fixed(m0 / m1, 3).c_str());
    const double a0 = median(anonymous[0]);
    const double a1 = median(anonymous[1]);
    std::printf("| of which anonymous (heap, stacks) | %s MiB | %s MiB | %s | |\n", fixed(a0, 1).c_str(),
                fixed(a1, 1).c_str(), fixed(a0 / a1, 3).c_str());
    std::printf("| of which pages of files (libraries, fonts) | %s MiB | %s MiB | %s | |\n",
                fixed(m0 - a0, 1).c_str(), fixed(m1 - a1, 1).c_str(),
                fixed((m0 - a0) / (m1 - a1), 3).c_str());
    return 0;
}
