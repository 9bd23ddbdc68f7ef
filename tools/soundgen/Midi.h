// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tintaro::soundgen {

// One track of a standard MIDI file. Events may be added in any order; they
// are sorted by time when the track is encoded. Channels are 0-based here.
class MidiTrack {
  public:
    void trackName(std::string_view name);
    void tempo(std::uint32_t tick, double beatsPerMinute);
    void timeSignature(std::uint32_t tick, int numerator, int denominator);
    void program(std::uint32_t tick, int channel, int program);
    void control(std::uint32_t tick, int channel, int controller, int value);
    void note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t length);

    // The MTrk chunk, ending with end-of-track at endTick or at the last event
    // if that is later. Channel messages use running status.
    std::vector<std::uint8_t> encode(std::uint32_t endTick) const;

  private:
    struct Event {
        std::uint32_t tick;
        int order; // at equal ticks: meta, then controls, then note-offs, then note-ons
        std::vector<std::uint8_t> bytes;
    };
    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);
    std::vector<Event> m_events;
};

// A format-1 file: the first track carries tempo and metre.
std::vector<std::uint8_t> encodeMidiFile(std::span<const MidiTrack> tracks, int ticksPerQuarter,
                                         std::uint32_t endTick);

} // namespace tintaro::soundgen
