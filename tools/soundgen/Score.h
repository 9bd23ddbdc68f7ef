// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tintaro::soundgen {

// Reads a .score file of art/sounds/music (melodies, chord symbols and the
// arrangement of each section) and arranges it into a format-1 standard MIDI
// file: melody tracks as written, accompaniment, bass and percussion played
// from the chords. Throws std::runtime_error naming file and line on a mistake.
std::vector<std::uint8_t> renderScore(std::string_view text, const std::string& sourceName);

} // namespace tintaro::soundgen
