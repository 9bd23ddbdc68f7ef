#include "platform/audio/MixerDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace tintaro::audio {

namespace {
constexpr int kFrequency = 44100;
// 1024 frames is about 23 ms at 44.1 kHz: an effect follows the click at once.
constexpr int kChunkFrames = 1024;
} // namespace

std::shared_ptr<MixerDevice> MixerDevice::open() {
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tintaro");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    // The music hook renders signed 16-bit samples, so the format may not change;
    // the rate and the channel count may, and are read back below.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, 2, kChunkFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_S16SYS) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::shared_ptr<MixerDevice>(new MixerDevice(frequency, channels));
}

MixerDevice::~MixerDevice() {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace tintaro::audio
