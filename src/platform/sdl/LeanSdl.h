#pragma once

#include <string>

namespace tintaro {

// Hints that keep an SDL window on the software path: without them SDL 2.26
// loads Mesa's LLVM and the GL stack (about 100 MB) merely to decide whether
// to accelerate a window surface that this program fills in software anyway.
// Call before SDL_Init.
void setLeanSdlHints();

// Starts SDL's video on a real display. Without one SDL quietly falls back to
// its offscreen driver, where a window would exist that nobody can see; that
// counts as failure here unless SDL_VIDEODRIVER asked for it by name.
bool initVideoOnADisplay();

// The reason, in one plain line, why no window can be shown: no display
// named in the environment at all (a text console, a remote shell), or one
// that cannot be opened. Empty when the display is open. Without a name SDL
// is not asked at all: it would only try drivers that print their own
// complaints.
std::string openDisplay();

} // namespace tintaro
