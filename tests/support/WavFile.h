// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

namespace tintaro::test {

// A mono 16-bit PCM RIFF/WAVE file holding `samples` at `rate` frames a
// second: the shape of the shipped sound effects.
inline std::vector<std::uint8_t> monoWav(const std::vector<std::int16_t>& samples,
                                         std::uint32_t rate = 44100) {
    std::vector<std::uint8_t> wav;
    wav.reserve(44 + samples.size() * 2);
    const auto put = [&wav](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            wav.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const auto tag = [&wav](const char* four) {
        for (int i = 0; i < 4; ++i) {
            wav.push_back(static_cast<std::uint8_t>(four[i]));
        }
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);       // the format chunk's length
    put(1, 2);        // PCM
    put(1, 2);        // mono
    put(rate, 4);     // frames a second
    put(rate * 2, 4); // bytes a second
    put(2, 2);        // bytes a frame
    put(16, 2);       // bits a sample
    tag("data");
    put(dataBytes, 4);
    for (std::int16_t s : samples) {
        put(static_cast<std::uint16_t>(s), 2);
    }
    return wav;
}

} // namespace tintaro::test
