// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Audio.h"

#include "platform/audio/MixerDevice.h"

namespace tintaro {

namespace {

// Without an audio device the program runs on in silence.
class SilentEffects final : public SoundEffects {
  public:
    void play(const std::string&) override {}
};

class SilentMusic final : public MusicPlayer {
  public:
    bool createPerformance() override { return false; }
    bool setMasterVolume(int) override { return false; }
    bool load(const std::string&) override { return false; }
    bool play() override { return false; }
    bool isPlaying() override { return false; }
    bool stop() override { return false; }
    void closeDown() override {}
};

} // namespace

AudioSystem openAudio(Files& files) {
    std::shared_ptr<audio::MixerDevice> device = audio::MixerDevice::open();
    if (!device) {
        return {std::make_unique<SilentEffects>(), std::make_unique<SilentMusic>()};
    }
    return {audio::makeMixerEffects(device, files), audio::makeFluidMusic(device, files)};
}

} // namespace tintaro
