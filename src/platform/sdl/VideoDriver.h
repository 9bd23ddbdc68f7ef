// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tintaro {

// Which of SDL's video drivers shows the window. SDL 2 tries X11 before
// Wayland, but on a Wayland desktop an X keyboard grab taken through
// XWayland does not hold the compositor's own shortcuts (Super, Alt+Tab):
// most compositors never see it. Natively, SDL asks the compositor to
// inhibit its shortcuts, and every compositor that implements the
// keyboard-shortcuts-inhibit protocol honours that. X11 stays the choice of
// an X session.

// Whether the window is our own Wayland client rather than SDL's: on a
// session with a Wayland display, unless the user named another driver in
// SDL_VIDEODRIVER (x11 to force XWayland).
bool ownWaylandWindow(const char* userChoice, const char* waylandDisplay);

// The driver to ask SDL for first, from the session's environment:
// "wayland" when the session has a Wayland display, unless the user named a
// driver in SDL_VIDEODRIVER; nullptr leaves the choice to SDL (and so to the
// user's variable).
const char* firstVideoDriver(const char* userChoice, const char* waylandDisplay);

// The driver to try when the window could not be made on the current one:
// X11 (through XWayland) after Wayland, when the session has an X display and
// the user named no driver; nullptr when there is nothing else to try.
const char* fallbackVideoDriver(const char* current, const char* userChoice, const char* x11Display);

} // namespace tintaro
