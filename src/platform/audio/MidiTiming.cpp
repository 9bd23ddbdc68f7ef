// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/MidiTiming.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tintaro::audio {

namespace {

constexpr std::uint32_t kDefaultTempo = 500000; // microseconds per quarter note
constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kTempoMeta = 0x51;

std::uint32_t bigEndian(const Bytes& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

bool chunkIs(const Bytes& bytes, std::size_t at, const char (&id)[5]) {
    return bytes[at] == id[0] && bytes[at + 1] == id[1] && bytes[at + 2] == id[2] && bytes[at + 3] == id[3];
}

// Reads the events of one track and repairs its tempo events in place.
class TrackWalk {
  public:
    TrackWalk(Bytes& tune, std::size_t begin, std::size_t end) : m_tune(tune), m_at(begin), m_end(end) {}

    void repairTempos() {
        while (m_at < m_end && readVariable() && event()) {
        }
    }

  private:
    // A variable-length quantity of at most four bytes.
    std::optional<std::uint32_t> readVariableValue() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (m_at >= m_end) {
                return std::nullopt;
            }
            const std::uint8_t byte = m_tune[m_at++];
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        return std::nullopt;
    }

    bool readVariable() { return readVariableValue().has_value(); }

    bool skip(std::size_t count) {
        if (count > m_end - m_at) {
            return false;
        }
        m_at += count;
        return true;
    }

    bool event() {
        if (m_at >= m_end) {
            return false;
        }
        std::uint8_t status = m_tune[m_at];
        if (status & 0x80) {
            ++m_at;
        } else if (m_running == 0) {
            return false; // data without a status to run on
        } else {
            status = m_running;
        }
        if (status == kMetaEvent) {
            return meta();
        }
        if (status == 0xF0 || status == 0xF7) {
            const auto length = readVariableValue();
            return length && skip(*length);
        }
        if (status >= 0xF0) {
            return false; // not an event a file may hold
        }
        m_running = status;
        const std::uint8_t kind = status & 0xF0;
        return skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
    }

    bool meta() {
        if (m_at >= m_end) {
            return false;
        }
        const std::uint8_t type = m_tune[m_at++];
        const auto length = readVariableValue();
        if (!length || *length > m_end - m_at) {
            return false;
        }
        if (type == kTempoMeta && *length == 3 && bigEndian(m_tune, m_at, 3) == 0) {
            m_tune[m_at] = static_cast<std::uint8_t>(kDefaultTempo >> 16);
            m_tune[m_at + 1] = static_cast<std::uint8_t>(kDefaultTempo >> 8);
            m_tune[m_at + 2] = static_cast<std::uint8_t>(kDefaultTempo);
        }
        m_at += *length;
        return true;
    }

    Bytes& m_tune;
    std::size_t m_at;
    std::size_t m_end;
    std::uint8_t m_running = 0;
};

} // namespace

bool makeTimingPlayable(Bytes& tune) {
    constexpr std::size_t kChunkHeader = 8;
    if (tune.size() < kChunkHeader + 6 || !chunkIs(tune, 0, "MThd")) {
        return false;
    }
    const std::uint32_t headerLength = bigEndian(tune, 4, 4);
    if (headerLength < 6 || headerLength > tune.size() - kChunkHeader) {
        return false;
    }
    const std::uint32_t division = bigEndian(tune, 12, 2);
    if (division == 0 || (division & 0x8000) != 0) {
        return false;
    }
    std::size_t at = kChunkHeader + headerLength;
    while (tune.size() - at >= kChunkHeader) {
        const std::size_t length = bigEndian(tune, at + 4, 4);
        const std::size_t begin = at + kChunkHeader;
        const std::size_t end = length > tune.size() - begin ? tune.size() : begin + length;
        if (chunkIs(tune, at, "MTrk")) {
            TrackWalk(tune, begin, end).repairTempos();
        }
        at = end;
    }
    return true;
}

} // namespace tintaro::audio
