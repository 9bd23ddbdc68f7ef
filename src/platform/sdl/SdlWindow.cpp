#include "platform/sdl/SdlWindow.h"

#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/UiPictures.h"
#include "platform/sdl/ExitWatchdog.h"
#include "platform/sdl/KeyMap.h"
#include "platform/sdl/LeanSdl.h"
#include "platform/sdl/X11FullScreen.h"
#include "platform/sdl/XWaylandGrab.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tintaro {

namespace {

// A window manager that has not minimised the window this long after the
// request will not: the window is still in front and takes the keyboard back.
constexpr std::uint64_t kMinimiseAnswerMs = 1000;
// How soon a hold that another client refused is tried again.
constexpr int kHoldRetryMs = 5;

// The event the exit watchdog sends to wake a wait; it carries nothing.
std::atomic<Uint32> g_wakeEvent{0};

void wakeEventLoop() {
    SDL_Event e{};
    e.type = g_wakeEvent.load();
    SDL_PushEvent(&e);
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Cursors and icons keep their transparency. The decoder refuses damaged
// and oversized pictures before allocating anything.
SurfacePtr decodeSurface(std::span<const std::uint8_t> bytes) {
    const auto picture = decodePicture(bytes);
    if (!picture) {
        return nullptr;
    }
    SurfacePtr surface(
        SDL_CreateRGBSurfaceWithFormat(0, picture->width, picture->height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface) {
        return nullptr;
    }
    for (int y = 0; y < picture->height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(surface->pixels) +
                        static_cast<std::size_t>(y) * surface->pitch,
                    &picture->argb[static_cast<std::size_t>(y) * picture->width],
                    static_cast<std::size_t>(picture->width) * 4);
    }
    return surface;
}

SDL_Cursor* centredCursor(std::span<const std::uint8_t> bytes) {
    SurfacePtr surface = decodeSurface(bytes);
    if (!surface) {
        return nullptr;
    }
    return SDL_CreateColorCursor(surface.get(), surface->w / 2, surface->h / 2);
}

int shiftMask(Uint16 mod) {
    int mask = 0;
    if (mod & KMOD_SHIFT) {
        mask |= kShift;
    }
    if (mod & KMOD_CTRL) {
        mask |= kCtrl;
    }
    if (mod & KMOD_ALT) {
        mask |= kAlt;
    }
    return mask;
}

int buttonOf(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return kLeftButton;
    case SDL_BUTTON_RIGHT:
        return kRightButton;
    case SDL_BUTTON_MIDDLE:
        return kMiddleButton;
    default:
        return 0;
    }
}

int buttonsHeld(Uint32 state) {
    int mask = 0;
    if (state & SDL_BUTTON_LMASK) {
        mask |= kLeftButton;
    }
    if (state & SDL_BUTTON_RMASK) {
        mask |= kRightButton;
    }
    if (state & SDL_BUTTON_MMASK) {
        mask |= kMiddleButton;
    }
    return mask;
}

class SdlCursor final : public Cursor {
  public:
    explicit SdlCursor(SDL_Cursor* cursor) : m_cursor(cursor) {}
    // SDL puts its default cursor back when the cursor shown is freed.
    ~SdlCursor() override { SDL_FreeCursor(m_cursor); }
    SDL_Cursor* get() const { return m_cursor; }

  private:
    SDL_Cursor* m_cursor;
};

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
    if (g_wakeEvent.load() == 0) {
        g_wakeEvent.store(SDL_RegisterEvents(1));
    }
    // Scaled to a larger display, line drawings look better smoothed.
    SDL_SetTextureScaleMode(m_texture, SDL_ScaleModeLinear);
    if (SurfacePtr icon = decodeSurface(windowIconPicture())) {
        SDL_SetWindowIcon(m_window, icon.get());
    }
    // The window's own pointer is the arrow from the start, not whatever the
    // desktop behind it shows.
    setCursor(CursorKind::Arrow, nullptr);
    // Keys are shortcuts here, never text: an input method must not catch them.
    SDL_StopTextInput();
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    return true;
}

