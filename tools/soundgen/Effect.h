// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Voices.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tintaro::soundgen {

// A sound effect as the .sfx files in art/sounds/effects describe it.
struct EffectScript {
    double length = 0.6; // seconds; the end fades out gently
    double peakDb = -3;  // the loudest sample, in dBFS
    double room = 0.1;   // share of the small-room reverberation
    double tone = 7000;  // cut-off of the final low-pass, Hz
    std::vector<Strike> strikes;
};

// Throws std::runtime_error naming the file and line of the first mistake.
EffectScript parseEffect(std::string_view text, const std::string& sourceName);

std::vector<std::int16_t> renderEffect(const EffectScript& script);

} // namespace tintaro::soundgen
