// SPDX-License-Identifier: GPL-3.0-or-later

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

std::size_t decodedBytes(const Image& image) {
    return image.pixels.size() * sizeof(Colour);
}

// Only the store's own entry holds the picture.
bool idle(const std::shared_ptr<const Image>& image) {
    return image.use_count() == 1;
}

} // namespace

std::shared_ptr<const Image> PictureStore::load(const std::string& path, bool keep) {
    auto bytes = m_files.read(path);
    if (!bytes) {
        return nullptr;
    }
    const bool caching = m_caching && keep;
    if (caching) {
        if (auto known = m_byPath.find(path); known != m_byPath.end() && known->second->bytes == *bytes) {
            known->second->lastUse = ++m_uses;
            return known->second->image;
        }
    }
    const auto hash = caching ? fnv1a(*bytes) : 0;
    if (caching) {
        // The same picture may stand under another name.
        if (auto same = m_byHash.find(hash); same != m_byHash.end()) {
            for (const auto& entry : same->second) {
                if (entry->bytes == *bytes) {
                    entry->lastUse = ++m_uses;
                    m_byPath[path] = entry;
                    return entry->image;
                }
            }
        }
    }
    if (caching) {
        // Room first: what was let go before this request (the background of
        // the screen being left) is freed before the new picture is decoded.
        trimIdle();
    }
    auto decoded = m_codec.decode(*bytes);
    ++m_decodes;
    if (!decoded) {
        return nullptr;
    }
    auto image = std::make_shared<const Image>(std::move(*decoded));
    if (caching) {
        remember(path, std::move(*bytes), hash, image);
        // A decode is the moment the store grows, and the time it takes
        // dwarfs a look over the few hundred entries a book can have.
        trimIdle();
    }
    return image;
}

std::optional<Image> PictureStore::decodeFile(const std::string& path) {
    auto bytes = m_files.read(path);
    if (!bytes) {
        return std::nullopt;
    }
    ++m_decodes;
    return m_codec.decode(*bytes);
}

void PictureStore::remember(const std::string& path, Bytes bytes, std::uint64_t hash,
                            const std::shared_ptr<const Image>& image) {
    auto entry = std::make_shared<Entry>(Entry{std::move(bytes), hash, image, ++m_uses});
    if (auto old = m_byPath.find(path); old != m_byPath.end()) {
        // The file changed: its earlier picture stays only if another name
        // still leads to it.
        auto previous = old->second;
        old->second = entry;
        if (std::none_of(m_byPath.begin(), m_byPath.end(),
                         [&](const auto& p) { return p.second == previous; })) {
            forget(previous);
        }
    } else {
        m_byPath.emplace(path, entry);
    }
    m_byHash[hash].push_back(std::move(entry));
}

std::size_t PictureStore::idleBytes() const {
    std::size_t total = 0;
    for (const auto& [hash, entries] : m_byHash) {
        for (const auto& entry : entries) {
            if (idle(entry->image)) {
                total += decodedBytes(*entry->image);
            }
        }
    }
    return total;
}

void PictureStore::trimIdle() {
    std::size_t total = idleBytes();
    while (total > kIdleBudget) {
        std::shared_ptr<Entry> oldest;
        for (const auto& [hash, entries] : m_byHash) {
            for (const auto& entry : entries) {
                if (idle(entry->image) && (!oldest || entry->lastUse < oldest->lastUse)) {
                    oldest = entry;
                }
            }
        }
        total -= decodedBytes(*oldest->image);
        forget(oldest);
    }
}

void PictureStore::forget(const std::shared_ptr<Entry>& entry) {
    const auto keep = entry; // the references below may be the last others
    std::erase_if(m_byPath, [&](const auto& p) { return p.second == keep; });
    if (auto same = m_byHash.find(keep->hash); same != m_byHash.end()) {
        std::erase(same->second, keep);
        if (same->second.empty()) {
            m_byHash.erase(same);
        }
    }
}

} // namespace tintaro
