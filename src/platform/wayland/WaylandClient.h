// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct wl_output;
struct xdg_wm_base;
struct xdg_activation_v1;
struct zwp_keyboard_shortcuts_inhibit_manager_v1;

namespace tintaro {

// One connection to the Wayland compositor and the globals the program
// uses. The first seat is the one seat: a family computer has one keyboard
// and one pointer (or touch screen) in front of it.
class WaylandClient {
  public:
    // Null when no compositor answers, or when it lacks what a window needs
    // (a compositor, shared memory and xdg-shell).
    static std::unique_ptr<WaylandClient> connect();
    ~WaylandClient();
    WaylandClient(const WaylandClient&) = delete;
    WaylandClient& operator=(const WaylandClient&) = delete;

    wl_display* display() const { return m_display; }
    wl_compositor* compositor() const { return m_compositor; }
    wl_shm* shm() const { return m_shm; }
    xdg_wm_base* shell() const { return m_shell; }
    wl_seat* seat() const { return m_seat; }
    xdg_activation_v1* activation() const { return m_activation; }
    zwp_keyboard_shortcuts_inhibit_manager_v1* inhibitManager() const { return m_inhibitManager; }

    // The integer scale each output asks for; 1 when it never said.
    int scaleOf(const wl_output* output) const;
    // Called when the seat gains or loses its pointer, keyboard or touch,
    // with the seat's capability bits.
    void onSeatCapabilities(std::function<void(std::uint32_t)> handler);
    // Called when an output's scale changes.
    void onOutputScale(std::function<void()> handler);

    // Sends what is queued and reads what arrived, waiting up to timeoutMs
    // (negative: forever) for the display or for `wakeFd`, if it is not -1.
    // False when the connection is lost.
    bool dispatch(int timeoutMs, int wakeFd = -1);
    // Sends what is queued and waits for every answer to it.
    bool roundtrip();

  private:
    struct Output {
        wl_output* output;
        std::uint32_t name;
        int scale;
    };

    WaylandClient() = default;
    static void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                          std::uint32_t version);
    static void withdrawn(void* data, wl_registry* registry, std::uint32_t name);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_compositor* m_compositor = nullptr;
    wl_shm* m_shm = nullptr;
    xdg_wm_base* m_shell = nullptr;
    wl_seat* m_seat = nullptr;
    xdg_activation_v1* m_activation = nullptr;
    zwp_keyboard_shortcuts_inhibit_manager_v1* m_inhibitManager = nullptr;
    std::vector<Output> m_outputs;
    std::function<void(std::uint32_t)> m_seatHandler;
    std::uint32_t m_seatCapabilities = 0;
    std::function<void()> m_scaleHandler;

    friend struct WaylandClientListeners;
};

} // namespace tintaro
