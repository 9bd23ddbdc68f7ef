// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the tune: first through the program's own music loader, then,
// when it takes the file, through FluidSynth's MIDI player set up as the
// program sets it up (timed by the rendered samples), rendering a tenth of a second
// of the tune here rather than on the audio thread, so that each input is
// parsed and played before the next one.

#include "platform/audio/Audio.h"
#include "platform/posix/PosixFiles.h"

#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kFrames = kRate / 10;

tintaro::AudioSystem* audioSystem = nullptr;
bool performance = false;
std::string tunePath;
fluid_synth_t* synth = nullptr;
std::vector<float> left(kFrames);
std::vector<float> right(kFrames);

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    static tintaro::PosixFiles files;
    static tintaro::AudioSystem audio = tintaro::openAudio(files);
    audioSystem = &audio;
    performance = audio.music->createPerformance();
    static char folder[] = "/tmp/tintaro-fuzz-midi-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::abort();
    }
    tunePath = std::string(folder) + "/001.MID";
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "player.reset-synth", 1);
    synth = new_fluid_synth(settings);
    return synth != nullptr ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(tunePath.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    // What the program's loader refuses is never played.
    if (performance && !audioSystem->music->load(tunePath)) {
        return 0;
    }
    fluid_player_t* player = new_fluid_player(synth);
    if (player == nullptr) {
        return 0;
    }
    if (fluid_player_add_mem(player, data, size) == FLUID_OK && fluid_player_play(player) == FLUID_OK) {
        fluid_synth_write_float(synth, kFrames, left.data(), 0, 1, right.data(), 0, 1);
    }
    fluid_player_stop(player);
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    return 0;
}
