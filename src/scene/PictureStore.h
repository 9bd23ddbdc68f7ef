// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tintaro {

// Reads a picture file at every request, so a picture changed or removed on
// disk shows (or fails) at once, but decodes only bytes it has not seen: the
// same face assigned on every pointer movement costs a read and a compare.
//
// Decoded pictures that nothing shows any more are kept only up to a budget,
// checked whenever a picture is decoded, the least recently used going
// first; a picture larger than the budget (a screen background) is decoded
// again when it comes back.
class PictureStore {
  public:
    // Decoded bytes kept for pictures nothing else holds: the faces and
    // thumbnails a screen's pointer movements assign, several times over.
    static constexpr std::size_t kIdleBudget = 1024 * 1024;

    PictureStore(Files& files, Codec& codec) : m_files(files), m_codec(codec) {}

    // nullptr when the file is missing or is not a picture. Pictures loaded
    // with keep = false (whole drawings, printed snapshots) are not
    // remembered: they are large and seldom the same twice.
    std::shared_ptr<const Image> load(const std::string& path, bool keep = true);
    // The picture in the file, decoded afresh for its caller alone.
    std::optional<Image> decodeFile(const std::string& path);

    std::size_t decodeCount() const { return m_decodes; }
    // Decoded bytes of the remembered pictures that nothing but the store holds.
    std::size_t idleBytes() const;
    void setCaching(bool on) { m_caching = on; }

  private:
    struct Entry {
        Bytes bytes;
        std::uint64_t hash = 0;
        std::shared_ptr<const Image> image;
        std::uint64_t lastUse = 0;
    };

    void remember(const std::string& path, Bytes bytes, std::uint64_t hash,
                  const std::shared_ptr<const Image>& image);
    void trimIdle();
    void forget(const std::shared_ptr<Entry>& entry);

    Files& m_files;
    Codec& m_codec;
    // What each file held when it was last read: the usual case, the same
    // bytes again, costs one comparison and no hashing.
    std::unordered_map<std::string, std::shared_ptr<Entry>> m_byPath;
    std::unordered_map<std::uint64_t, std::vector<std::shared_ptr<Entry>>> m_byHash;
    std::uint64_t m_uses = 0;
    std::size_t m_decodes = 0;
    bool m_caching = true;
};

} // namespace tintaro
