// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/WavShape.h"

#include <cstring>

namespace tintaro::audio {

namespace {

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace

bool wavChunksFit(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kHeader = 12; // "RIFF", its size, "WAVE"
    if (bytes.size() < kHeader || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return false;
    }
    if (littleEndian32(bytes.data() + 4) > bytes.size() - 8) {
        return false;
    }
    bool sawData = false;
    std::size_t at = kHeader;
    while (bytes.size() - at >= 8) {
        const std::uint64_t size = littleEndian32(bytes.data() + at + 4);
        sawData = sawData || std::memcmp(bytes.data() + at, "data", 4) == 0;
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
    return sawData;
}

} // namespace tintaro::audio
