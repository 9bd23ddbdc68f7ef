// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/PictureDecoder.h"

#include "platform/pictures/Decoders.h"

#include <algorithm>

namespace tintaro {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// The straight-alpha blend of one channel over white, rounded.
std::uint32_t overWhite(std::uint32_t channel, std::uint32_t alpha) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

} // namespace

PictureFormat pictureFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, {'G', 'I', 'F', '8'})) {
        return PictureFormat::Gif;
    }
    if (startsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
        return PictureFormat::Png;
    }
    if (startsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        return PictureFormat::Jpeg;
    }
    // Icons (type 1) and cursors (type 2) share the layout.
    if (startsWith(bytes, {0, 0, 1, 0}) || startsWith(bytes, {0, 0, 2, 0})) {
        return PictureFormat::Ico;
    }
    return PictureFormat::Unknown;
}

std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes) noexcept {
    // A failed allocation is one more way for a picture to be unreadable.
    try {
        switch (pictureFormat(bytes)) {
        case PictureFormat::Gif:
            return decodeGif(bytes);
        case PictureFormat::Png:
            return decodePng(bytes);
        case PictureFormat::Jpeg:
            return decodeJpeg(bytes);
        case PictureFormat::Ico:
            return decodeIco(bytes);
        case PictureFormat::Unknown:
            break;
        }
    } catch (...) {
    }
    return std::nullopt;
}

namespace {

Colour colourOnWhite(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    return rgb(overWhite((p >> 16) & 0xFF, a), overWhite((p >> 8) & 0xFF, a), overWhite(p & 0xFF, a));
}

} // namespace

Image onWhite(const Picture& picture) {
    Image image(picture.width, picture.height);
    std::transform(picture.argb.begin(), picture.argb.end(), image.pixels.begin(), colourOnWhite);
    return image;
}

Image onWhite(Picture&& picture) {
    // The values are turned over in the decoded buffer, which the image then
    // takes: a screen-sized picture never needs two buffers at once.
    std::transform(picture.argb.begin(), picture.argb.end(), picture.argb.begin(), colourOnWhite);
    Image image;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels = std::move(picture.argb);
    return image;
}

} // namespace tintaro
