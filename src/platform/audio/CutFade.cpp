// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/CutFade.h"

#include <cmath>

namespace tintaro::audio {

void CutFade::apply(std::int16_t* samples, std::size_t sampleCount) {
    if (!m_requested.load()) {
        return;
    }
    const auto channels = static_cast<std::size_t>(m_channels);
    const std::size_t frames = sampleCount / channels;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        // Linear from just under 1 down to 0 at the ramp's last frame, then silence.
        const int step = m_done < m_rampFrames ? ++m_done : m_rampFrames;
        const float gain = static_cast<float>(m_rampFrames - step) / static_cast<float>(m_rampFrames);
        std::int16_t* sample = samples + frame * channels;
        for (std::size_t c = 0; c < channels; ++c) {
            sample[c] = static_cast<std::int16_t>(std::lround(sample[c] * gain));
        }
    }
    if (m_done >= m_rampFrames) {
        m_finished.store(true);
    }
}

} // namespace tintaro::audio
