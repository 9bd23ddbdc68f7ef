// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tintaro::soundgen {

// One sounding event of an effect: a mallet strike, a plucked string, a
// bubble, a puff of air. Which fields matter depends on the voice.
struct Strike {
    std::string voice;
    double at = 0;     // start, seconds from the beginning of the effect
    double freq = 440; // Hz; for noise voices the filter's centre or cut-off
    double to = 0;     // glide target in Hz over `dur`; 0 keeps the pitch
    double dur = 0.3;  // length of glides, sweeps and swells
    double ring = 0.4; // seconds until a struck or plucked sound has faded by 60 dB
    double amp = 0.8;  // relative loudness within the effect
    double q = 3;      // resonance of the noise voices' filter
    double vib = 0;    // vibrato depth in cents
    double rate = 6;   // vibrato rate in Hz
    std::uint32_t seed = 1;
};

bool isVoice(std::string_view name);
std::string voiceList();

// Adds the strike into the mix buffer (44100 Hz), growing it when the sound
// rings past its end.
void addStrike(const Strike& strike, std::vector<float>& mix);

} // namespace tintaro::soundgen
