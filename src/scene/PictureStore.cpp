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

// Every face, thumbnail and background of the book (about 3 megapixels)
// fits several times over; the bounds only matter when files keep changing
// under a running program.
constexpr std::size_t kMaxEntries = 1024;
constexpr std::size_t kMaxPixels = 16 * 1024 * 1024;

} // namespace

std::shared_ptr<const Image> PictureStore::load(const std::string& path, bool keep) {
    auto bytes = m_files.read(path);
    if (!bytes) {
        return nullptr;
    }
    const bool caching = m_caching && keep;
    if (caching) {
        if (auto known = m_byPath.find(path); known != m_byPath.end() && known->second->bytes == *bytes) {
            return known->second->image;
        }
    }
    const auto hash = caching ? fnv1a(*bytes) : 0;
    if (caching) {
        // The same picture may stand under another name.
        for (const auto& entry : m_byHash[hash]) {
            if (entry->bytes == *bytes) {
                m_byPath[path] = entry;
                return entry->image;
            }
        }
    }
    auto decoded = m_codec.decode(*bytes);
    ++m_decodes;
    if (!decoded) {
        return nullptr;
    }
    auto image = std::make_shared<const Image>(std::move(*decoded));
    if (caching) {
        if (m_entries >= kMaxEntries || m_pixels + image->pixels.size() > kMaxPixels) {
            m_byHash.clear();
            m_byPath.clear();
            m_entries = 0;
            m_pixels = 0;
        }
        auto entry = std::make_shared<const Entry>(Entry{std::move(*bytes), image});
        m_byHash[hash].push_back(entry);
        m_byPath[path] = std::move(entry);
        ++m_entries;
        m_pixels += image->pixels.size();
    }
    return image;
}

} // namespace tintaro
