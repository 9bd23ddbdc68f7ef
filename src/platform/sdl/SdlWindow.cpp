// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindow.h"

#include "platform/pictures/UiPictures.h"
#include "platform/sdl/LeanSdl.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/WaylandActivation.h"
#include "platform/sdl/X11WindowManager.h"
#include "platform/sdl/XWaylandGrab.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>

// The window's life: made, shown, hidden, minimised, full screen, destroyed.
namespace tintaro {

namespace {

// A window manager that has not minimised the window this long after the
// request will not: the window is still in front and takes the keyboard back.
constexpr std::uint64_t kMinimiseAnswerMs = 1000;
// A window manager that has not made the window full screen this long after
// the request will not: the window covers the screen by itself.
constexpr std::uint64_t kFullScreenAnswerMs = 1000;

} // namespace

SdlWindow::SdlWindow(Files& files, bool windowed)
    : m_files(files), m_windowed(windowed), m_keyboardWanted(!windowed) {
    // Constructed first of the platform, before the audio and SDL's video
    // start: the keyboard is held from the program's first moments.
    if (m_keyboardWanted) {
        m_earlyHold.take();
    }
}

// The video subsystem stays up to the end of the process; SdlPlatform.cpp
// says why.
SdlWindow::~SdlWindow() {
    destroy();
}

bool SdlWindow::create(const std::string& title) {
    if (m_window != nullptr) {
        return true;
    }
    if (!m_videoReady) {
        // Closing the window is a request the program answers itself; only
        // signals should arrive as SDL_QUIT.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (!initVideoOnADisplay()) {
            std::fprintf(stderr,
                         "tintaro: no display to show the window on (neither WAYLAND_DISPLAY nor DISPLAY)\n");
            return false;
        }
        m_videoReady = true;
    }
    if (!open(title)) {
        // Natively on Wayland the window needs a GPU driver (Mesa's software
        // one will do) to draw with; through XWayland it needs none.
        const std::string why = SDL_GetError();
        if (!restartVideoOnFallback() || !open(title)) {
            std::fprintf(stderr, "tintaro: cannot make the window: %s\n", why.c_str());
            return false;
        }
    }
    m_shown = false;
    m_gone = false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(m_window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        m_xwindow = info.info.x11.window;
        m_hold.attach(info.info.x11.display, info.info.x11.window);
    }
    // The first thing the window does: hold the keyboard, hidden as it is.
    // SDL's own flag goes first, while the early hold still has the
    // keyboard: setting it makes SDL let go of any grab of this connection.
    if (holdPlace() != KeyboardHold::Place::Nowhere) {
        allowXWaylandKeyboardGrab(m_window);
        SDL_SetWindowKeyboardGrab(m_window, SDL_TRUE);
        m_sdlGrab = true;
    }
    m_earlyHold.handOver();
    updateHold();
    m_earlyHold.close();
    SDL_AddEventWatch(&SdlWindow::watchGrab, this);
    // X events reach translate() too, for the one SDL does not report: the
    // window destroyed by another client.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    registerWakeEvent();
    if (SurfacePtr icon = decodeSurface(windowIconPicture())) {
        SDL_SetWindowIcon(m_window, icon.get());
    }
    // The window's own pointer is the arrow from the start, not whatever the
    // desktop behind it shows.
    setCursor(CursorKind::Arrow, nullptr);
    // Keys are shortcuts here, never text: an input method must not catch them.
    SDL_StopTextInput();
    redraw();
    return true;
}

bool SdlWindow::open(const std::string& title) {
    // Until the start-up asks for full screen (X11WindowManager.h, or elsewhere
    // SDL_WINDOW_FULLSCREEN_DESKTOP), the window sits borderless at the top
    // left corner of the screen.
    const Uint32 flags = SDL_WINDOW_HIDDEN | (m_windowed ? 0u : static_cast<Uint32>(SDL_WINDOW_BORDERLESS));
    const int position = m_windowed ? SDL_WINDOWPOS_CENTERED : 0;
    m_window = SDL_CreateWindow(title.c_str(), position, position, kWidth, kHeight, flags);
    if (m_window == nullptr || !takeSurface()) {
        destroy();
        return false;
    }
    return true;
}

void SdlWindow::show() {
    if (m_window == nullptr) {
        return;
    }
    SDL_ShowWindow(m_window);
    SDL_RaiseWindow(m_window);
    m_shown = true;
    updateHold();
}

void SdlWindow::hide() {
    if (m_window == nullptr) {
        return;
    }
    // The keeper takes the hold first: unmapping the window that holds a
    // grab ends it.
    m_shown = false;
    updateHold();
    SDL_HideWindow(m_window);
}

