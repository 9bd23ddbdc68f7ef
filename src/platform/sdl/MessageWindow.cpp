// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/MessageWindow.h"

#include "platform/posix/ExitWatchdog.h"
#include "platform/sdl/X11WindowManager.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <numbers>
#include <sstream>
#include <vector>

namespace tintaro {

namespace {

// Sizes at scale 1, in pixels; the window grows with the screen (2x on 4K).
constexpr int kWidth = 480;
constexpr int kMargin = 24;
constexpr double kHeadingSize = 17;
constexpr double kBodySize = 14;
constexpr int kHeadingLine = 24;
constexpr int kBodyLine = 20;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 36;
// How often the wait looks for a request to end, should a wake be lost.
constexpr int kPollMs = 250;
constexpr double kPi = std::numbers::pi;

struct Colour {
    double r, g, b;
};
constexpr Colour kBackground{0.97, 0.96, 0.94};
constexpr Colour kInk{0.13, 0.13, 0.13};
// The button's flat face, also what a test looks for: RGB 46, 109, 180.
constexpr Colour kButton{46 / 255.0, 109 / 255.0, 180 / 255.0};
constexpr Colour kButtonHover{66 / 255.0, 133 / 255.0, 206 / 255.0};

void setColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void setFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// Words to lines no wider than `width` in the current font; a word longer
// than a line (a long file name) keeps a line of its own.
std::vector<std::string> wrap(cairo_t* cr, const std::string& text, double width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(cr, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

struct Layout {
    std::vector<std::string> heading;
    std::vector<std::string> body;
    int height = 0;
    SDL_Rect button{};
};

Layout layOut(const std::string& title, const std::string& text) {
    cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(probe);
    Layout layout;
    const double width = kWidth - 2 * kMargin;
    setFont(cr, kHeadingSize, true);
    layout.heading = wrap(cr, title, width);
    setFont(cr, kBodySize, false);
    layout.body = wrap(cr, text, width);
    cairo_destroy(cr);
    cairo_surface_destroy(probe);
    const int textHeight = static_cast<int>(layout.heading.size()) * kHeadingLine + kBodyLine / 2 +
                           static_cast<int>(layout.body.size()) * kBodyLine;
    const int buttonTop = kMargin + textHeight + kMargin;
    layout.button = {kWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight};
    layout.height = buttonTop + kButtonHeight + kMargin;
    return layout;
}

void paint(cairo_t* cr, const Layout& layout, bool hover) {
    setColour(cr, kBackground);
    cairo_paint(cr);
    setColour(cr, kInk);
    double y = kMargin;
    setFont(cr, kHeadingSize, true);
    for (const auto& line : layout.heading) {
        y += kHeadingLine;
        cairo_move_to(cr, kMargin, y - 6);
        cairo_show_text(cr, line.c_str());
    }
    y += kBodyLine / 2;
    setFont(cr, kBodySize, false);
    for (const auto& line : layout.body) {
        y += kBodyLine;
        cairo_move_to(cr, kMargin, y - 5);
        cairo_show_text(cr, line.c_str());
    }
    const SDL_Rect& b = layout.button;
    constexpr double kRadius = 6;
    cairo_new_sub_path(cr);
    cairo_arc(cr, b.x + b.w - kRadius, b.y + kRadius, kRadius, -kPi / 2, 0);
    cairo_arc(cr, b.x + b.w - kRadius, b.y + b.h - kRadius, kRadius, 0, kPi / 2);
    cairo_arc(cr, b.x + kRadius, b.y + b.h - kRadius, kRadius, kPi / 2, kPi);
    cairo_arc(cr, b.x + kRadius, b.y + kRadius, kRadius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
    setColour(cr, hover ? kButtonHover : kButton);
    cairo_fill(cr);
    setColour(cr, {1, 1, 1});
    setFont(cr, kBodySize + 1, true);
    const char* label = "OK";
    cairo_text_extents_t extents;
    cairo_text_extents(cr, label, &extents);
    cairo_move_to(cr, b.x + (b.w - extents.x_advance) / 2, b.y + b.h / 2.0 + extents.height / 2);
    cairo_show_text(cr, label);
}

int scaleForScreen() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0) {
        return 1;
    }
    return std::max(1, bounds.h / 1080);
}

class Box {
  public:
    Box(const std::string& title, const std::string& text)
        : m_layout(layOut(title, text)), m_scale(scaleForScreen()) {
        const int w = kWidth * m_scale;
        const int h = m_layout.height * m_scale;
        m_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                    SDL_WINDOW_HIDDEN);
        m_renderer = m_window != nullptr ? SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
        m_texture = m_renderer != nullptr ? SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888,
                                                              SDL_TEXTUREACCESS_STREAMING, w, h)
                                          : nullptr;
        m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    }
    ~Box() {
        cairo_surface_destroy(m_surface);
        if (m_texture != nullptr) {
            SDL_DestroyTexture(m_texture);
        }
        if (m_renderer != nullptr) {
            SDL_DestroyRenderer(m_renderer);
        }
        if (m_window != nullptr) {
            SDL_DestroyWindow(m_window);
        }
    }
    Box(const Box&) = delete;
    Box& operator=(const Box&) = delete;

