// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

namespace tintaro::audio {

// When the audio device may close: once nothing has sounded for the idle
// delay and the music does not hold it. Times are seconds on any monotonic
// clock; the device's own thread reads the steady clock, tests a fake one.
class QuietTimer {
  public:
    QuietTimer(double idleSeconds, double now) : m_idle(idleSeconds), m_soundEnd(now) {}

    // A sound plays until `end` (an effect's last sample, or now for any use
    // of the device).
    void soundUntil(double end) {
        if (end > m_soundEnd) {
            m_soundEnd = end;
        }
    }
    // While the music plays the device stays open; silence counts from the
    // moment it lets go.
    void holdOpen(bool held, double now) {
        if (m_held && !held) {
            soundUntil(now);
        }
        m_held = held;
    }
    // The first moment at which the device may close; none while held.
    std::optional<double> quietFrom() const {
        if (m_held) {
            return std::nullopt;
        }
        return m_soundEnd + m_idle;
    }
    bool quietAt(double now) const {
        const std::optional<double> from = quietFrom();
        return from && now >= *from;
    }

  private:
    double m_idle;
    double m_soundEnd;
    bool m_held = false;
};

} // namespace tintaro::audio
