#include "scene/PictureStore.h"

#include <algorithm>

namespace tintaro {

namespace {

std::uint64_t fnv1a(const Bytes& bytes) {
    std::uint64_t h = 1469598103934665603ULL;
    for (auto b : bytes) {
        h = (h ^ b) * 1099511628211ULL;
    }
    return h;
}

// Every face, thumbnail and drawing of the book fits many times over; the
// bound only matters when files keep changing under a running program.
constexpr std::size_t kMaxEntries = 1024;

} // namespace

std::shared_ptr<const Image> PictureStore::load(const std::string& path, bool keep) {
    auto bytes = m_files.read(path);
    if (!bytes) {
        return nullptr;
    }
    const auto hash = fnv1a(*bytes);
    const bool caching = m_caching && keep;
    if (caching) {
        auto& bucket = m_byHash[hash];
        auto hit =
            std::find_if(bucket.begin(), bucket.end(), [&](const Entry& e) { return e.bytes == *bytes; });
        if (hit != bucket.end()) {
            return hit->image;
        }
    }
    auto decoded = m_codec.decode(*bytes);
    ++m_decodes;
    if (!decoded) {
        return nullptr;
    }
    auto image = std::make_shared<const Image>(std::move(*decoded));
    if (caching) {
        if (m_entries >= kMaxEntries) {
            m_byHash.clear();
            m_entries = 0;
        }
        m_byHash[hash].push_back(Entry{std::move(*bytes), image});
        ++m_entries;
    }
    return image;
}

} // namespace tintaro
