#pragma once

namespace tintaro {

// Hints that keep an SDL window on the software path: without them SDL 2.26
// loads Mesa's LLVM and the GL stack (about 100 MB) merely to decide whether
// to accelerate a window surface that this program fills in software anyway.
// Call before SDL_Init.
void setLeanSdlHints();

} // namespace tintaro
