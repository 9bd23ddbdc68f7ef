// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for click to visible on a screen of any size: a borderless SDL
// window over the whole screen that answers the colouring screen's clicks
// and movements with rectangles of the same sizes as the program changes,
// filled straight into the window's surface and sent with
// SDL_UpdateWindowSurfaceRects, the plainest fast way SDL has. The 1024 x
// 768 layout is scaled to fit and centred as the program places it, with
// the controls where the program's table has them, so that the same
// clicks land on the same things. bench/screens.sh runs it.
//
//   canvas     press: the bucket fills all of it; the pencil anchors, and
//              each movement with the button held draws a segment
//   palette    click: the face is selected, the last one rested; the
//              pointer over it lights the middle of the face only
//   Papir      the pointer over it lights it; a click whitens the canvas
//   olovka, kapljica   click: pencil or bucket
//
// usage: minimal_window   (prints "ready" once the first picture was sent)

#include "colouring/ColourTable.h"
#include "scene/ControlTable.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using tintaro::ColourTable;
using tintaro::ControlId;
using tintaro::controlSpec;

constexpr int kLayoutWidth = 1024;
constexpr int kLayoutHeight = 768;

class Window {
  public:
    bool open();
    void run();

  private:
    // The layout's place on the screen, as the program computes it.
    SDL_Rect place() const;
    SDL_Rect onScreen(const tintaro::Rect& r) const;
    bool inside(ControlId id, int x, int y) const;
    int paletteAt(int x, int y) const;
    Uint32 colour(tintaro::Colour c) const;

    void fill(const SDL_Rect& r, Uint32 c);
    void drawAll();
    void drawPaletteFace(int k);
    void drawPapir();
    void drawTools();
    void drawSegment(int x0, int y0, int x1, int y1);
    void send();

    void press(int x, int y);
    void release(int x, int y);
    void move(int x, int y, bool held);

    SDL_Window* m_window = nullptr;
    SDL_Surface* m_surface = nullptr;
    std::vector<SDL_Rect> m_dirty;
    int m_selected = -1;
    int m_hovered = -1;
    bool m_papirLit = false;
    bool m_pencil = false;
    bool m_anchored = false;
    int m_lastX = 0;
    int m_lastY = 0;
    tintaro::Colour m_colour = ColourTable[0].value;
    tintaro::Colour m_canvas = tintaro::rgb(255, 255, 255);
};

bool Window::open() {
    // Left to itself, SDL backs the window's surface on X11 with a GL
    // texture, which under Xvfb is a software GL far slower than the plain
    // X image (shared memory) the program uses.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return false;
    }
    SDL_Rect screen{};
    if (SDL_GetDisplayBounds(0, &screen) != 0) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return false;
    }
    m_window =
        SDL_CreateWindow("minimal window", screen.x, screen.y, screen.w, screen.h, SDL_WINDOW_BORDERLESS);
    if (m_window == nullptr) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return false;
    }
    m_surface = SDL_GetWindowSurface(m_window);
    if (m_surface == nullptr) {
        std::fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
        return false;
    }
    drawAll();
    std::printf("ready\n");
    std::fflush(stdout);
    return true;
}

SDL_Rect Window::place() const {
    int w = m_surface->w;
    int h = m_surface->w * kLayoutHeight / kLayoutWidth;
    if (h > m_surface->h) {
        h = m_surface->h;
        w = m_surface->h * kLayoutWidth / kLayoutHeight;
    }
    return {(m_surface->w - w) / 2, (m_surface->h - h) / 2, w, h};
}

SDL_Rect Window::onScreen(const tintaro::Rect& r) const {
    const SDL_Rect p = place();
    const int x0 = p.x + r.x * p.w / kLayoutWidth;
    const int y0 = p.y + r.y * p.h / kLayoutHeight;
    const int x1 = p.x + (r.x + r.w) * p.w / kLayoutWidth;
    const int y1 = p.y + (r.y + r.h) * p.h / kLayoutHeight;
    return {x0, y0, x1 - x0, y1 - y0};
}

bool Window::inside(ControlId id, int x, int y) const {
    const SDL_Rect r = onScreen(controlSpec(id).rect);
    const SDL_Point point{x, y};
    return SDL_PointInRect(&point, &r) == SDL_TRUE;
}

int Window::paletteAt(int x, int y) const {
    for (int k = 0; k < static_cast<int>(ColourTable.size()); ++k) {
        if (inside(ColourTable[static_cast<std::size_t>(k)].control, x, y)) {
            return k;
        }
    }
    return -1;
}

