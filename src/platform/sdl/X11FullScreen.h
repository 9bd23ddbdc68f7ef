#pragma once

struct SDL_Window;

namespace tintaro {

// Full screen on X11, asked of the window manager the way SDL asks it (EWMH
// _NET_WM_STATE_FULLSCREEN), without SDL's wait. SDL then waits a tenth of a
// second for the window manager to move and resize the window, and all of
// that tenth when the window already has the screen's size or when no window
// manager runs; the events of that tenth (a child's first clicks) wait with
// it. SDL follows the window manager's answer as it comes, like any other
// move or resize. True when the window is an X11 window and the request went.
bool askFullScreen(SDL_Window* window, bool on);

} // namespace tintaro
