// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/ShmPicture.h"

namespace tintaro {

std::unique_ptr<ShmBuffers> shmPicture(wl_shm* shm, const Picture& picture, bool alpha) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.argb.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return nullptr;
    }
    auto buffers = std::make_unique<ShmBuffers>();
    if (!buffers->resize(shm, picture.width, picture.height, 1, alpha)) {
        return nullptr;
    }
    std::uint32_t* out = buffers->idle()->pixels;
    for (std::size_t i = 0; i < picture.argb.size(); ++i) {
        const std::uint32_t c = picture.argb[i];
        const std::uint32_t a = c >> 24;
        const auto channel = [&](int shift) { return (((c >> shift) & 0xFF) * a + 127) / 255 << shift; };
        out[i] = (alpha ? a << 24 : 0u) | channel(16) | channel(8) | channel(0);
    }
    return buffers;
}

} // namespace tintaro