bool SdlWindow::open(const std::string& title) {
    // Until the start-up asks for full screen (X11FullScreen.h, or elsewhere
    // SDL_WINDOW_FULLSCREEN_DESKTOP), the window sits borderless at the top
    // left corner of the screen.
    const Uint32 flags = SDL_WINDOW_HIDDEN | (m_windowed ? 0u : static_cast<Uint32>(SDL_WINDOW_BORDERLESS));
    const int position = m_windowed ? SDL_WINDOWPOS_CENTERED : 0;
    m_window = SDL_CreateWindow(title.c_str(), position, position, kWidth, kHeight, flags);
    m_renderer = m_window != nullptr ? SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    m_texture = m_renderer != nullptr ? SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_XBGR8888,
                                                          SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                                      : nullptr;
    if (m_texture == nullptr) {
        destroy();
        return false;
    }
    SDL_RenderSetLogicalSize(m_renderer, kWidth, kHeight);
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
    // hold goes first. Without a window manager nobody minimises the window,
    // which stays in front, and so does the hold.
    if (m_hold.windowManaged()) {
        m_minimiseDeadline = SDL_GetTicks64() + kMinimiseAnswerMs;
        updateHold();
    }
    SDL_MinimizeWindow(m_window);
}

bool SdlWindow::enterFullScreen() {
    if (m_windowed) {
        return true;
    }
    if (askFullScreen(m_window, true)) {
        m_fullScreenAsked = true;
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
        askFullScreen(m_window, false);
        return;
    }
    if (!m_windowed && m_window != nullptr) {
        SDL_SetWindowFullscreen(m_window, 0);
        m_hold.renew();
    }
}

void SdlWindow::present(const Image& frame, std::span<const Rect> dirty) {
    if (m_texture == nullptr || m_gone || frame.width != kWidth || frame.height != kHeight ||
        frame.pixels.size() != static_cast<std::size_t>(kWidth) * kHeight) {
        return;
    }
    std::vector<SDL_Rect> areas;
    areas.reserve(dirty.size());
    for (const Rect& r : dirty) {
        const int x0 = std::max(r.x, 0);
        const int y0 = std::max(r.y, 0);
        const int x1 = std::min(r.x + r.w, kWidth);
        const int y1 = std::min(r.y + r.h, kHeight);
        if (x0 >= x1 || y0 >= y1) {
            continue;
        }
        const SDL_Rect area{x0, y0, x1 - x0, y1 - y0};
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(m_texture, &area, &pixels, &pitch) != 0) {
            continue;
        }
        // The texture has the Colour layout, so each row is one copy.
        auto* dst = static_cast<std::uint8_t*>(pixels);
        const std::size_t rowBytes = static_cast<std::size_t>(area.w) * sizeof(Colour);
        for (int y = y0; y < y1; ++y, dst += pitch) {
            std::memcpy(dst, &frame.pixels[static_cast<std::size_t>(y) * kWidth + x0], rowBytes);
        }
        SDL_UnlockTexture(m_texture);
        areas.push_back(area);
    }
    if (areas.empty()) {
        return;
    }
    float scaleX = 0;
    float scaleY = 0;
    SDL_RenderGetScale(m_renderer, &scaleX, &scaleY);
    if (scaleX != 1.0f || scaleY != 1.0f) {
        // Scaled, a part drawn alone is sampled differently from the whole
        // frame and would show seams, so the whole frame is drawn again.
        redraw();
        return;
    }
    // Unscaled (the screen is the layout's size, perhaps with bars), only the
    // changed parts are copied to the window: exactly what the whole frame gives.
    for (const SDL_Rect& area : areas) {
        SDL_RenderCopy(m_renderer, m_texture, &area, &area);
    }
    SDL_RenderPresent(m_renderer);
}

