// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

namespace tintaro::soundgen {

// "C4" is middle C (MIDI 60); sharps and flats as "F#3" and "Bb4".
std::optional<int> parseNoteName(std::string_view text);

double midiToHz(int note);

// A note name or a frequency written as "523hz".
std::optional<double> parseFrequency(std::string_view text);

} // namespace tintaro::soundgen
