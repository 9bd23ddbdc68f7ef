// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a sound effect file, through the program's own effects player
// on SDL's dummy audio driver: the file is read, decoded and started exactly
// as a click on a colour does.

#include "platform/audio/Audio.h"
#include "platform/posix/PosixFiles.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

tintaro::AudioSystem* audioSystem = nullptr;
std::string effectPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // No sound card is needed: the dummy driver consumes what is mixed.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    static tintaro::PosixFiles files;
    static tintaro::AudioSystem audio = tintaro::openAudio(files);
    audioSystem = &audio;
    static char folder[] = "/tmp/tintaro-fuzz-wav-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::abort();
    }
    effectPath = std::string(folder) + "/EFFECT.WAV";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(effectPath.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    audioSystem->effects->play(effectPath);
    return 0;
}
