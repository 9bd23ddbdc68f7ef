// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace tintaro::audio {

PeakLimiter::PeakLimiter(float ceiling, double releaseSeconds, double sampleRate)
    : m_ceiling(ceiling),
      m_release(static_cast<float>(1.0 - std::exp(-1.0 / (releaseSeconds * sampleRate)))) {}

void PeakLimiter::process(float* left, float* right, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        m_gain += (1.0f - m_gain) * m_release;
        if (!std::isfinite(left[i]) || !std::isfinite(right[i])) {
            left[i] = 0.0f; // a synth gone wrong is silence, not a blast
            right[i] = 0.0f;
            continue;
        }
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        if (peak * m_gain > m_ceiling) {
            m_gain = m_ceiling / peak;
        }
        // The clamp only takes the rounding of the division above.
        left[i] = std::clamp(left[i] * m_gain, -m_ceiling, m_ceiling);
        right[i] = std::clamp(right[i] * m_gain, -m_ceiling, m_ceiling);
    }
}

} // namespace tintaro::audio
