// SPDX-License-Identifier: GPL-3.0-or-later
// tintaro_soundgen: renders the text descriptions in art/sounds into the
// shipped WAV effects and MIDI music.
//
//   tintaro_soundgen effect art/sounds/effects/CRVENA.sfx assets/SOUND/CRVENA.WAV
//   tintaro_soundgen score  art/sounds/music/001.score    assets/MUSIC/001.MID

#include "Effect.h"
#include "Score.h"
#include "Wav.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    using namespace tintaro::soundgen;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s effect IN.sfx OUT.WAV | score IN.score OUT.MID\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string in = argv[2];
    const std::string out = argv[3];
    try {
        if (mode == "effect") {
            const auto samples = renderEffect(parseEffect(readText(in), in));
            writeBytes(out, encodeWav(samples));
        } else if (mode == "score") {
            writeBytes(out, renderScore(readText(in), in));
        } else {
            std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
