// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>

namespace tintaro::audio {

// The synth gain (linear) that the tune gets at a master volume of 0 dB. The
// program plays at +1.5 dB; with this base the tune sits comfortably under the
// effects, which play at full scale.
inline constexpr double kMusicBaseGain = 0.4;
// FluidSynth accepts gains from 0 to 10.
inline constexpr double kSynthMaxGain = 10.0;

// A master volume in hundredths of a decibel as the synth's linear gain,
// clamped to what the synth can reach.
double musicGainForMasterVolume(int hundredthsOfDecibel);

} // namespace tintaro::audio
