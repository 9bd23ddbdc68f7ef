// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tintaro {

// Hints that keep an SDL window on the software path: without them SDL 2.26
// loads Mesa's LLVM and the GL stack (about 100 MB) merely to decide whether
// to accelerate a window surface that this program fills in software anyway.
// Call before SDL_Init.
void setLeanSdlHints();

// Starts SDL's video on a real display, natively on a Wayland desktop (see
// VideoDriver.h). Without a display SDL quietly falls back to its offscreen
// driver, where a window would exist that nobody can see; that counts as
// failure here unless SDL_VIDEODRIVER asked for it by name.
bool initVideoOnADisplay();

// When the window cannot be made natively on Wayland (no GPU driver to draw
// it with, say): stops SDL's video and starts it on X11 through XWayland.
// False when the session offers nothing else, or when SDL_VIDEODRIVER chose.
bool restartVideoOnFallback();

// The window was destroyed by another client: from now on no X error ends
// the process (the program is on its way out).
void toleratePartsOfALostWindow();

// The reason, in one plain line, why no window can be shown: no display
// named in the environment at all (a text console, a remote shell), or one
// that cannot be opened. Empty when the display is open. Without a name SDL
// is not asked at all: it would only try drivers that print their own
// complaints.
std::string openDisplay();

} // namespace tintaro
