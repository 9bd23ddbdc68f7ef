#include "platform/audio/AudioSupport.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tintaro::audio {

double musicGainForMasterVolume(int hundredthsOfDecibel) {
    const double decibels = hundredthsOfDecibel / 100.0;
    return std::clamp(kMusicBaseGain * std::pow(10.0, decibels / 20.0), 0.0, kSynthMaxGain);
}

std::optional<Bytes> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace tintaro::audio
