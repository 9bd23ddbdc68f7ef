// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlPlatform.h"

#include "platform/WindowKeyboardGuard.h"
#include "platform/audio/Audio.h"
#include "platform/posix/ExitWatchdog.h"
#include "platform/posix/MemoryPolicy.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixInstanceLock.h"
#include "platform/posix/PosixSystem.h"
#include "platform/print/CupsPrinter.h"
#include "platform/sdl/LeanSdl.h"
#include "platform/sdl/SdlCodec.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/sdl/VideoDriver.h"
#include "platform/wayland/WaylandClient.h"
#include "platform/wayland/WaylandWindow.h"

#include <SDL.h>

#include <cstdlib>

namespace tintaro {

namespace {

class RealPlatform final : public SdlPlatform {
  public:
    RealPlatform(bool windowed, std::unique_ptr<PosixInstanceLock> instance,
                 std::unique_ptr<WaylandClient> wayland)
        : m_wayland(std::move(wayland)), m_window(makeWindow(windowed)), m_guard(*m_window),
          m_instance(std::move(instance)), m_audio(openAudio(m_files)),
          m_printer(createCupsPrinter()), m_platform{m_files,          m_codec,        *m_window,
                                                     *m_audio.effects, *m_audio.music, m_processes,
                                                     m_clock,          m_random,       *m_printer,
                                                     m_guard,          *m_instance} {}

    ~RealPlatform() override {
        m_window->destroy();
        m_audio.music.reset();
        m_audio.effects.reset();
        m_printer.reset();
        // SDL's video teardown is left to the end of the process. SDL 2.26
        // puts Xlib's default error handler back before it closes its second
        // X connection, where the server's late BadWindow answer to SDL's own
        // wakeup message (see LeanSdl.cpp) may still be waiting; read then, it
        // would end the process with status 1. The X server frees everything
        // of a client that goes, and no display mode was ever changed.
    }

    Platform& platform() override { return m_platform; }

  private:
    std::unique_ptr<HoldingWindow> makeWindow(bool windowed) {
        if (m_wayland) {
            return std::make_unique<WaylandWindow>(*m_wayland, m_files, windowed);
        }
        return std::make_unique<SdlWindow>(m_files, windowed);
    }

    PosixFiles m_files;
    SdlCodec m_codec;
    PosixProcesses m_processes;
    SteadyClock m_clock;
    SplitMixRandom m_random;
    std::unique_ptr<WaylandClient> m_wayland;
    std::unique_ptr<HoldingWindow> m_window;
    WindowKeyboardGuard m_guard;
    std::unique_ptr<PosixInstanceLock> m_instance;
    AudioSystem m_audio;
    std::unique_ptr<Printer> m_printer;
    Platform m_platform;
};

} // namespace

std::unique_ptr<SdlPlatform> SdlPlatform::create(bool windowed, std::unique_ptr<PosixInstanceLock> instance,
                                                 std::unique_ptr<WaylandClient> wayland) {
    // Before any other thread exists: the signals that ask for the end are
    // received by the watchdog alone, never by SDL (whose handlers only
    // queue a quit that a stuck event loop would never read).
    exitwatchdog::start();
    // The hints must be in place before any SDL subsystem starts, the audio
    // included.
    setLeanSdlHints();
    keepLargeBlocksMapped();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Full screen stays full screen when another window takes the focus.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The click that brings the window forward counts too: to a child, a
    // button that only woke the window up did not work. SDL drops a press
    // that comes with the focus unless told otherwise.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!instance) {
        instance = std::make_unique<PosixInstanceLock>();
    }
    return std::make_unique<RealPlatform>(windowed, std::move(instance), std::move(wayland));
}

std::unique_ptr<SdlPlatform> SdlPlatform::open(bool windowed, std::unique_ptr<PosixInstanceLock> instance,
                                               std::string& problem) {
    std::unique_ptr<WaylandClient> wayland;
    if (ownWaylandWindow(std::getenv("SDL_VIDEODRIVER"), std::getenv("WAYLAND_DISPLAY"))) {
        wayland = WaylandClient::connect();
    }
    if (!wayland) {
        problem = openDisplay();
        if (!problem.empty()) {
            return nullptr;
        }
    }
    return create(windowed, std::move(instance), std::move(wayland));
}

} // namespace tintaro
