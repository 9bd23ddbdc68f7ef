// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

namespace tintaro::test {

// A format 0 Standard MIDI File: one track holding `events` (delta times
// included, the end of track too if wanted), `division` ticks a quarter note.
inline std::vector<std::uint8_t> singleTrackMidi(std::uint16_t division,
                                                 const std::vector<std::uint8_t>& events) {
    std::vector<std::uint8_t> midi;
    midi.reserve(22 + events.size());
    const auto put = [&midi](std::uint32_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) {
            midi.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const auto tag = [&midi](const char* four) {
        for (int i = 0; i < 4; ++i) {
            midi.push_back(static_cast<std::uint8_t>(four[i]));
        }
    };
    tag("MThd");
    put(6, 4); // the header's length
    put(0, 2); // format 0
    put(1, 2); // one track
    put(division, 2);
    tag("MTrk");
    put(static_cast<std::uint32_t>(events.size()), 4);
    midi.insert(midi.end(), events.begin(), events.end());
    return midi;
}

} // namespace tintaro::test
