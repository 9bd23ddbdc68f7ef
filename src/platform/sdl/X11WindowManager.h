// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

struct SDL_Window;
struct _XDisplay;

// What the program asks of an X11 window manager, and what it does itself
// when none runs.
namespace tintaro {

// An SDL window's X11 connection and window; nothing for a window of any
// other video driver.
struct X11Window {
    _XDisplay* display;
    unsigned long window;
};
std::optional<X11Window> x11WindowOf(SDL_Window* window);

// Full screen on X11, asked of the window manager the way SDL asks it (EWMH
// _NET_WM_STATE_FULLSCREEN), without SDL's wait. SDL then waits a tenth of a
// second for the window manager to move and resize the window, and all of
// that tenth when the window already has the screen's size or when no window
// manager runs; the events of that tenth (a child's first clicks) wait with
// it. SDL follows the window manager's answer as it comes, like any other
// move or resize. True when the window is an X11 window and the request went.
bool askFullScreen(SDL_Window* window, bool on);

// True when a window manager runs on the display's screen: one that owns
// WM_Sn, or that announces itself through _NET_SUPPORTING_WM_CHECK. Only a
// window manager honours requests to go full screen, to minimise or to
// activate a window.
bool windowManagerRuns(_XDisplay* display);

// The same for the X11 display of an SDL window; false for any other.
bool windowManagedOnX11(SDL_Window* window);

// Puts an X11 window behind every other window of the screen (SDL has no
// call for it): where nobody minimises, the nearest thing to it.
void lowerX11Window(SDL_Window* window);

} // namespace tintaro
