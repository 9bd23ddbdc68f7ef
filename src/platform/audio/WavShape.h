// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>

namespace tintaro::audio {

// True when the bytes are a RIFF WAVE file whose chunks all lie within it.
// SDL_mixer believes a chunk's stated size and allocates that much before
// reading: a damaged header claiming gigabytes would take them. A file that
// fails here is no sound, as an unreadable one is.
bool wavChunksFit(std::span<const std::uint8_t> bytes);

} // namespace tintaro::audio