void SdlWindow::redraw() {
    if (m_renderer == nullptr || m_texture == nullptr) {
        return;
    }
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

KeyboardHold::Place SdlWindow::holdPlace() const {
    if (!m_keyboardWanted || m_windowed || m_gone) {
        return KeyboardHold::Place::Nowhere;
    }
    if (m_minimised || m_minimiseDeadline != 0) {
        return KeyboardHold::Place::Nowhere;
    }
    return m_shown ? KeyboardHold::Place::Window : KeyboardHold::Place::Keeper;
}

void SdlWindow::updateHold() {
    const KeyboardHold::Place place = holdPlace();
    const bool sdlGrab = place != KeyboardHold::Place::Nowhere;
    m_hold.want(place);
    if (m_window != nullptr && sdlGrab != m_sdlGrab) {
        // With its flag set, SDL grabs the window itself wherever it would
        // otherwise let go of the keyboard while the window has the focus.
        // Setting the flag without the focus lets go: take the hold back.
        m_sdlGrab = sdlGrab;
        if (sdlGrab) {
            allowXWaylandKeyboardGrab(m_window);
        }
        SDL_SetWindowKeyboardGrab(m_window, sdlGrab ? SDL_TRUE : SDL_FALSE);
        m_hold.renew();
    }
}

void SdlWindow::keepHold() {
    if (m_minimiseDeadline != 0 && SDL_GetTicks64() >= m_minimiseDeadline) {
        // The request was not honoured: the window is still in front.
        m_minimiseDeadline = 0;
        updateHold();
    }
    if (m_hold.pending()) {
        m_hold.retry();
    }
}

// SDL updates its own grab when the window gains or loses the focus, when
// it is mapped and when a mouse button is released: with the focus it grabs
// the window (its flag is set), without it lets go of the keyboard
// (XUngrabKeyboard), whatever held it. A watch runs as SDL queues an event,
// still inside SDL's reading of the X events, and takes the hold back at
// once: the end of a grab shows as a focus event in "ungrab" mode on the
// window that held it, and a change of focus as SDL's own event.
int SdlWindow::watchGrab(void* self, SDL_Event* e) {
    auto* window = static_cast<SdlWindow*>(self);
    if (e->type == SDL_WINDOWEVENT) {
        if (e->window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            e->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            window->m_hold.renew();
        }
    } else if (e->type == SDL_SYSWMEVENT && e->syswm.msg != nullptr &&
               e->syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent& x = e->syswm.msg->msg.x11.event;
        if ((x.type == FocusIn || x.type == FocusOut) && x.xfocus.mode == NotifyUngrab) {
            window->m_hold.renew();
        }
    }
    return 0;
}

void SdlWindow::holdKeyboard(bool wanted) {
    m_keyboardWanted = wanted;
    if (!wanted) {
        m_earlyHold.close();
    }
    updateHold();
}

std::optional<Event> SdlWindow::waitEvent(int timeoutMs) {
    exitwatchdog::setWake(&wakeEventLoop);
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
        if (exitwatchdog::takeRequest()) {
            Event quit;
            quit.type = EventType::Quit;
            return quit;
        }
        keepHold();
        int wait = -1;
        if (timeoutMs >= 0) {
            const Uint64 spent = SDL_GetTicks64() - start;
            wait = spent >= static_cast<Uint64>(timeoutMs) ? 0 : static_cast<int>(timeoutMs - spent);
        }
        const bool watching = m_hold.pending() || m_minimiseDeadline != 0;
        if (watching && (wait < 0 || wait > kHoldRetryMs)) {
            wait = kHoldRetryMs;
        }
        SDL_Event e;
        const int got = wait < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, wait);
        if (got == 0) {
            if (timeoutMs >= 0 && SDL_GetTicks64() - start >= static_cast<Uint64>(timeoutMs)) {
                return std::nullopt; // the time is up
            }
            if (!watching && wait < 0) {
                return std::nullopt; // SDL cannot wait at all
            }
            continue;
        }
        // Events the program has no use for do not end the wait.
        if (auto event = translate(e)) {
            return event;
        }
    }
}

