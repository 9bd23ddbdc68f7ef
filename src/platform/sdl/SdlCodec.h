// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

namespace tintaro {

// Reads pictures with the safe decoders of platform/pictures; writes GIF with
// giflib and PNG with SDL2_image.
// Needs no SDL_Init and no display.
class SdlCodec final : public Codec {
  public:
    std::optional<Image> decode(std::span<const std::uint8_t> bytes) override;
    std::optional<Bytes> encodeLossless(const Image& image) override;
};

// The two writers, also used on their own by the tests.
std::optional<Bytes> encodeGif(const Image& image);
std::optional<Bytes> encodePng(const Image& image);

} // namespace tintaro