void SdlWindow::minimise() {
    if (m_window == nullptr) {
        return;
    }
    // Whatever comes to the front (a browser) must receive the keys, so the
    // hold goes first.
    if (m_xwindow == 0) {
        SDL_MinimizeWindow(m_window); // the compositor decides, and takes the focus
        return;
    }
    if (m_hold.windowManaged()) {
        m_minimiseDeadline = SDL_GetTicks64() + kMinimiseAnswerMs;
        updateHold();
        SDL_MinimizeWindow(m_window);
        return;
    }
    // Without a window manager nobody minimises the window: it goes behind
    // every other window instead, where the browser comes up in front of it,
    // until a click on what shows of it or a second start brings it back.
    m_lowered = true;
    updateHold();
    lowerX11Window(m_window);
}

void SdlWindow::bringForward(const std::string& activationToken) {
    if (m_window == nullptr || !m_shown || m_gone) {
        return; // still starting: the splash is what shows
    }
    m_minimiseDeadline = 0;
    m_lowered = false;
    if (m_minimised) {
        SDL_RestoreWindow(m_window);
    }
    if (!activateWithToken(m_window, activationToken)) {
        SDL_RaiseWindow(m_window);
    }
    if (m_fullScreenAsked) {
        // A window manager may have let go of full screen while the window
        // was minimised; without one the window covers the screen itself.
        if (m_coveredByUs) {
            coverScreen();
        } else {
            askFullScreen(m_window, true);
        }
    }
    updateHold();
}

bool SdlWindow::enterFullScreen() {
    if (m_windowed) {
        return true;
    }
    if (askFullScreen(m_window, true)) {
        m_fullScreenAsked = true;
        // Kiosks and a child's session run without a window manager, and
        // nobody would answer the request.
        if (windowManagedOnX11(m_window)) {
            m_fullScreenCheck = SDL_GetTicks64() + kFullScreenAnswerMs;
        } else {
            coverScreen();
        }
        return true;
    }
    // Desktop full screen covers the current display at its own resolution;
    // the logical size scales the frame. The physical mode never changes, so
    // a crash cannot leave the screen at a wrong resolution.
    if (m_window == nullptr || SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        return false;
    }
    // The switch may pass through SDL's own grab bookkeeping.
    m_hold.renew();
    return true;
}

void SdlWindow::leaveFullScreen() {
    if (m_fullScreenAsked) {
        m_fullScreenAsked = false;
        m_fullScreenCheck = 0;
        askFullScreen(m_window, false);
        if (m_coveredByUs) {
            m_coveredByUs = false;
            SDL_SetWindowSize(m_window, kWidth, kHeight);
            SDL_SetWindowPosition(m_window, 0, 0);
        }
        return;
    }
    if (!m_windowed && m_window != nullptr) {
        SDL_SetWindowFullscreen(m_window, 0);
        m_hold.renew();
    }
}

std::optional<SDL_Rect> SdlWindow::screenBounds() const {
    SDL_Rect screen;
    if (m_window == nullptr || SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &screen) != 0) {
        return std::nullopt;
    }
    return screen;
}

void SdlWindow::coverScreen() {
    if (const auto screen = screenBounds()) {
        m_coveredByUs = true;
        SDL_SetWindowPosition(m_window, screen->x, screen->y);
        SDL_SetWindowSize(m_window, screen->w, screen->h);
        SDL_RaiseWindow(m_window);
    }
}

void SdlWindow::checkFullScreen() {
    if (m_fullScreenCheck == 0 || SDL_GetTicks64() < m_fullScreenCheck) {
        return;
    }
    m_fullScreenCheck = 0;
    const auto screen = screenBounds();
    if (!m_fullScreenAsked || m_minimised || !screen) {
        return;
    }
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(m_window, &x, &y);
    SDL_GetWindowSize(m_window, &w, &h);
    if (x > screen->x || y > screen->y || x + w < screen->x + screen->w || y + h < screen->y + screen->h) {
        coverScreen();
    }
}

void SdlWindow::destroy() {
    if (m_window != nullptr) {
        SDL_DelEventWatch(&SdlWindow::watchGrab, this);
    }
    m_sdlGrab = false;
    m_hold.detach();
    m_xwindow = 0;
    for (SDL_Cursor** c : {&m_arrow, &m_hand, &m_palette, &m_drop}) {
        if (*c != nullptr) {
            SDL_FreeCursor(*c);
            *c = nullptr;
        }
    }
    m_paletteTried = m_dropTried = false;
    m_surface = nullptr;
    if (m_window != nullptr) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
}

} // namespace tintaro
