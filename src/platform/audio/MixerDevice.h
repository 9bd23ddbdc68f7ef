// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/audio/QuietTimer.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tintaro::audio {

// The one SDL2_mixer device. Effects and music each hold it, so it stays
// usable until both are gone.
//
// While a device is open, SDL's audio thread wakes for every buffer (about 43
// times a second) even when it only mixes silence, and pausing does not stop
// it. So after a few seconds in which nothing sounds and the music is off,
// the device closes; the next request opens it again, with the format it had
// at first, so decoded effects and the synth's rate stay right.
class MixerDevice {
  public:
    // Called on the audio thread for every buffer while the device is open.
    using MusicHook = void (*)(void* self, std::uint8_t* stream, int length);
    // Mixer channels for the effects: one sounds, the ones it cut fade out.
    static constexpr int kEffectChannels = 4;
    static constexpr double kIdleSeconds = 3.0;

    // nullptr when there is no audio device.
    static std::shared_ptr<MixerDevice> open(double idleSeconds = kIdleSeconds);
    ~MixerDevice();
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;

    int frequency() const { return m_frequency; }
    int channels() const { return m_channels; }

    // Runs `body` with the device open, opening it again first if it had gone
    // quiet; the device cannot close while `body` runs. `body` answers for how
    // many seconds from now it makes the device sound; the idle delay counts
    // from then. False, without running `body`, when the device cannot be opened.
    bool use(const std::function<double()>& body);
    // Runs `body` with the device as it is, open or not (told which), where
    // it cannot close meanwhile.
    void locked(const std::function<void(bool open)>& body);
    // The music holds the device open while it plays; opens it if needed.
    // False when it is needed but cannot be opened.
    bool holdForMusic(bool held);
    // The music's renderer, kept across closing and opening again; nullptr removes it.
    void setMusicHook(MusicHook hook, void* self);
    bool isOpen() const;
    // SDL's name for the driver in use ("pulseaudio", "alsa", "disk"...).
    std::string driverName() const { return m_driverName; }

  private:
    MixerDevice(int frequency, int channels, double idleSeconds);
    bool openLocked();
    void closeLocked();
    void closeWhenQuiet();

    const int m_frequency;
    const int m_channels;
    const std::string m_driverName;
    mutable std::mutex m_mutex; // guards everything below and every SDL_mixer call of ours
    std::condition_variable m_changed;
    QuietTimer m_quiet;
    bool m_open = true;
    bool m_stopping = false;
    MusicHook m_hook = nullptr;
    void* m_hookSelf = nullptr;
    std::thread m_closer;
};

// Both read their files through `files`, which outlives them.
std::unique_ptr<SoundEffects> makeMixerEffects(std::shared_ptr<MixerDevice> device, Files& files);
// General MIDI soundfonts, the first that loads is used.
std::vector<std::string> defaultSoundfonts();
// Without a soundfont that loads, every createPerformance fails.
std::unique_ptr<MusicPlayer> makeFluidMusic(std::shared_ptr<MixerDevice> device, Files& files,
                                            std::vector<std::string> soundfonts = defaultSoundfonts());

} // namespace tintaro::audio
