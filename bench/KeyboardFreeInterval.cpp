// SPDX-License-Identifier: GPL-3.0-or-later
// How long the keyboard is free while the program runs, as another X client
// sees it: starts the program, then asks the X server for the keyboard every
// 10 ms (letting it go at once when it gets it) until the program is told to
// end, and prints every interval in which the grab succeeded. Optionally a
// window of its own takes the input focus for a second in the middle of the
// run, the way a notification or a second program would.
//
// usage: keyboard_free_interval [--run SECONDS] [--steal-focus AT] -- PROGRAM [ARGS...]
//
// --run: seconds from launch to SIGTERM (default 10); the figures cover
//        launch to SIGTERM, and the time SIGTERM takes to free the keyboard.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// True when this client could take the keyboard now; it lets go at once.
bool keyboardFree(Display* d) {
    const Window root = DefaultRootWindow(d);
    const int status = XGrabKeyboard(d, root, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (status == GrabSuccess) {
        XUngrabKeyboard(d, CurrentTime);
        XFlush(d);
        return true;
    }
    return false;
}

// A plain window that takes the focus, as a pop-up of another program does.
Window stealFocus(Display* d) {
    const int screen = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 100, 100, 300, 120, 0, BlackPixel(d, screen),
                                   WhitePixel(d, screen));
    XStoreName(d, w, "Focus thief");
    XSelectInput(d, w, StructureNotifyMask);
    XMapRaised(d, w);
    XEvent e;
    do {
        XNextEvent(d, &e);
    } while (e.type != MapNotify);
    XSetInputFocus(d, w, RevertToParent, CurrentTime);
    XSync(d, False);
    return w;
}

struct Interval {
    double from;
    double to;
};

} // namespace

int main(int argc, char** argv) {
    double runSeconds = 10;
    double stealAt = -1;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--run") == 0 && i + 1 < argc) {
            runSeconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--steal-focus") == 0 && i + 1 < argc) {
            stealAt = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else {
            break;
        }
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: %s [--run SECONDS] [--steal-focus AT] -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    if (!keyboardFree(d)) {
        std::fprintf(stderr, "the keyboard is held before the program starts\n");
        return 1;
    }

    const Clock::time_point launch = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[i], argv + i);
        _exit(127);
    }
    if (pid < 0) {
        std::perror("fork");
        return 1;
    }

    std::vector<Interval> free;
    bool wasFree = true; // nothing holds the keyboard at launch
    double freeSince = 0;
    double firstHeld = -1;
    Window thief = None;
    double thiefGone = -1;
    auto next = Clock::now();
    for (double t = 0; t < runSeconds; t = secondsSince(launch)) {
        if (stealAt >= 0 && thief == None && thiefGone < 0 && t >= stealAt) {
            thief = stealFocus(d);
            thiefGone = t + 1.0;
        }
        if (thief != None && t >= thiefGone) {
            XDestroyWindow(d, thief);
            XSync(d, False);
            thief = None;
        }
        const bool isFree = keyboardFree(d);
        const double now = secondsSince(launch);
        if (isFree && !wasFree) {
            freeSince = now;
        } else if (!isFree && wasFree) {
            free.push_back({freeSince, now});
            if (firstHeld < 0) {
                firstHeld = now;
            }
        }
        wasFree = isFree;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "the program ended by itself after %.3f s\n", now);
            return 1;
        }
        next += std::chrono::milliseconds(10);
        std::this_thread::sleep_until(next);
    }
    const double term = secondsSince(launch);
    if (wasFree) {
        free.push_back({freeSince, term});
    }
    kill(pid, SIGTERM);
    // From SIGTERM until another client can take the keyboard.
    double freed = -1;
    int status = 0;
    bool ended = false;
    while (secondsSince(launch) < term + 10) {
        if (!ended && waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
        }
        if (freed < 0 && keyboardFree(d)) {
            freed = secondsSince(launch) - term;
        }
        if (ended && freed >= 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }

    double total = 0;
    std::printf("keyboard free while the program ran (launch to SIGTERM at %.3f s):\n", term);
    for (const Interval& f : free) {
        std::printf("  %8.3f s .. %8.3f s  %7.1f ms\n", f.from, f.to, (f.to - f.from) * 1000);
        total += f.to - f.from;
    }
    std::printf("first held after %.1f ms; total free %.1f ms in %zu interval(s)\n", firstHeld * 1000,
                total * 1000, free.size());
    std::printf("SIGTERM to a free keyboard: %.1f ms; exit %s %d\n", freed * 1000,
                WIFEXITED(status) ? "status" : "signal",
                WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
    XCloseDisplay(d);
    return 0;
}
