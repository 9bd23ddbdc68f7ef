// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/MixerDevice.h"

#include "platform/posix/SignalFreeThread.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>

namespace tintaro::audio {

namespace {

constexpr int kFrequency = 44100;
// 1024 frames is about 23 ms at 44.1 kHz: an effect follows the click at once.
constexpr int kChunkFrames = 1024;

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::chrono::steady_clock::time_point steadyTime(double seconds) {
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds)));
}

// Opens the mixer with exactly this format (SDL converts for the hardware if
// it must): chunks decoded earlier and the synth's rate stay valid.
bool openMixer(int frequency, int channels, int allowedChanges) {
    if (Mix_OpenAudioDevice(frequency, AUDIO_S16SYS, channels, kChunkFrames, nullptr, allowedChanges) != 0) {
        return false;
    }
    Mix_AllocateChannels(MixerDevice::kEffectChannels);
    return true;
}

} // namespace

std::shared_ptr<MixerDevice> MixerDevice::open(double idleSeconds) {
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tintaro");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    // The music hook renders signed 16-bit samples, so the format may not change;
    // the rate and the channel count may, and are read back below.
    if (!openMixer(kFrequency, 2, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE)) {
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
    return std::shared_ptr<MixerDevice>(new MixerDevice(frequency, channels, idleSeconds));
}

MixerDevice::MixerDevice(int frequency, int channels, double idleSeconds)
    : m_frequency(frequency), m_channels(channels),
      m_driverName(SDL_GetCurrentAudioDriver() != nullptr ? SDL_GetCurrentAudioDriver() : ""),
      m_quiet(idleSeconds, steadySeconds()) {
    m_closer = startSignalFreeThread("audio-idle", [this] { closeWhenQuiet(); });
}

MixerDevice::~MixerDevice() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_closer.join();
    closeLocked();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool MixerDevice::use(const std::function<double()>& body) {
    {
        std::lock_guard lock(m_mutex);
        if (!openLocked()) {
            return false;
        }
        const double sounding = body();
        m_quiet.soundUntil(steadySeconds() + sounding);
    }
    m_changed.notify_all();
    return true;
}

void MixerDevice::locked(const std::function<void(bool open)>& body) {
    std::lock_guard lock(m_mutex);
    body(m_open);
}

bool MixerDevice::holdForMusic(bool held) {
    bool opened = true;
    {
        std::lock_guard lock(m_mutex);
        if (held) {
            opened = openLocked();
        }
        m_quiet.holdOpen(held && opened, steadySeconds());
    }
    m_changed.notify_all();
    return opened;
}

void MixerDevice::setMusicHook(MusicHook hook, void* self) {
    std::lock_guard lock(m_mutex);
    m_hook = hook;
    m_hookSelf = self;
    if (m_open) {
        // Once this returns the audio thread no longer calls a removed hook.
        Mix_HookMusic(m_hook, m_hookSelf);
    }
}

bool MixerDevice::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

bool MixerDevice::openLocked() {
    if (m_open) {
        return true;
    }
    if (!openMixer(m_frequency, m_channels, 0)) {
        return false;
    }
    m_open = true;
    if (m_hook != nullptr) {
        Mix_HookMusic(m_hook, m_hookSelf);
    }
    return true;
}

void MixerDevice::closeLocked() {
    if (!m_open) {
        return;
    }
    // Halts every channel and ends SDL's audio thread.
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    m_open = false;
}

// The device's own thread: it sleeps until the device may close, closes it,
// then sleeps until something changes. Closed and idle, it never wakes.
void MixerDevice::closeWhenQuiet() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        const std::optional<double> quietFrom = m_quiet.quietFrom();
        if (!m_open || !quietFrom) {
            m_changed.wait(lock);
        } else if (steadySeconds() >= *quietFrom) {
            closeLocked();
        } else {
            m_changed.wait_until(lock, steadyTime(*quietFrom));
        }
    }
}

} // namespace tintaro::audio
