#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tintaro {

// Reads a picture file at every request, so a picture changed or removed on
// disk shows (or fails) at once, but decodes only bytes it has not seen: the
// same face assigned on every pointer movement costs a read and a compare.
class PictureStore {
  public:
    PictureStore(Files& files, Codec& codec) : m_files(files), m_codec(codec) {}

    // nullptr when the file is missing or is not a picture. Pictures loaded
    // with keep = false (whole drawings, printed snapshots) are not remembered:
    // they are large and seldom the same twice.
    std::shared_ptr<const Image> load(const std::string& path, bool keep = true);

    std::size_t decodeCount() const { return m_decodes; }
    void setCaching(bool on) { m_caching = on; }

  private:
    struct Entry {
        Bytes bytes;
        std::shared_ptr<const Image> image;
    };

    Files& m_files;
    Codec& m_codec;
    // What each file held when it was last read: the usual case, the same
    // bytes again, costs one comparison and no hashing.
    std::unordered_map<std::string, std::shared_ptr<const Entry>> m_byPath;
    std::unordered_map<std::uint64_t, std::vector<std::shared_ptr<const Entry>>> m_byHash;
    std::size_t m_entries = 0;
    std::size_t m_pixels = 0;
    std::size_t m_decodes = 0;
    bool m_caching = true;
};

} // namespace tintaro
