#include "platform/audio/AudioSupport.h"
#include "platform/audio/MixerDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <optional>
#include <vector>

namespace tintaro::audio {

namespace {

// Effects have one mixer channel to themselves: at most one sounds at a time.
constexpr int kEffectChannel = 0;
// Twelve effects ship; the bound only matters if the files keep changing.
constexpr std::size_t kMaxCachedChunks = 32;

class MixerEffects final : public SoundEffects {
  public:
    explicit MixerEffects(std::shared_ptr<MixerDevice> device) : m_device(std::move(device)) {
        Mix_AllocateChannels(1);
    }

    ~MixerEffects() override {
        Mix_HaltChannel(kEffectChannel);
        clearCache();
    }

    void play(const std::string& path) override {
        // A new request replaces the effect that is still sounding, even when
        // its own file turns out to be unplayable.
        Mix_HaltChannel(kEffectChannel);
        // The file is read at every request, as the program reads every asset;
        // only the decoding is saved, keyed by the file's bytes.
        const std::optional<Bytes> bytes = readWholeFile(localPath(path));
        if (!bytes || bytes->empty()) {
            return;
        }
        Mix_Chunk* chunk = decoded(*bytes);
        if (chunk != nullptr) {
            Mix_PlayChannel(kEffectChannel, chunk, 0);
        }
    }

  private:
    struct CachedChunk {
        Bytes bytes;
        Mix_Chunk* chunk;
    };

    Mix_Chunk* decoded(const Bytes& bytes) {
        for (const CachedChunk& cached : m_cache) {
            if (cached.bytes == bytes) {
                return cached.chunk;
            }
        }
        Mix_Chunk* chunk =
            Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        if (chunk == nullptr) {
            return nullptr;
        }
        if (m_cache.size() >= kMaxCachedChunks) {
            clearCache(); // the channel is halted, so no chunk is in use
        }
        m_cache.push_back({bytes, chunk});
        return chunk;
    }

    void clearCache() {
        for (CachedChunk& cached : m_cache) {
            Mix_FreeChunk(cached.chunk);
        }
        m_cache.clear();
    }

    std::shared_ptr<MixerDevice> m_device; // open while effects may play
    std::vector<CachedChunk> m_cache;
};

} // namespace

std::unique_ptr<SoundEffects> makeMixerEffects(std::shared_ptr<MixerDevice> device) {
    return std::make_unique<MixerEffects>(std::move(device));
}

} // namespace tintaro::audio