Uint32 Window::colour(tintaro::Colour c) const {
    return SDL_MapRGB(m_surface->format, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void Window::fill(const SDL_Rect& r, Uint32 c) {
    SDL_FillRect(m_surface, &r, c);
    m_dirty.push_back(r);
}

void Window::drawAll() {
    SDL_FillRect(m_surface, nullptr, SDL_MapRGB(m_surface->format, 0, 0, 0));
    const SDL_Rect layout = place();
    SDL_FillRect(m_surface, &layout, SDL_MapRGB(m_surface->format, 205, 150, 95));
    const SDL_Rect canvas = onScreen(tintaro::kCanvasRect);
    SDL_FillRect(m_surface, &canvas, colour(m_canvas));
    for (int k = 0; k < static_cast<int>(ColourTable.size()); ++k) {
        drawPaletteFace(k);
    }
    drawPapir();
    drawTools();
    m_dirty.clear();
    SDL_UpdateWindowSurface(m_window);
}

// The whole face is drawn, as the program draws a face picture; selected,
// the face's colour changes around the middle too, where the hover light
// never reaches.
void Window::drawPaletteFace(int k) {
    const auto& row = ColourTable[static_cast<std::size_t>(k)];
    const tintaro::Rect r = controlSpec(row.control).rect;
    fill(onScreen(r), k == m_selected ? SDL_MapRGB(m_surface->format, 255, 255, 255)
                                      : SDL_MapRGB(m_surface->format, 205, 150, 95));
    const tintaro::Rect middle{r.x + r.w / 3, r.y + r.h / 3, r.w / 3, r.h / 3};
    const tintaro::Colour c = row.value;
    fill(onScreen(middle), k == m_hovered && k != m_selected ? colour(c | 0x808080) : colour(c));
}

void Window::drawPapir() {
    fill(onScreen(controlSpec(ControlId::Papir).rect), m_papirLit
                                                           ? SDL_MapRGB(m_surface->format, 255, 249, 213)
                                                           : SDL_MapRGB(m_surface->format, 228, 246, 255));
}

void Window::drawTools() {
    const Uint32 on = SDL_MapRGB(m_surface->format, 255, 240, 120);
    const Uint32 off = SDL_MapRGB(m_surface->format, 240, 230, 215);
    fill(onScreen(controlSpec(ControlId::olovka).rect), m_pencil ? on : off);
    fill(onScreen(controlSpec(ControlId::kapljica).rect), m_pencil ? off : on);
}

// A line three layout pixels wide, stamped square by square along the
// longer axis and sent as one rectangle, as the program sends a segment.
void Window::drawSegment(int x0, int y0, int x1, int y1) {
    const SDL_Rect p = place();
    const int width = std::max(1, 3 * p.w / kLayoutWidth);
    const int steps = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
    const Uint32 c = colour(m_colour);
    SDL_Rect box{std::min(x0, x1) - width / 2, std::min(y0, y1) - width / 2, std::abs(x1 - x0) + width,
                 std::abs(y1 - y0) + width};
    const SDL_Rect canvas = onScreen(tintaro::kCanvasRect);
    for (int i = 0; i <= steps; ++i) {
        SDL_Rect dot{x0 + (x1 - x0) * i / steps - width / 2, y0 + (y1 - y0) * i / steps - width / 2, width,
                     width};
        SDL_Rect clipped{};
        if (SDL_IntersectRect(&dot, &canvas, &clipped) == SDL_TRUE) {
            SDL_FillRect(m_surface, &clipped, c);
        }
    }
    SDL_Rect sent{};
    if (SDL_IntersectRect(&box, &canvas, &sent) == SDL_TRUE) {
        m_dirty.push_back(sent);
    }
}

void Window::send() {
    if (!m_dirty.empty()) {
        SDL_UpdateWindowSurfaceRects(m_window, m_dirty.data(), static_cast<int>(m_dirty.size()));
        m_dirty.clear();
    }
}

void Window::press(int x, int y) {
    if (!inside(ControlId::Slika, x, y)) {
        return;
    }
    if (m_pencil) {
        m_anchored = true;
        m_lastX = x;
        m_lastY = y;
        return;
    }
    m_canvas = m_colour;
    fill(onScreen(tintaro::kCanvasRect), colour(m_canvas));
}

void Window::release(int x, int y) {
    m_anchored = false;
    if (const int k = paletteAt(x, y); k >= 0) {
        const int before = m_selected;
        m_selected = k;
        m_colour = ColourTable[static_cast<std::size_t>(k)].value;
        if (before >= 0 && before != k) {
            drawPaletteFace(before);
        }
        drawPaletteFace(k);
    } else if (inside(ControlId::Papir, x, y)) {
        m_canvas = tintaro::rgb(255, 255, 255);
        fill(onScreen(tintaro::kCanvasRect), colour(m_canvas));
    } else if (inside(ControlId::olovka, x, y) || inside(ControlId::kapljica, x, y)) {
        m_pencil = inside(ControlId::olovka, x, y);
        drawTools();
    }
}

void Window::move(int x, int y, bool held) {
    if (held && m_anchored && inside(ControlId::Slika, x, y)) {
        drawSegment(m_lastX, m_lastY, x, y);
        m_lastX = x;
        m_lastY = y;
    }
    if (const int k = paletteAt(x, y); k != m_hovered) {
        const int before = m_hovered;
        m_hovered = k;
        if (before >= 0) {
            drawPaletteFace(before);
        }
        if (k >= 0) {
            drawPaletteFace(k);
        }
    }
    if (const bool lit = inside(ControlId::Papir, x, y); lit != m_papirLit) {
        m_papirLit = lit;
        drawPapir();
    }
}

void Window::run() {
    SDL_Event e;
    while (SDL_WaitEvent(&e) == 1) {
        switch (e.type) {
        case SDL_QUIT:
            return;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                press(e.button.x, e.button.y);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                release(e.button.x, e.button.y);
            }
            break;
        case SDL_MOUSEMOTION:
            move(e.motion.x, e.motion.y, (e.motion.state & SDL_BUTTON_LMASK) != 0);
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                // The surface still holds everything drawn: send it again.
                SDL_UpdateWindowSurface(m_window);
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                // SDL makes a new, empty surface when the size changes; the
                // pencil's lines are lost then, which no measurement meets.
                m_surface = SDL_GetWindowSurface(m_window);
                if (m_surface == nullptr) {
                    return;
                }
                drawAll();
            }
            break;
        default:
            break;
        }
        send();
    }
}

} // namespace

int main() {
    Window window;
    if (!window.open()) {
        return 1;
    }
    window.run();
    SDL_Quit();
    return 0;
}
