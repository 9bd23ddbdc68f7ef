#pragma once

#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace tintaro::audio {

// The one open SDL2_mixer device. Effects and music each hold it, so it stays
// open until both are gone.
class MixerDevice {
  public:
    // nullptr when there is no audio device.
    static std::shared_ptr<MixerDevice> open();
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    int frequency() const { return m_frequency; }
    int channels() const { return m_channels; }

  private:
    MixerDevice(int frequency, int channels) : m_frequency(frequency), m_channels(channels) {}
    int m_frequency;
    int m_channels;
};

std::unique_ptr<SoundEffects> makeMixerEffects(std::shared_ptr<MixerDevice> device);
// General MIDI soundfonts, the first that loads is used.
std::vector<std::string> defaultSoundfonts();
// Without a soundfont that loads, every createPerformance fails.
std::unique_ptr<MusicPlayer> makeFluidMusic(std::shared_ptr<MixerDevice> device,
                                            std::vector<std::string> soundfonts = defaultSoundfonts());

} // namespace tintaro::audio
