// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tintaro::audio {

// The fade of an effect that a newer one cuts off. Stopping a sound at once
// drops the output from wherever the wave stands to zero in one sample, a
// click; ramping it down over a few milliseconds removes the click and still
// sounds like a cut. The user-interface thread asks for the fade; the mixer
// applies it on the audio thread to the effect's own samples.
class CutFade {
  public:
    CutFade(int rampFrames, int channels) : m_rampFrames(rampFrames), m_channels(channels) {}

    // For a new playing, while its channel is silent.
    void reset() {
        m_done = 0;
        m_finished.store(false);
        m_requested.store(false);
    }
    void start() { m_requested.store(true); }
    bool started() const { return m_requested.load(); }
    // The ramp has reached zero: the channel may stop without a click.
    bool finished() const { return m_finished.load(); }

    // Audio thread: interleaved signed 16-bit samples of the effect.
    void apply(std::int16_t* samples, std::size_t sampleCount);

  private:
    const int m_rampFrames;
    const int m_channels;
    int m_done = 0; // frames of the ramp applied so far; audio thread only after reset
    std::atomic<bool> m_requested{false};
    std::atomic<bool> m_finished{false};
};

} // namespace tintaro::audio