std::optional<Event> SdlWindow::translate(const SDL_Event& e) {
    Event out;
    switch (e.type) {
    case SDL_QUIT:
        exitwatchdog::armDeadline();
        out.type = EventType::Quit;
        return out;
    case SDL_SYSWMEVENT:
        if (e.syswm.msg != nullptr && e.syswm.msg->subsystem == SDL_SYSWM_X11 &&
            e.syswm.msg->msg.x11.event.type == DestroyNotify &&
            e.syswm.msg->msg.x11.event.xdestroywindow.window == m_xwindow && m_xwindow != 0) {
            // Gone for good: nothing more is drawn into it, and the end is
            // the system's unload, as for a close request.
            m_gone = true;
            toleratePartsOfALostWindow();
            updateHold();
            exitwatchdog::armDeadline();
            out.type = EventType::Quit;
            return out;
        }
        return std::nullopt;
    case SDL_MOUSEMOTION:
        if (m_minimised) {
            // The renderer maps no coordinates while the window is iconic.
            return std::nullopt;
        }
        out.type = EventType::MouseMove;
        out.x = static_cast<float>(e.motion.x);
        out.y = static_cast<float>(e.motion.y);
        out.buttons = buttonsHeld(e.motion.state);
        out.shift = shiftMask(static_cast<Uint16>(SDL_GetModState()));
        return out;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        out.button = buttonOf(e.button.button);
        if (out.button == 0 || m_minimised) {
            return std::nullopt;
        }
        out.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
        out.x = static_cast<float>(e.button.x);
        out.y = static_cast<float>(e.button.y);
        out.buttons = buttonsHeld(SDL_GetMouseState(nullptr, nullptr));
        out.shift = shiftMask(static_cast<Uint16>(SDL_GetModState()));
        return out;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        out.key = virtualKeyFor(e.key.keysym.scancode, e.key.keysym.sym);
        if (out.key == 0) {
            return std::nullopt;
        }
        out.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        out.shift = shiftMask(e.key.keysym.mod);
        out.altHeld = (e.key.keysym.mod & KMOD_ALT) != 0;
        return out;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        redraw();
        out.type = EventType::Exposed;
        return out;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            exitwatchdog::armDeadline();
            out.type = EventType::Quit;
            return out;
        case SDL_WINDOWEVENT_MINIMIZED:
            m_minimised = true;
            m_minimiseDeadline = 0;
            updateHold();
            out.type = EventType::Minimised;
            return out;
        case SDL_WINDOWEVENT_RESTORED:
            m_minimised = false;
            updateHold();
            out.type = EventType::Restored;
            return out;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out.type = EventType::FocusLost;
            return out;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.type = EventType::FocusGained;
            return out;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The texture still holds the whole frame, so the window is
            // repainted at once; the program may present again as well.
            redraw();
            out.type = EventType::Exposed;
            return out;
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

std::unique_ptr<Cursor> SdlWindow::loadCursor(const std::string& iconPath) {
    if (!m_videoReady) {
        return nullptr;
    }
    const auto bytes = m_files.read(iconPath);
    SDL_Cursor* cursor = bytes ? centredCursor(*bytes) : nullptr;
    if (cursor == nullptr) {
        return nullptr;
    }
    return std::make_unique<SdlCursor>(cursor);
}

SDL_Cursor* SdlWindow::uiCursor(SDL_Cursor*& slot, bool& tried, std::span<const std::uint8_t> picture) {
    if (!tried) {
        tried = true;
        slot = centredCursor(picture);
    }
    return slot;
}

void SdlWindow::setCursor(CursorKind kind, const Cursor* custom) {
    if (!m_videoReady) {
        return;
    }
    if (m_arrow == nullptr) {
        m_arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    }
    SDL_Cursor* wanted = nullptr;
    switch (kind) {
    case CursorKind::Arrow:
    case CursorKind::SystemDefault:
        wanted = m_arrow;
        break;
    case CursorKind::Hand:
        if (m_hand == nullptr) {
            m_hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
        }
        wanted = m_hand;
        break;
    case CursorKind::Palette:
        wanted = uiCursor(m_palette, m_paletteTried, paletteCursorPicture());
        break;
    case CursorKind::Drop:
        wanted = uiCursor(m_drop, m_dropTried, dropCursorPicture());
        break;
    case CursorKind::Custom:
        if (const auto* own = dynamic_cast<const SdlCursor*>(custom)) {
            wanted = own->get();
        }
        break;
    }
    if (wanted == nullptr) {
        wanted = m_arrow;
    }
    if (wanted != nullptr && SDL_GetCursor() != wanted) {
        SDL_SetCursor(wanted);
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
    if (m_texture != nullptr) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    if (m_renderer != nullptr) {
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
    if (m_window != nullptr) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
}

int SdlKeyboardGuard::install() {
    m_lastHandle = m_lastHandle == 0x7FFFFFFF ? 1 : m_lastHandle + 1;
    m_installed = m_lastHandle;
    // In a window for development nothing is held, but the guard still
    // counts as installed so the program's own bookkeeping is the same.
    if (!m_window.windowed()) {
        m_window.holdKeyboard(true);
    }
    return m_installed;
}

bool SdlKeyboardGuard::remove(int handle) {
    if (handle == 0 || handle != m_installed) {
        return false;
    }
    m_installed = 0;
    m_window.holdKeyboard(false);
    return true;
}

} // namespace tintaro
