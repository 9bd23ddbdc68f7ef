// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/AudioSupport.h"
#include "platform/audio/CutFade.h"
#include "platform/audio/MixerDevice.h"
#include "platform/audio/WavShape.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tintaro::audio {

namespace {

constexpr int kChannels = MixerDevice::kEffectChannels;
// Long enough that a cut makes no click, short enough to sound like a cut.
constexpr double kCutFadeSeconds = 0.005;
// Twelve effects ship; the bound only matters if the files keep changing.
constexpr std::size_t kMaxCachedChunks = 32;

// The mixer effect of every effect channel, run on the channel's own samples
// before they join the mix.
void applyCutFade(int, void* stream, int length, void* fade) {
    static_cast<CutFade*>(fade)->apply(static_cast<std::int16_t*>(stream),
                                       static_cast<std::size_t>(length) / sizeof(std::int16_t));
}

// One effect sounds at a time as the child hears it: a new request cuts the
// effect playing, which fades out over a few milliseconds on its own mixer
// channel while the new one starts on another at once.
class MixerEffects final : public SoundEffects {
  public:
    MixerEffects(std::shared_ptr<MixerDevice> device, Files& files)
        : m_device(std::move(device)), m_files(files) {
        const int rampFrames =
            std::max(1, static_cast<int>(std::lround(kCutFadeSeconds * m_device->frequency())));
        for (auto& fade : m_fades) {
            fade = std::make_unique<CutFade>(rampFrames, m_device->channels());
        }
    }

    ~MixerEffects() override {
        m_device->locked([&](bool open) {
            if (open) {
                Mix_HaltChannel(-1);
            }
            for (CachedChunk& cached : m_cache) {
                Mix_FreeChunk(cached.chunk);
            }
        });
    }

    void play(const std::string& path) override {
        // The file is read at every request, as the program reads every asset;
        // only the decoding is saved, keyed by the file's bytes.
        const std::optional<Bytes> bytes = m_files.read(path);
        if (!bytes || bytes->empty()) {
            // Nothing to play, but the request still cuts the effect sounding.
            m_device->locked([&](bool open) {
                if (open) {
                    cutSounding();
                }
            });
            return;
        }
        m_device->use([&] {
            cutSounding();
            Mix_Chunk* chunk = decoded(*bytes);
            return chunk != nullptr ? start(chunk) : 0.0;
        });
    }

  private:
    struct CachedChunk {
        Bytes bytes;
        Mix_Chunk* chunk;
    };

    // Every effect still sounding begins its fade; those whose fade is over
    // are silent already and stop.
    void cutSounding() {
        for (int channel = 0; channel < kChannels; ++channel) {
            if (Mix_Playing(channel) == 0) {
                continue;
            }
            if (m_fades[channel]->finished()) {
                Mix_HaltChannel(channel);
            } else {
                m_fades[channel]->start();
            }
        }
    }

    // Plays the chunk on a silent channel; answers for how long it sounds.
    double start(Mix_Chunk* chunk) {
        const int channel = freeChannel();
        CutFade* fade = m_fades[channel].get();
        // The channel is silent, so the mixer runs none of its effects now. A
        // registration left from a playing that never started goes first;
        // that call also waits for the mixer's current buffer, after which
        // the fade can be reset without the audio thread looking. Registered
        // before the playing starts, the fade is there from its first buffer.
        Mix_UnregisterEffect(channel, &applyCutFade);
        fade->reset();
        Mix_RegisterEffect(channel, &applyCutFade, nullptr, fade);
        if (Mix_PlayChannel(channel, chunk, 0) < 0) {
            return 0.0;
        }
        m_started[channel] = ++m_starts;
        const double bytesPerSecond = static_cast<double>(m_device->frequency()) * m_device->channels() * 2;
        return chunk->alen / bytesPerSecond;
    }

    int freeChannel() {
        for (int channel = 0; channel < kChannels; ++channel) {
            if (Mix_Playing(channel) == 0) {
                return channel;
            }
        }
        // Requests faster than the fades: the oldest, nearly faded, stops.
        const int oldest =
            static_cast<int>(std::min_element(m_started.begin(), m_started.end()) - m_started.begin());
        Mix_HaltChannel(oldest);
        return oldest;
    }

    Mix_Chunk* decoded(const Bytes& bytes) {
        for (const CachedChunk& cached : m_cache) {
            if (cached.bytes == bytes) {
                return cached.chunk;
            }
        }
        if (!wavPlausible(bytes)) {
            return nullptr;
        }
        Mix_Chunk* chunk =
            Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        if (chunk == nullptr) {
            return nullptr;
        }
        if (m_cache.size() >= kMaxCachedChunks) {
            dropSilentChunks();
        }
        m_cache.push_back({bytes, chunk});
        return chunk;
    }

    // Frees the cached chunks no channel is playing.
    void dropSilentChunks() {
        std::erase_if(m_cache, [](const CachedChunk& cached) {
            for (int channel = 0; channel < kChannels; ++channel) {
                if (Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == cached.chunk) {
                    return false;
                }
            }
            Mix_FreeChunk(cached.chunk);
            return true;
        });
    }

    std::shared_ptr<MixerDevice> m_device; // usable while effects may play
    Files& m_files;
    std::array<std::unique_ptr<CutFade>, kChannels> m_fades;
    std::array<std::uint64_t, kChannels> m_started{};
    std::uint64_t m_starts = 0;
    std::vector<CachedChunk> m_cache;
};

} // namespace

std::unique_ptr<SoundEffects> makeMixerEffects(std::shared_ptr<MixerDevice> device, Files& files) {
    return std::make_unique<MixerEffects>(std::move(device), files);
}

} // namespace tintaro::audio
