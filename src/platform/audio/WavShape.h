// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>

namespace tintaro::audio {

// True when the bytes are a RIFF WAVE file whose chunks all lie within it
// and whose sound is one a sound effect could be: PCM of 8 to 32 bits, one
// or two channels, 8,000 to 192,000 samples a second, at most ten seconds.
// SDL_mixer believes what a header says: a chunk size claiming gigabytes is
// allocated before reading, and a rate of 1 Hz is resampled to the device's
// rate into hundreds of megabytes, for many seconds, at the child's click.
// A file that fails here is no sound, as an unreadable one is.
bool wavPlausible(std::span<const std::uint8_t> bytes);

} // namespace tintaro::audio
