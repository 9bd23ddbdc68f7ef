// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/AudioSupport.h"

#include <algorithm>
#include <cmath>

namespace tintaro::audio {

double musicGainForMasterVolume(int hundredthsOfDecibel) {
    const double decibels = hundredthsOfDecibel / 100.0;
    return std::clamp(kMusicBaseGain * std::pow(10.0, decibels / 20.0), 0.0, kSynthMaxGain);
}

} // namespace tintaro::audio
