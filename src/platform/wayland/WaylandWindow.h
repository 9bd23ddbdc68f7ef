// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FrameScaler.h"
#include "platform/WindowKeyboardGuard.h"
#include "platform/wayland/ShmBuffers.h"
#include "platform/wayland/WaylandKeys.h"

#include <cstdint>
#include <deque>
#include <memory>

struct wl_pointer;
struct wl_keyboard;
struct wl_touch;
struct wl_surface;
struct wl_callback;
struct wl_cursor_theme;
struct wl_buffer;

namespace tintaro {

class WaylandClient;
class Toplevel;

// The one window, natively on a Wayland desktop: the 1024 x 768 frame
// scaled to the window with its aspect kept, drawn in software into shared
// memory, only what changed, at most once a frame of the compositor's.
// Keys come through xkbcommon, and the guard's hold is the compositor's
// keyboard-shortcuts inhibitor, whose answers the window reports.
class WaylandWindow final : public HoldingWindow {
  public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    WaylandWindow(WaylandClient& client, Files& files, bool windowed);
    ~WaylandWindow() override;
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    bool create(const std::string& title) override;
    void show() override;
    void hide() override;
    void minimise() override;
    bool enterFullScreen() override;
    void leaveFullScreen() override;
    void present(const Image& frame, std::span<const Rect> dirty) override;
    std::optional<Event> waitEvent(int timeoutMs) override;
    std::unique_ptr<Cursor> loadCursor(const std::string& iconPath) override;
    void setCursor(CursorKind kind, const Cursor* custom) override;
    void destroy() override;
    void showMessage(const std::string& title, const std::string& text) override;

    void holdKeyboard(bool wanted) override;
    bool windowed() const override { return m_windowed; }

    // A cursor picture in shared memory with its hot spot: the desktop
    // theme's, or one of ours (`owned`).
    struct CursorImage {
        wl_buffer* buffer = nullptr;
        int width = 0;
        int height = 0;
        int hotX = 0;
        int hotY = 0;
        std::unique_ptr<ShmBuffers> owned;
    };
    // A loaded cursor is about to go.
    void cursorGone(const CursorImage* image);

  private:
    friend struct WaylandWindowListeners;
    friend struct SeatListeners;

    // Draws what changed into a buffer the compositor does not hold and
    // shows it, unless the last one has not reached the screen yet: then
    // the changes wait for it, and a burst of them is shown at once.
    void draw();
    void configured(int width, int height, bool activated);
    void resizeBuffers();
    // The hold as the compositor's answers and the keyboard focus make it.
    void updateGuard();
    void reportGuard(GuardState state);
    void push(Event event);
    void pushPointer(EventType type, double surfaceX, double surfaceY, int button);
    void bringForward(const std::string& activationToken);
    void seatChanged(std::uint32_t capabilities);
    void applyCursor();
    const CursorImage* themeCursor(CursorImage& slot, bool& tried, const char* const* names);

    WaylandClient& m_client;
    Files& m_files;
    bool m_windowed;
    std::unique_ptr<Toplevel> m_top;
    ShmBuffers m_buffers;
    FrameScaler m_scaler;
    Image m_frame;
    int m_width = kWidth; // the window's size and scale as the compositor has it
    int m_height = kHeight;
    int m_scale = 1;
    bool m_shown = false;
    bool m_activated = false;
    bool m_gone = false; // the connection to the compositor is lost
    bool m_needsDraw = false;
    wl_callback* m_frameCallback = nullptr;
    std::deque<Event> m_events;
    GuardState m_guard = GuardState::NotHeld;
    enum class Inhibitor { Unanswered, Active, Inactive };
    Inhibitor m_inhibitor = Inhibitor::Unanswered;
    bool m_keyboardFocus = false; // the seat's keyboard is on the window
    bool m_keyboardWanted = false;

    wl_pointer* m_pointer = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    wl_touch* m_touch = nullptr;
    WaylandKeys m_keys;
    std::uint32_t m_pointerSerial = 0; // the pointer's last entry, for its cursor
    int m_buttons = 0;
    double m_pointerX = 0; // in the surface's coordinates
    double m_pointerY = 0;
    std::int32_t m_touchId = -1; // the one touch that acts as the left button

    wl_surface* m_cursorSurface = nullptr;
    wl_cursor_theme* m_cursorTheme = nullptr;
    CursorImage m_arrow, m_hand, m_palette, m_drop;
    bool m_arrowTried = false, m_handTried = false, m_paletteTried = false, m_dropTried = false;
    const CursorImage* m_cursor = nullptr;
};

} // namespace tintaro
