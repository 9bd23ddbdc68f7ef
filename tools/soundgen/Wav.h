// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tintaro::soundgen {

inline constexpr int kSampleRate = 44100;

// A RIFF/WAVE file of 16-bit PCM, mono, 44100 Hz: the plainest format every
// player reads.
std::vector<std::uint8_t> encodeWav(std::span<const std::int16_t> samples);

} // namespace tintaro::soundgen
