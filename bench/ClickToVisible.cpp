// SPDX-License-Identifier: GPL-3.0-or-later
// Click to visible, as a person sees it: clicks with XTest on a point of the
// screen and polls that screen pixel until it changes, many times over, and
// prints the times. Between measurements it clicks one of two palette points
// so that every measured click paints a new colour.
//
// usage: click_to_visible X Y PALETTE_AX PALETTE_AY PALETTE_BX PALETTE_BY [ROUNDS]

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

unsigned long pixelAt(Display* d, Window root, int x, int y) {
    XImage* img = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) {
        return 0;
    }
    const unsigned long p = XGetPixel(img, 0, 0);
    XDestroyImage(img);
    return p;
}

void clickAt(Display* d, int x, int y) {
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XFlush(d);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: %s X Y AX AY BX BY [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int ax = std::atoi(argv[3]), ay = std::atoi(argv[4]);
    const int bx = std::atoi(argv[5]), by = std::atoi(argv[6]);
    const int rounds = argc > 7 ? std::atoi(argv[7]) : 20;
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(d);
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        clickAt(d, i % 2 ? ax : bx, i % 2 ? ay : by);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
        XSync(d, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const unsigned long before = pixelAt(d, root, x, y);
        const auto t0 = std::chrono::steady_clock::now();
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XFlush(d);
        bool changed = false;
        while (std::chrono::steady_clock::now() - t0 < std::chrono::seconds(2)) {
            if (pixelAt(d, root, x, y) != before) {
                changed = true;
                break;
            }
        }
        if (!changed) {
            std::fprintf(stderr, "round %d: the pixel did not change within 2 s\n", i);
            continue;
        }
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    XCloseDisplay(d);
    if (ms.empty()) {
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("click to visible over %zu clicks: median %.1f ms, min %.1f ms, max %.1f ms\n", ms.size(),
                ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
