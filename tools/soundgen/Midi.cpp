// SPDX-License-Identifier: GPL-3.0-or-later

#include "Midi.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

namespace tintaro::soundgen {

namespace {

std::uint8_t byte(int v) {
    return static_cast<std::uint8_t>(v & 0xff);
}

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7f);
        value >>= 7;
    } while (value != 0);
    while (n-- > 0)
        out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void checkChannelData(int channel, int a, int b = 0) {
    if (channel < 0 || channel > 15 || a < 0 || a > 127 || b < 0 || b > 127)
        throw std::runtime_error("MIDI value out of range");
}

} // namespace

void MidiTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
    m_events.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::trackName(std::string_view name) {
    std::vector<std::uint8_t> bytes = {0xff, 0x03};
    putVarLen(bytes, static_cast<std::uint32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    add(0, 0, std::move(bytes));
}

void MidiTrack::tempo(std::uint32_t tick, double beatsPerMinute) {
    const auto microsPerQuarter = static_cast<std::uint32_t>(std::lround(60'000'000.0 / beatsPerMinute));
    add(tick, 0,
        {0xff, 0x51, 0x03, byte(static_cast<int>(microsPerQuarter >> 16)),
         byte(static_cast<int>(microsPerQuarter >> 8)), byte(static_cast<int>(microsPerQuarter))});
}

void MidiTrack::timeSignature(std::uint32_t tick, int numerator, int denominator) {
    const int power = std::countr_zero(static_cast<unsigned>(denominator));
    add(tick, 0, {0xff, 0x58, 0x04, byte(numerator), byte(power), 24, 8});
}

void MidiTrack::program(std::uint32_t tick, int channel, int program) {
    checkChannelData(channel, program);
    add(tick, 1, {byte(0xc0 | channel), byte(program)});
}

void MidiTrack::control(std::uint32_t tick, int channel, int controller, int value) {
    checkChannelData(channel, controller, value);
    add(tick, 1, {byte(0xb0 | channel), byte(controller), byte(value)});
}

void MidiTrack::note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t length) {
    checkChannelData(channel, key, velocity);
    if (velocity == 0 || length == 0)
        throw std::runtime_error("a note needs a velocity and a length");
    add(tick, 3, {byte(0x90 | channel), byte(key), byte(velocity)});
    // Note-on with velocity 0 ends the note; it keeps the running status of the note-ons.
    add(tick + length, 2, {byte(0x90 | channel), byte(key), 0});
}

std::vector<std::uint8_t> MidiTrack::encode(std::uint32_t endTick) const {
    std::vector<Event> events = m_events;
    std::ranges::stable_sort(events, [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    std::uint8_t running = 0;
    for (const Event& e : events) {
        putVarLen(body, e.tick - now);
        now = e.tick;
        const std::uint8_t status = e.bytes.front();
        if (status == 0xff) {
            running = 0; // meta events cancel running status
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        } else if (status == running) {
            body.insert(body.end(), e.bytes.begin() + 1, e.bytes.end());
        } else {
            running = status;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
    }
    putVarLen(body, std::max(endTick, now) - now);
    body.insert(body.end(), {0xff, 0x2f, 0x00});

    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    put32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> encodeMidiFile(std::span<const MidiTrack> tracks, int ticksPerQuarter,
                                         std::uint32_t endTick) {
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    out.push_back(byte(static_cast<int>(tracks.size() >> 8)));
    out.push_back(byte(static_cast<int>(tracks.size())));
    out.push_back(byte(ticksPerQuarter >> 8));
    out.push_back(byte(ticksPerQuarter));
    for (const MidiTrack& t : tracks) {
        const auto chunk = t.encode(endTick);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace tintaro::soundgen