    bool ready() const {
        return m_texture != nullptr && cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    }

    void run() {
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
        // Without a window manager nobody gives the box the focus, and
        // Return and Escape would go nowhere.
        if (!windowManagedOnX11(m_window)) {
            SDL_SetWindowInputFocus(m_window);
        }
        draw();
        while (!m_closed) {
            if (exitwatchdog::takeRequest()) {
                return;
            }
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, kPollMs) != 0) {
                handle(e);
            }
        }
    }

  private:
    bool overButton(int x, int y) const {
        const SDL_Point p{x / m_scale, y / m_scale};
        return SDL_PointInRect(&p, &m_layout.button) == SDL_TRUE;
    }

    bool ours(Uint32 windowId) const { return windowId == SDL_GetWindowID(m_window); }

    void handle(const SDL_Event& e) {
        switch (e.type) {
        case SDL_QUIT:
            m_closed = true;
            break;
        case SDL_WINDOWEVENT:
            if (!ours(e.window.windowID)) {
                break;
            }
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                m_closed = true;
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                draw();
            }
            break;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
            case SDLK_ESCAPE:
            case SDLK_SPACE:
                m_closed = true;
                break;
            default:
                break;
            }
            break;
        case SDL_MOUSEMOTION:
            if (ours(e.motion.windowID) && overButton(e.motion.x, e.motion.y) != m_hover) {
                m_hover = !m_hover;
                draw();
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            m_pressed = ours(e.button.windowID) && e.button.button == SDL_BUTTON_LEFT &&
                        overButton(e.button.x, e.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
            // A press and a release on the button, as with any button.
            if (m_pressed && ours(e.button.windowID) && overButton(e.button.x, e.button.y)) {
                m_closed = true;
            }
            m_pressed = false;
            break;
        default:
            break;
        }
    }

    void draw() {
        cairo_t* cr = cairo_create(m_surface);
        cairo_scale(cr, m_scale, m_scale);
        paint(cr, m_layout, m_hover);
        cairo_destroy(cr);
        cairo_surface_flush(m_surface);
        SDL_UpdateTexture(m_texture, nullptr, cairo_image_surface_get_data(m_surface),
                          cairo_image_surface_get_stride(m_surface));
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_RenderPresent(m_renderer);
    }

    Layout m_layout;
    int m_scale;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    cairo_surface_t* m_surface = nullptr;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_closed = false;
};

} // namespace

void runMessageWindow(const std::string& title, const std::string& text) {
    Box box(title, text);
    if (box.ready()) {
        box.run();
    }
}

} // namespace tintaro
