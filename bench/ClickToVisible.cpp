// SPDX-License-Identifier: GPL-3.0-or-later
// Click to visible, as a person sees it: sends a click or a movement with
// XTest and polls one screen pixel until it changes, many times over, and
// prints the times. The pixel polled may lie away from the pointer, so that
// what is timed is the program's picture and never the pointer's.
//
// usage:
//   click_to_visible X Y AX AY BX BY [ROUNDS]
//       a fill: clicks X Y and watches it; between measurements it clicks
//       one of two palette points A, B so that every click paints anew
//   click_to_visible fill X Y WX WY AX AY BX BY ROUNDS
//       the same, watching WX WY
//   click_to_visible palette AX AY AWX AWY BX BY BWX BWY ROUNDS
//       clicks A and B in turn once the pointer has rested on each, watching
//       the pixel given with each
//   click_to_visible pencil X1 Y1 X2 Y2 WX WY AX AY BX BY ROUNDS
//       presses at X1 Y1, then times the movement to X2 Y2 with the button
//       held, watching WX WY (between the two), and releases; A and B in
//       turn before each, so that every segment has a new colour
//   click_to_visible hover RX RY X Y WX WY ROUNDS
//       rests the pointer at RX RY, then times the movement to X Y
//   click_to_visible burst GAP_MS X1 Y1 WX1 WY1 [X2 Y2 WX2 WY2 ...]
//       clicks each point GAP_MS after the one before, whatever the screen
//       shows, and times each click to the change of its own pixel
//
// The first form prints a summary line; the others print a line
// "times_ms T1 T2 ..." in the order of the measurements ("lost" for one whose
// pixel did not change within 2 s), then the summary.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(2);

struct Point {
    int x = 0;
    int y = 0;
};

Display* d = nullptr;
Window root = 0;

unsigned long pixelAt(Point p) {
    XImage* img = XGetImage(d, root, p.x, p.y, 1, 1, AllPlanes, ZPixmap);
    if (!img) {
        return 0;
    }
    const unsigned long value = XGetPixel(img, 0, 0);
    XDestroyImage(img);
    return value;
}

void moveTo(Point p) {
    XTestFakeMotionEvent(d, -1, p.x, p.y, CurrentTime);
}

void press() {
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
}

void release() {
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
}

void clickAt(Point p) {
    moveTo(p);
    press();
    release();
    XFlush(d);
}

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Sends what `act` queues and polls `watch` until it differs from what it
// showed just before; the milliseconds, or nothing after the time limit.
template <typename Act> std::optional<double> timed(Point watch, Act act) {
    const unsigned long before = pixelAt(watch);
    const auto t0 = Clock::now();
    act();
    XFlush(d);
    while (Clock::now() - t0 < kTimeout) {
        if (pixelAt(watch) != before) {
            return msSince(t0);
        }
    }
    return std::nullopt;
}

std::vector<std::optional<double>> fillRounds(Point at, Point watch, Point a, Point b, int rounds) {
    std::vector<std::optional<double>> out;
    for (int i = 0; i < rounds; ++i) {
        clickAt(i % 2 ? a : b);
        pause(300);
        moveTo(at);
        XSync(d, False);
        pause(100);
        out.push_back(timed(watch, [] {
            press();
            release();
        }));
    }
    return out;
}

std::vector<std::optional<double>> paletteRounds(Point a, Point aWatch, Point b, Point bWatch, int rounds) {
    std::vector<std::optional<double>> out;
    for (int i = 0; i < rounds; ++i) {
        // The hover face shows first, as when a child's hand gets there.
        moveTo(i % 2 ? a : b);
        XSync(d, False);
        pause(300);
        out.push_back(timed(i % 2 ? aWatch : bWatch, [] {
            press();
            release();
        }));
    }
    return out;
}

std::vector<std::optional<double>> pencilRounds(Point from, Point to, Point watch, Point a, Point b,
                                                int rounds) {
    std::vector<std::optional<double>> out;
    for (int i = 0; i < rounds; ++i) {
        clickAt(i % 2 ? a : b);
        pause(300);
        moveTo(from);
        press();
        XSync(d, False);
        pause(100);
        out.push_back(timed(watch, [to] { moveTo(to); }));
        release();
        XSync(d, False);
        pause(50);
    }
    return out;
}

std::vector<std::optional<double>> hoverRounds(Point rest, Point over, Point watch, int rounds) {
    std::vector<std::optional<double>> out;
    for (int i = 0; i < rounds; ++i) {
        moveTo(rest);
        XSync(d, False);
        pause(300);
        out.push_back(timed(watch, [over] { moveTo(over); }));
    }
    return out;
}

