// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct wl_surface;
struct wl_output;
struct xdg_surface;
struct xdg_toplevel;
struct zwp_keyboard_shortcuts_inhibitor_v1;

namespace tintaro {

class WaylandClient;

// A borderless xdg-shell window of the program (app id "tintaro"): its
// surface, the compositor's configure requests, the outputs it shows on,
// and the hold on the desktop's keyboard shortcuts.
class Toplevel {
  public:
    struct Configure {
        int width = 0; // 0: the window chooses
        int height = 0;
        bool fullScreen = false;
        bool activated = false;
    };
    // What the compositor does to the window: the handlers run inside the
    // client's dispatch.
    struct Handlers {
        std::function<void(const Configure&)> configured;
        std::function<void()> closeRequested;
        // The compositor's answer to the hold: true while the shortcuts go
        // to the window, false when it stopped honouring it (or refused).
        std::function<void(bool)> shortcutsHeld;
        std::function<void()> scaleChanged;
    };

    Toplevel(WaylandClient& client, const std::string& title, Handlers handlers);
    ~Toplevel();
    Toplevel(const Toplevel&) = delete;
    Toplevel& operator=(const Toplevel&) = delete;

    wl_surface* surface() const { return m_surface; }
    xdg_toplevel* toplevel() const { return m_toplevel; }

    // The first commit, without a picture, and the wait for the first
    // configure; the picture that follows maps the window. Needed again
    // after unmap().
    bool startMapping();
    bool configured() const { return m_configured; }
    // The window goes off the screen, keeping its surface and its hold.
    void unmap();

    void setFullScreen(bool on);
    // The same least and greatest size: a floating window on tiling desktops.
    void setFixedSize(int width, int height);
    void minimise();
    // Asks the compositor to send the desktop's shortcuts to this window
    // whenever it has the keyboard focus, or withdraws the request.
    void holdShortcuts(bool wanted);
    bool holdingShortcuts() const { return m_inhibitor != nullptr; }
    // The greatest integer scale of the outputs the window is on.
    int scale() const;

  private:
    friend struct ToplevelListeners;

    WaylandClient& m_client;
    Handlers m_handlers;
    wl_surface* m_surface = nullptr;
    xdg_surface* m_xdgSurface = nullptr;
    xdg_toplevel* m_toplevel = nullptr;
    zwp_keyboard_shortcuts_inhibitor_v1* m_inhibitor = nullptr;
    Configure m_pending;
    bool m_configured = false;
    std::vector<wl_output*> m_outputs;
};

} // namespace tintaro
