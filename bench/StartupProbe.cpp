// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as a person meets it: starts the program, watches one screen point
// on the canvas until the window shows drawing 01 there (white), then clicks
// it again and again until the fill colours it. Clicks wait in the queue
// through whatever the start-up does after showing the window; they are
// taken as soon as the program delivers events again, in its second pause.
//
// Prints, in seconds from the launch:
//   shown=... usable=...
// usage: startup_probe X Y PROGRAM [ARGS...]

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Two pixels side by side, so that the X server's woven root (one pixel
// black, the next white) never passes for the white of the drawing.
bool bothWhite(Display* d, Window root, int x, int y) {
    XImage* img = XGetImage(d, root, x, y, 2, 1, AllPlanes, ZPixmap);
    if (!img) {
        return false;
    }
    const bool white =
        (XGetPixel(img, 0, 0) & 0xFFFFFF) == 0xFFFFFF && (XGetPixel(img, 1, 0) & 0xFFFFFF) == 0xFFFFFF;
    XDestroyImage(img);
    return white;
}

double since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s X Y PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(d);
    // Away from the point, so that nothing but the click changes it.
    XTestFakeMotionEvent(d, -1, x + 300, y + 300, CurrentTime);
    XSync(d, False);

    const auto t0 = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[3], argv + 3);
        _exit(127);
    }
    int status = 0;
    auto finish = [&](int code) {
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        XCloseDisplay(d);
        return code;
    };

    double shown = -1;
    while (since(t0) < 20) {
        if (bothWhite(d, root, x, y)) {
            shown = since(t0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (shown < 0) {
        std::fprintf(stderr, "the canvas never showed at %d,%d\n", x, y);
        return finish(1);
    }
    // Clicks every few milliseconds, as an impatient child would, until one
    // is taken: a click can be lost while the window is still being set up.
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XFlush(d);
    double usable = -1;
    auto lastClick = Clock::now() - std::chrono::seconds(1);
    while (since(t0) < 30) {
        if (Clock::now() - lastClick >= std::chrono::milliseconds(5)) {
            XTestFakeButtonEvent(d, 1, True, CurrentTime);
            XTestFakeButtonEvent(d, 1, False, CurrentTime);
            XFlush(d);
            lastClick = Clock::now();
        }
        if (!bothWhite(d, root, x, y)) {
            usable = since(t0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (usable < 0) {
        std::fprintf(stderr, "the click at %d,%d never coloured the canvas\n", x, y);
        return finish(1);
    }
    std::printf("shown=%.3f usable=%.3f\n", shown, usable);
    return finish(0);
}