// A click is visible once its own pixel changes, or once a later click's
// does: the screen then shows a state after it, even when a slow program
// drew the two clicks as one.
std::vector<std::optional<double>> burst(int gapMs, const std::vector<Point>& at,
                                         const std::vector<Point>& watch) {
    const std::size_t n = at.size();
    std::vector<unsigned long> before(n);
    std::vector<Clock::time_point> sent(n);
    std::vector<std::optional<double>> out(n);
    const auto start = Clock::now();
    std::size_t next = 0;
    std::size_t seen = 0;
    while (seen < n) {
        const auto now = Clock::now();
        if (next < n && now >= start + std::chrono::milliseconds(gapMs) * next) {
            before[next] = pixelAt(watch[next]);
            sent[next] = Clock::now();
            clickAt(at[next]);
            ++next;
        }
        for (std::size_t i = next; i-- > 0;) {
            if (out[i] || now - sent[i] > kTimeout) {
                continue;
            }
            if (pixelAt(watch[i]) != before[i]) {
                const auto shown = Clock::now();
                for (std::size_t j = 0; j <= i; ++j) {
                    if (!out[j]) {
                        out[j] = std::chrono::duration<double, std::milli>(shown - sent[j]).count();
                    }
                }
                break;
            }
        }
        seen = 0;
        for (std::size_t i = 0; i < next; ++i) {
            seen += out[i] || Clock::now() - sent[i] > kTimeout ? 1 : 0;
        }
        // Nothing to watch until the next click: no spinning that takes a
        // core from the program.
        if (seen == next && next < n) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(gapMs) * next);
        }
    }
    return out;
}

void report(const std::vector<std::optional<double>>& times, bool list) {
    std::vector<double> ms;
    if (list) {
        std::printf("times_ms");
    }
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (times[i]) {
            ms.push_back(*times[i]);
        } else {
            std::fprintf(stderr, "round %zu: the pixel did not change within 2 s\n", i);
        }
        if (list) {
            if (times[i]) {
                std::printf(" %.2f", *times[i]);
            } else {
                std::printf(" lost");
            }
        }
    }
    if (list) {
        std::printf("\n");
    }
    if (ms.empty()) {
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("click to visible over %zu clicks: median %.1f ms, min %.1f ms, max %.1f ms\n", ms.size(),
                ms[ms.size() / 2], ms.front(), ms.back());
}

int usage(const char* name) {
    std::fprintf(stderr,
                 "usage: %s X Y AX AY BX BY [ROUNDS]\n"
                 "       %s fill X Y WX WY AX AY BX BY ROUNDS\n"
                 "       %s palette AX AY AWX AWY BX BY BWX BWY ROUNDS\n"
                 "       %s pencil X1 Y1 X2 Y2 WX WY AX AY BX BY ROUNDS\n"
                 "       %s hover RX RY X Y WX WY ROUNDS\n"
                 "       %s burst GAP_MS X1 Y1 WX1 WY1 [X2 Y2 WX2 WY2 ...]\n",
                 name, name, name, name, name, name);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage(argv[0]);
    }
    const std::string mode = argv[1];
    const bool named =
        mode == "fill" || mode == "palette" || mode == "pencil" || mode == "hover" || mode == "burst";
    // The numbers after the mode's name, in order.
    std::vector<int> v;
    for (int i = named ? 2 : 1; i < argc; ++i) {
        v.push_back(std::atoi(argv[i]));
    }
    const auto p = [&v](std::size_t i) { return Point{v[i], v[i + 1]}; };
    const std::size_t wanted = mode == "fill"      ? 9
                               : mode == "palette" ? 9
                               : mode == "pencil"  ? 11
                               : mode == "hover"   ? 7
                               : mode == "burst"   ? 5
                                                   : 6;
    if (v.size() < wanted || (mode == "burst" && (v.size() - 1) % 4 != 0)) {
        return usage(argv[0]);
    }
    d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    root = DefaultRootWindow(d);
    std::vector<std::optional<double>> times;
    if (!named) {
        times = fillRounds(p(0), p(0), p(2), p(4), v.size() > 6 ? v[6] : 20);
    } else if (mode == "fill") {
        times = fillRounds(p(0), p(2), p(4), p(6), v[8]);
    } else if (mode == "palette") {
        times = paletteRounds(p(0), p(2), p(4), p(6), v[8]);
    } else if (mode == "pencil") {
        times = pencilRounds(p(0), p(2), p(4), p(6), p(8), v[10]);
    } else if (mode == "hover") {
        times = hoverRounds(p(0), p(2), p(4), v[6]);
    } else {
        std::vector<Point> at;
        std::vector<Point> watch;
        for (std::size_t i = 1; i + 3 < v.size(); i += 4) {
            at.push_back(p(i));
            watch.push_back(p(i + 2));
        }
        times = burst(v[0], at, watch);
    }
    XCloseDisplay(d);
    report(times, named);
    const bool any = std::any_of(times.begin(), times.end(), [](const auto& t) { return t.has_value(); });
    return any ? 0 : 1;
}
