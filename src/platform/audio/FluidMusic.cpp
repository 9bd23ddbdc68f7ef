// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/AudioSupport.h"
#include "platform/audio/MidiTiming.h"
#include "platform/audio/MixerDevice.h"
#include "platform/audio/PeakLimiter.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tintaro::audio {

namespace {

// The loudest the music may be, -2 dBFS: the shipped tune peaks near -12 dBFS
// and never meets it, but a tune that stacks its notes (or a damaged one) is
// held back from full scale.
constexpr float kMusicCeiling = 0.794f;
constexpr double kLimiterReleaseSeconds = 0.2;

void silenceFluidSynthLog() {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
}

// The synth renders into SDL2_mixer's music hook, so the tune and the effects
// share one device. FluidSynth's own MIDI player drives the synth and is timed
// by the rendered samples, so its position tells exactly when the last event
// of the file has been played (SDL2_mixer's own MIDI music reports playing for
// seconds of silence after that).
class FluidMusic final : public MusicPlayer {
  public:
    FluidMusic(std::shared_ptr<MixerDevice> device, Files& files, std::vector<std::string> soundfonts)
        : m_device(std::move(device)), m_files(files), m_soundfonts(std::move(soundfonts)),
          m_limiter(kMusicCeiling, kLimiterReleaseSeconds, m_device->frequency()) {}

    ~FluidMusic() override { closeDown(); }

    bool createPerformance() override {
        if (m_synth == nullptr && !createSynth()) {
            return false;
        }
        // The soundfont stays loaded; only the playing of the previous
        // performance goes, so a click stays quick.
        {
            std::lock_guard lock(m_mutex);
            dropPlayer();
            m_tune.clear();
            m_performance = true;
        }
        m_device->holdForMusic(false);
        return true;
    }

    bool setMasterVolume(int hundredthsOfDecibel) override {
        std::lock_guard lock(m_mutex);
        if (!m_performance) {
            return false;
        }
        fluid_synth_set_gain(m_synth, static_cast<float>(musicGainForMasterVolume(hundredthsOfDecibel)));
        return true;
    }

    bool load(const std::string& path) override {
        std::optional<Bytes> bytes = m_files.read(path);
        std::lock_guard lock(m_mutex);
        m_tune.clear();
        if (!m_performance || !bytes || !makeTimingPlayable(*bytes)) {
            return false;
        }
        m_tune = std::move(*bytes);
        return true;
    }

    bool play() override {
        // The device must be open before the player runs, and stays open
        // while it does. (Never asked with m_mutex held: the device may have to
        // wait for the audio thread, which may be waiting for m_mutex.)
        if (!m_device->holdForMusic(true)) {
            return false;
        }
        if (!startPlayer()) {
            m_device->holdForMusic(false);
            return false;
        }
        return true;
    }

    bool isPlaying() override {
        std::lock_guard lock(m_mutex);
        if (m_player == nullptr || fluid_player_get_status(m_player) != FLUID_PLAYER_PLAYING) {
            return false;
        }
        // The player goes on "playing" for seconds after the last event to let
        // the notes ring out; the tune itself is over once the position has
        // reached its last tick. The file is parsed at the first rendered
        // block, and until then it has no ticks at all.
        const int total = fluid_player_get_total_ticks(m_player);
        return total == 0 || fluid_player_get_current_tick(m_player) < total;
    }

    bool stop() override {
        {
            std::lock_guard lock(m_mutex);
            if (!m_performance) {
                return false;
            }
            dropPlayer();
        }
        m_device->holdForMusic(false);
        return true;
    }

    void closeDown() override {
        if (m_synth == nullptr) {
            return;
        }
        // Once the hook is removed the audio thread no longer touches the synth.
        m_device->setMusicHook(nullptr, nullptr);
        {
            std::lock_guard lock(m_mutex);
            dropPlayer();
            m_tune.clear();
            m_performance = false;
            delete_fluid_synth(m_synth);
            delete_fluid_settings(m_settings);
            m_synth = nullptr;
            m_settings = nullptr;
        }
        m_device->holdForMusic(false);
    }

  private:
    // A fresh player always starts at the file's beginning.
    bool startPlayer() {
        std::lock_guard lock(m_mutex);
        if (!m_performance || m_tune.empty()) {
            return false;
        }
        dropPlayer();
        fluid_player_t* player = new_fluid_player(m_synth);
        if (player == nullptr) {
            return false;
        }
        if (fluid_player_add_mem(player, m_tune.data(), m_tune.size()) != FLUID_OK ||
            fluid_player_play(player) != FLUID_OK) {
            delete_fluid_player(player);
            return false;
        }
        m_player = player;
        m_rendering = true;
        return true;
    }

