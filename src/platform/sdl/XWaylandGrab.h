// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct SDL_Window;

namespace tintaro {

// GNOME's XWayland honours an X client's keyboard grab only for windows that
// have asked for it with the _XWAYLAND_MAY_GRAB_KEYBOARD client message
// (SDL 3 sends it; SDL 2.26 does not). Sent to the root window before each
// grab; an X server without a compositor behind it ignores the message. Does
// nothing when the window is not on SDL's X11 driver.
void allowXWaylandKeyboardGrab(SDL_Window* window);

} // namespace tintaro
