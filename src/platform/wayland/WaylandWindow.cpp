// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/WaylandWindow.h"

#include "platform/sdl/MessageWindow.h"
#include "platform/wayland/Toplevel.h"
#include "platform/wayland/WaylandClient.h"

#include <wayland-client.h>
#include <wayland-cursor.h>

#include "xdg-activation-v1-client-protocol.h"

#include <algorithm>
#include <cstring>

// The window's life on Wayland: made, shown, hidden, full screen, drawn.
namespace tintaro {

struct WaylandWindowListeners {
    static void frameDone(void* data, wl_callback* callback, std::uint32_t) {
        auto* w = static_cast<WaylandWindow*>(data);
        wl_callback_destroy(callback);
        w->m_frameCallback = nullptr;
        if (w->m_needsDraw) {
            w->draw();
        }
    }

    static void tokenDone(void* data, xdg_activation_token_v1* token, const char* name) {
        auto* w = static_cast<WaylandWindow*>(data);
        if (w->m_top && w->m_client.activation() != nullptr) {
            xdg_activation_v1_activate(w->m_client.activation(), name, w->m_top->surface());
        }
        xdg_activation_token_v1_destroy(token);
    }
};

namespace {

constexpr wl_callback_listener kFrameListener{WaylandWindowListeners::frameDone};
constexpr xdg_activation_token_v1_listener kTokenListener{WaylandWindowListeners::tokenDone};

} // namespace

WaylandWindow::WaylandWindow(WaylandClient& client, Files& files, bool windowed)
    : m_client(client), m_files(files), m_windowed(windowed), m_buffers([this] {
          if (m_needsDraw && m_frameCallback == nullptr) {
              draw();
          }
      }),
      m_frame(kWidth, kHeight, kBlack) {
    // Full screen the hold is wanted from the start: it is asked for as
    // soon as the window exists.
    m_keyboardWanted = !windowed;
}

WaylandWindow::~WaylandWindow() {
    destroy();
}

bool WaylandWindow::create(const std::string& title) {
    if (m_top) {
        return true;
    }
    Toplevel::Handlers handlers;
    handlers.configured = [this](const Toplevel::Configure& c) {
        configured(c.width, c.height, c.activated);
    };
    handlers.closeRequested = [this] {
        Event quit;
        quit.type = EventType::Quit;
        push(quit);
    };
    handlers.shortcutsHeld = [this](bool held) {
        m_inhibitor = held ? Inhibitor::Active : Inhibitor::Inactive;
        updateGuard();
    };
    handlers.scaleChanged = [this] { resizeBuffers(); };
    m_top = std::make_unique<Toplevel>(m_client, title, std::move(handlers));
    if (m_windowed) {
        // A development window keeps the layout's own size.
        m_top->setFixedSize(kWidth, kHeight);
    }
    m_client.onSeatCapabilities([this](std::uint32_t caps) { seatChanged(caps); });
    m_client.onOutputScale([this] { resizeBuffers(); });
    m_cursorSurface = wl_compositor_create_surface(m_client.compositor());
    // The hold is asked for as the window is made, before it shows: the
    // compositor honours it the moment the window has the keyboard.
    if (m_keyboardWanted) {
        holdKeyboard(true);
    }
    // The window's own pointer is the arrow from the start.
    setCursor(CursorKind::Arrow, nullptr);
    return m_top->startMapping();
}

void WaylandWindow::configured(int width, int height, bool activated) {
    m_width = width > 0 ? width : kWidth;
    m_height = height > 0 ? height : kHeight;
    resizeBuffers();
    if (activated != m_activated) {
        m_activated = activated;
        Event focus;
        focus.type = activated ? EventType::FocusGained : EventType::FocusLost;
        push(focus);
    }
}

void WaylandWindow::resizeBuffers() {
    if (!m_top) {
        return;
    }
    const int scale = m_top->scale();
    const int width = m_width * scale;
    const int height = m_height * scale;
    if (scale == m_scale && width == m_buffers.width() && height == m_buffers.height()) {
        return;
    }
    m_scale = scale;
    if (!m_buffers.resize(m_client.shm(), width, height)) {
        return;
    }
    m_scaler.setSizes(kWidth, kHeight, width, height);
    wl_surface_set_buffer_scale(m_top->surface(), scale);
    m_needsDraw = true;
    if (m_shown && m_frameCallback == nullptr) {
        draw();
    }
    Event exposed;
    exposed.type = EventType::Exposed;
    push(exposed);
}

void WaylandWindow::show() {
    if (!m_top || m_gone) {
        return;
    }
    if (!m_top->startMapping()) {
        return;
    }
    m_shown = true;
    m_buffers.invalidateAll();
    m_needsDraw = true;
    if (m_frameCallback == nullptr) {
        draw();
    }
    wl_display_flush(m_client.display());
}

void WaylandWindow::hide() {
    if (!m_top || !m_shown) {
        return;
    }
    m_shown = false;
    if (m_frameCallback != nullptr) {
        wl_callback_destroy(m_frameCallback);
        m_frameCallback = nullptr;
    }
    m_top->unmap();
    // The window has no focus off the screen, and takes none back until shown.
    if (m_activated) {
        m_activated = false;
        Event lost;
        lost.type = EventType::FocusLost;
        push(lost);
    }
    wl_display_flush(m_client.display());
}

void WaylandWindow::minimise() {
    if (m_top && m_shown) {
        // The compositor decides, and gives the focus to what comes forward;
        // the hold follows the focus by itself.
        m_top->minimise();
        wl_display_flush(m_client.display());
    }
}

bool WaylandWindow::enterFullScreen() {
    if (m_windowed) {
        return true;
    }
    if (!m_top) {
        return false;
    }
    m_top->setFullScreen(true);
    wl_display_flush(m_client.display());
    return true;
}

void WaylandWindow::leaveFullScreen() {
    if (!m_windowed && m_top) {
        m_top->setFullScreen(false);
        wl_display_flush(m_client.display());
    }
}

void WaylandWindow::bringForward(const std::string& activationToken) {
    if (!m_top || !m_shown || m_gone || m_client.activation() == nullptr) {
        return; // still starting: the splash is what shows
    }
    if (!activationToken.empty()) {
        xdg_activation_v1_activate(m_client.activation(), activationToken.c_str(), m_top->surface());
    } else {
        // No token came with the request: ask for one of our own. It names
        // no input event, since none of ours caused the request (a
        // compositor refuses a token for an input that was not the last).
        xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(m_client.activation());
        xdg_activation_token_v1_add_listener(token, &kTokenListener, this);
        xdg_activation_token_v1_set_app_id(token, "tintaro");
        xdg_activation_token_v1_set_surface(token, m_top->surface());
        xdg_activation_token_v1_commit(token);
    }
    if (!m_windowed) {
        m_top->setFullScreen(true);
    }
    wl_display_flush(m_client.display());
}

void WaylandWindow::present(const Image& frame, std::span<const Rect> dirty) {
    if (m_gone || frame.width != kWidth || frame.height != kHeight ||
        frame.pixels.size() != static_cast<std::size_t>(kWidth) * kHeight) {
        return;
    }
    bool changed = false;
    for (const Rect& r : dirty) {
        const Rect area = copyArea(frame, m_frame, r);
        if (area.empty()) {
            continue;
        }
        m_buffers.invalidate(area);
        changed = true;
    }
    if (!changed) {
        return;
    }
    m_needsDraw = true;
    if (m_frameCallback == nullptr) {
        draw();
    }
}

void WaylandWindow::draw() {
    if (!m_shown || m_gone || !m_top || !m_top->configured()) {
        return;
    }
    ShmBuffer* buffer = m_buffers.idle();
    if (buffer == nullptr) {
        return; // drawn when the compositor gives one back
    }
    wl_surface* surface = m_top->surface();
    if (buffer->whole) {
        m_scaler.drawAll(m_frame, buffer->pixels);
        wl_surface_damage_buffer(surface, 0, 0, buffer->width, buffer->height);
    } else {
        for (const Rect& area : buffer->stale) {
            const Rect drawn = m_scaler.draw(m_frame, area, buffer->pixels);
            if (!drawn.empty()) {
                wl_surface_damage_buffer(surface, drawn.x, drawn.y, drawn.w, drawn.h);
            }
        }
    }
    buffer->whole = false;
    buffer->stale.clear();
    buffer->busy = true;
    m_needsDraw = false;
    wl_surface_attach(surface, buffer->buffer, 0, 0);
    m_frameCallback = wl_surface_frame(surface);
    wl_callback_add_listener(m_frameCallback, &kFrameListener, this);
    wl_surface_commit(surface);
    wl_display_flush(m_client.display());
}

void WaylandWindow::holdKeyboard(bool wanted) {
    m_keyboardWanted = wanted && !m_windowed;
    if (!m_top) {
        return;
    }
    const bool had = m_top->holdingShortcuts();
    m_top->holdShortcuts(m_keyboardWanted);
    if (!had && m_top->holdingShortcuts()) {
        // The compositor answers once the window has the keyboard.
        m_inhibitor = Inhibitor::Unanswered;
    }
    updateGuard();
}

void WaylandWindow::updateGuard() {
    if (!m_top || !m_top->holdingShortcuts()) {
        reportGuard(GuardState::NotHeld);
    } else if (m_inhibitor == Inhibitor::Unanswered) {
        reportGuard(GuardState::Asked);
    } else {
        // A compositor may leave its inhibitor active while another window
        // has the keyboard (sway does) and honour it only for the window in
        // front: held means both.
        reportGuard(m_inhibitor == Inhibitor::Active && m_keyboardFocus ? GuardState::Held
                                                                        : GuardState::NotHeld);
    }
}

void WaylandWindow::reportGuard(GuardState state) {
    if (state == m_guard) {
        return;
    }
    m_guard = state;
    Event changed;
    changed.type = EventType::GuardChanged;
    changed.guard = state;
    push(changed);
}

void WaylandWindow::push(Event event) {
    m_events.push_back(event);
}

void WaylandWindow::showMessage(const std::string& title, const std::string& text) {
    // A message is the last thing the program shows: the hold goes first
    // and is not taken again, and the full-screen window, which would cover
    // the message, goes too.
    holdKeyboard(false);
    hide();
    runMessageWindow(title, text);
}

void WaylandWindow::destroy() {
    if (m_frameCallback != nullptr) {
        wl_callback_destroy(m_frameCallback);
        m_frameCallback = nullptr;
    }
    seatChanged(0);
    for (CursorImage* c : {&m_arrow, &m_hand, &m_palette, &m_drop}) {
        *c = CursorImage{};
    }
    m_cursor = nullptr;
    m_arrowTried = m_handTried = m_paletteTried = m_dropTried = false;
    if (m_cursorTheme != nullptr) {
        wl_cursor_theme_destroy(m_cursorTheme);
        m_cursorTheme = nullptr;
    }
    if (m_cursorSurface != nullptr) {
        wl_surface_destroy(m_cursorSurface);
        m_cursorSurface = nullptr;
    }
    m_buffers.resize(m_client.shm(), 0, 0);
    m_top.reset();
    m_shown = false;
    m_client.onSeatCapabilities({});
    m_client.onOutputScale({});
    wl_display_flush(m_client.display());
}

} // namespace tintaro
