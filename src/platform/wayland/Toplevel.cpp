// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/Toplevel.h"

#include "platform/wayland/WaylandClient.h"

#include <wayland-client.h>

#include "keyboard-shortcuts-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <algorithm>

namespace tintaro {

struct ToplevelListeners {
    static void enter(void* data, wl_surface*, wl_output* output) {
        auto* t = static_cast<Toplevel*>(data);
        t->m_outputs.push_back(output);
        if (t->m_handlers.scaleChanged) {
            t->m_handlers.scaleChanged();
        }
    }
    static void leave(void* data, wl_surface*, wl_output* output) {
        auto* t = static_cast<Toplevel*>(data);
        std::erase(t->m_outputs, output);
        if (t->m_handlers.scaleChanged) {
            t->m_handlers.scaleChanged();
        }
    }

    static void surfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial) {
        auto* t = static_cast<Toplevel*>(data);
        xdg_surface_ack_configure(surface, serial);
        t->m_configured = true;
        if (t->m_handlers.configured) {
            t->m_handlers.configured(t->m_pending);
        }
    }

    static void configure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height,
                          wl_array* states) {
        auto* t = static_cast<Toplevel*>(data);
        t->m_pending = Toplevel::Configure{std::max(0, width), std::max(0, height), false, false};
        const auto* state = static_cast<const std::uint32_t*>(states->data);
        for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
            if (state[i] == XDG_TOPLEVEL_STATE_FULLSCREEN) {
                t->m_pending.fullScreen = true;
            } else if (state[i] == XDG_TOPLEVEL_STATE_ACTIVATED) {
                t->m_pending.activated = true;
            }
        }
    }
    static void bounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
    static void capabilities(void*, xdg_toplevel*, wl_array*) {}
    static void close(void* data, xdg_toplevel*) {
        auto* t = static_cast<Toplevel*>(data);
        if (t->m_handlers.closeRequested) {
            t->m_handlers.closeRequested();
        }
    }

    static void active(void* data, zwp_keyboard_shortcuts_inhibitor_v1*) {
        auto* t = static_cast<Toplevel*>(data);
        if (t->m_handlers.shortcutsHeld) {
            t->m_handlers.shortcutsHeld(true);
        }
    }
    static void inactive(void* data, zwp_keyboard_shortcuts_inhibitor_v1*) {
        auto* t = static_cast<Toplevel*>(data);
        if (t->m_handlers.shortcutsHeld) {
            t->m_handlers.shortcutsHeld(false);
        }
    }
};

namespace {

constexpr wl_surface_listener kSurfaceListener{ToplevelListeners::enter, ToplevelListeners::leave};
constexpr xdg_surface_listener kXdgSurfaceListener{ToplevelListeners::surfaceConfigure};
constexpr xdg_toplevel_listener kToplevelListener{ToplevelListeners::configure, ToplevelListeners::close,
                                                  ToplevelListeners::bounds, ToplevelListeners::capabilities};
constexpr zwp_keyboard_shortcuts_inhibitor_v1_listener kInhibitorListener{ToplevelListeners::active,
                                                                          ToplevelListeners::inactive};

} // namespace

Toplevel::Toplevel(WaylandClient& client, const std::string& title, Handlers handlers)
    : m_client(client), m_handlers(std::move(handlers)) {
    m_surface = wl_compositor_create_surface(client.compositor());
    wl_surface_add_listener(m_surface, &kSurfaceListener, this);
    m_xdgSurface = xdg_wm_base_get_xdg_surface(client.shell(), m_surface);
    xdg_surface_add_listener(m_xdgSurface, &kXdgSurfaceListener, this);
    m_toplevel = xdg_surface_get_toplevel(m_xdgSurface);
    xdg_toplevel_add_listener(m_toplevel, &kToplevelListener, this);
    xdg_toplevel_set_title(m_toplevel, title.c_str());
    // The desktop file's name: GNOME and KDE find the icon and the
    // permission to hold the shortcuts by it.
    xdg_toplevel_set_app_id(m_toplevel, "tintaro");
}

Toplevel::~Toplevel() {
    holdShortcuts(false);
    xdg_toplevel_destroy(m_toplevel);
    xdg_surface_destroy(m_xdgSurface);
    wl_surface_destroy(m_surface);
    wl_display_flush(m_client.display());
}

bool Toplevel::startMapping() {
    if (m_configured) {
        return true;
    }
    wl_surface_commit(m_surface);
    while (!m_configured) {
        if (!m_client.roundtrip()) {
            return false;
        }
    }
    return true;
}

void Toplevel::unmap() {
    wl_surface_attach(m_surface, nullptr, 0, 0);
    wl_surface_commit(m_surface);
    m_configured = false;
}

void Toplevel::setFullScreen(bool on) {
    if (on) {
        xdg_toplevel_set_fullscreen(m_toplevel, nullptr);
    } else {
        xdg_toplevel_unset_fullscreen(m_toplevel);
    }
}

void Toplevel::setFixedSize(int width, int height) {
    xdg_toplevel_set_min_size(m_toplevel, width, height);
    xdg_toplevel_set_max_size(m_toplevel, width, height);
}

void Toplevel::minimise() {
    xdg_toplevel_set_minimized(m_toplevel);
}

void Toplevel::holdShortcuts(bool wanted) {
    if (wanted && m_inhibitor == nullptr && m_client.inhibitManager() != nullptr &&
        m_client.seat() != nullptr) {
        m_inhibitor = zwp_keyboard_shortcuts_inhibit_manager_v1_inhibit_shortcuts(m_client.inhibitManager(),
                                                                                  m_surface, m_client.seat());
        zwp_keyboard_shortcuts_inhibitor_v1_add_listener(m_inhibitor, &kInhibitorListener, this);
    } else if (!wanted && m_inhibitor != nullptr) {
        zwp_keyboard_shortcuts_inhibitor_v1_destroy(m_inhibitor);
        m_inhibitor = nullptr;
    }
    wl_display_flush(m_client.display());
}

int Toplevel::scale() const {
    int scale = 1;
    for (const wl_output* output : m_outputs) {
        scale = std::max(scale, m_client.scaleOf(output));
    }
    return scale;
}

} // namespace tintaro
