// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/WavShape.h"

#include <cstring>
#include <optional>

namespace tintaro::audio {

namespace {

constexpr std::uint32_t kLowestRate = 8000;
constexpr std::uint32_t kHighestRate = 192000;
constexpr std::uint32_t kLongestSeconds = 10;

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t littleEndian16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

// What the "fmt " chunk says of the sound.
struct Format {
    std::uint32_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t bits = 0;
};

bool plausible(const Format& f, std::uint64_t dataBytes) {
    const bool sampleSize = f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32;
    if (f.channels < 1 || f.channels > 2 || f.rate < kLowestRate || f.rate > kHighestRate || !sampleSize) {
        return false;
    }
    const std::uint64_t bytesPerSecond = std::uint64_t{f.rate} * f.channels * f.bits / 8;
    return dataBytes <= bytesPerSecond * kLongestSeconds;
}

} // namespace

bool wavPlausible(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kHeader = 12; // "RIFF", its size, "WAVE"
    if (bytes.size() < kHeader || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return false;
    }
    if (littleEndian32(bytes.data() + 4) > bytes.size() - 8) {
        return false;
    }
    bool sawData = false;
    std::optional<Format> format;
    std::uint64_t dataBytes = 0;
    std::size_t at = kHeader;
    while (bytes.size() - at >= 8) {
        const std::uint8_t* chunk = bytes.data() + at;
        const std::uint64_t size = littleEndian32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            sawData = true;
            dataBytes += size;
        } else if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && bytes.size() - at >= 8 + 16) {
            format =
                Format{littleEndian16(chunk + 10), littleEndian32(chunk + 12), littleEndian16(chunk + 22)};
        }
        const std::uint64_t next = at + 8 + size + (size & 1); // chunks are padded to even lengths
        // The last chunk may leave out its pad byte.
        if (next > bytes.size() + 1) {
            return false;
        }
        at = static_cast<std::size_t>(next);
        if (at >= bytes.size()) {
            break;
        }
    }
    return sawData && format && plausible(*format, dataBytes);
}

} // namespace tintaro::audio