    bool createSynth() {
        silenceFluidSynthLog();
        fluid_settings_t* settings = new_fluid_settings();
        if (settings == nullptr) {
            return false;
        }
        fluid_settings_setnum(settings, "synth.sample-rate", m_device->frequency());
        // The player advances with the samples the hook renders, not with a
        // timer thread of its own, so its position is the position heard.
        fluid_settings_setstr(settings, "player.timing-source", "sample");
        fluid_settings_setint(settings, "player.reset-synth", 1);
        fluid_synth_t* synth = new_fluid_synth(settings);
        if (synth == nullptr) {
            delete_fluid_settings(settings);
            return false;
        }
        const bool loaded =
            std::any_of(m_soundfonts.begin(), m_soundfonts.end(), [&](const std::string& path) {
                return fluid_is_soundfont(path.c_str()) &&
                       fluid_synth_sfload(synth, path.c_str(), 1) != FLUID_FAILED;
            });
        if (!loaded) {
            delete_fluid_synth(synth);
            delete_fluid_settings(settings);
            return false;
        }
        {
            std::lock_guard lock(m_mutex);
            m_settings = settings;
            m_synth = synth;
        }
        m_device->setMusicHook(&FluidMusic::hook, this);
        return true;
    }

    // Called with m_mutex held. Silent from the next device buffer on: the
    // hook stops rendering, so no release or reverb tail follows, and the
    // reset leaves the synth clean for the next playing.
    void dropPlayer() {
        if (m_player != nullptr) {
            fluid_player_stop(m_player);
            delete_fluid_player(m_player);
            m_player = nullptr;
        }
        if (m_synth != nullptr) {
            fluid_synth_system_reset(m_synth);
        }
        m_rendering = false;
    }

    static void hook(void* self, Uint8* stream, int length) {
        static_cast<FluidMusic*>(self)->render(reinterpret_cast<Sint16*>(stream),
                                               length / static_cast<int>(sizeof(Sint16)));
    }

    // Audio thread. The mixer has already cleared the stream and adds the
    // effects on top of what is written here.
    void render(Sint16* samples, int sampleCount) {
        const int channels = m_device->channels();
        const int frames = sampleCount / channels;
        std::lock_guard lock(m_mutex);
        if (!m_rendering || frames <= 0) {
            return;
        }
        if (m_left.size() < static_cast<std::size_t>(frames)) {
            m_left.resize(frames);
            m_right.resize(frames);
        }
        fluid_synth_write_float(m_synth, frames, m_left.data(), 0, 1, m_right.data(), 0, 1);
        m_limiter.process(m_left.data(), m_right.data(), static_cast<std::size_t>(frames));
        for (int frame = 0; frame < frames; ++frame) {
            Sint16* out = samples + static_cast<std::ptrdiff_t>(frame) * channels;
            if (channels == 1) {
                out[0] = toSample(0.5f * (m_left[frame] + m_right[frame]));
            } else {
                out[0] = toSample(m_left[frame]);
                out[1] = toSample(m_right[frame]);
            }
        }
    }

    static Sint16 toSample(float value) {
        return static_cast<Sint16>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
    }

    std::shared_ptr<MixerDevice> m_device;
    Files& m_files;
    const std::vector<std::string> m_soundfonts;
    std::mutex m_mutex; // guards everything below against the audio thread
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;
    Bytes m_tune;
    bool m_performance = false;
    bool m_rendering = false;
    std::vector<float> m_left;
    std::vector<float> m_right;
    PeakLimiter m_limiter; // audio thread only
};

} // namespace

std::vector<std::string> defaultSoundfonts() {
    // TimGM6mb is small (under 6 MB, so it loads in about 30 ms) and its
    // General MIDI set sounds warm enough for children's tunes; the
    // alternatives link is the fallback for a system that prefers another set.
    return {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};
}

std::unique_ptr<MusicPlayer> makeFluidMusic(std::shared_ptr<MixerDevice> device, Files& files,
                                            std::vector<std::string> soundfonts) {
    return std::make_unique<FluidMusic>(std::move(device), files, std::move(soundfonts));
}

} // namespace tintaro::audio
