// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FrameScaler.h"
#include "platform/WindowKeyboardGuard.h"
#include "platform/sdl/KeyboardHold.h"

#include <cstdint>

struct SDL_Window;
struct SDL_Surface;
struct SDL_Cursor;
struct SDL_Rect;
union SDL_Event;

namespace tintaro {

// The one borderless window: a 1024 x 768 logical frame scaled to fit the
// window with its aspect kept, drawn by our scaler straight into the
// window's framebuffer (shared memory on X11), only what changed.
class SdlWindow final : public HoldingWindow {
  public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    SdlWindow(Files& files, bool windowed);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

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

    // The keyboard guard's hold. Full screen it is wanted from the start, so
    // the keyboard is held from the moment the window exists, hidden or
    // shown, whatever has the focus; it is let go only while the window is
    // minimised and when the guard is removed.
    void holdKeyboard(bool wanted) override;
    bool windowed() const override { return m_windowed; }

  private:
    // The window and its framebuffer on SDL's current video driver.
    bool open(const std::string& title);
    // Registers the event the exit watchdog sends to wake a wait.
    static void registerWakeEvent();
    std::optional<Event> translate(const SDL_Event& e);
    KeyboardHold::Place holdPlace() const;
    // The hold as the X server granted it; natively on Wayland through SDL
    // nobody says, so asked is all that is known.
    GuardState guardState() const;
    void updateHold();
    void keepHold();
    // Full screen without a window manager's help: the window itself moved
    // and sized over the whole display, the frame scaled into it as usual;
    // also where a window manager did not answer the request in time.
    void coverScreen();
    void checkFullScreen();
    std::optional<SDL_Rect> screenBounds() const;
    // A second start asked for the window: out of minimised or from behind
    // other windows, full screen again and holding the keyboard.
    void bringForward(const std::string& activationToken);
    static int watchGrab(void* self, SDL_Event* e);
    // The framebuffer anew after the window's size changed; false when SDL
    // has none to give.
    bool takeSurface();
    void redraw();
    SDL_Cursor* uiCursor(SDL_Cursor*& slot, bool& tried, std::span<const std::uint8_t> picture);

    Files& m_files;
    bool m_windowed;
    bool m_videoReady = false;
    bool m_fullScreenAsked = false; // of the X11 window manager, directly
    bool m_keyboardWanted;
    bool m_shown = false;
    bool m_minimised = false;
    bool m_gone = false;                  // destroyed by another client
    bool m_sdlGrab = false;               // SDL's own keyboard-grab flag
    std::uint64_t m_minimiseDeadline = 0; // a minimise asked for and not seen yet
    std::uint64_t m_fullScreenCheck = 0;  // when to look whether full screen was granted
    bool m_coveredByUs = false;
    bool m_lowered = false;                   // put behind other windows where nobody minimises
    GuardState m_guard = GuardState::NotHeld; // as last reported
    unsigned long m_xwindow = 0;
    EarlyKeyboardHold m_earlyHold;
    KeyboardHold m_hold;
    SDL_Window* m_window = nullptr;
    SDL_Surface* m_surface = nullptr; // the window's own, SDL's to free
    FrameScaler m_scaler;
    Image m_frame{kWidth, kHeight, kBlack}; // the frame as last presented
    SDL_Cursor* m_arrow = nullptr;
    SDL_Cursor* m_hand = nullptr;
    SDL_Cursor* m_palette = nullptr;
    SDL_Cursor* m_drop = nullptr;
    bool m_paletteTried = false;
    bool m_dropTried = false;
};

} // namespace tintaro
