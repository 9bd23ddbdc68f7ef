// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>

namespace tintaro::audio {

// Keeps a stereo signal at or below a ceiling. A frame that would pass it
// pulls the gain down at once, so no sample ever does (no look-ahead, no
// overshoot); the gain then returns to 1 with the release time. A signal
// that stays under the ceiling passes unchanged.
class PeakLimiter {
  public:
    PeakLimiter(float ceiling, double releaseSeconds, double sampleRate);

    // Limits `frames` frames of the two channels in place.
    void process(float* left, float* right, std::size_t frames);

    float gain() const { return m_gain; }

  private:
    float m_ceiling;
    float m_release; // the share of the distance to 1 the gain recovers each frame
    float m_gain = 1.0f;
};

} // namespace tintaro::audio
