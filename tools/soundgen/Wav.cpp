// SPDX-License-Identifier: GPL-3.0-or-later

#include "Wav.h"

#include <string_view>

namespace tintaro::soundgen {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

} // namespace

std::vector<std::uint8_t> encodeWav(std::span<const std::int16_t> samples) {
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bits = 16;
    constexpr std::uint16_t blockAlign = channels * bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * blockAlign);

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, kSampleRate);
    put32(out, kSampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, bits);
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

} // namespace tintaro::soundgen
