// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/Decoders.h"
#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/PictureLimits.h"

#include <algorithm>

namespace tintaro {

namespace {

constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kBitmapHeaderBytes = 40;

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

struct Entry {
    std::int64_t area = 0;   // as the directory claims it
    std::uint32_t depth = 0; // bits per pixel as the directory claims it (icons only)
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

// The largest image the directory lists, the deepest among equals; only a
// guess until its own header is read.
std::optional<Entry> chooseEntry(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDirectoryBytes) {
        return std::nullopt;
    }
    const bool icon = le16(bytes, 2) == 1;
    const std::size_t count = le16(bytes, 4);
    if (count == 0 || bytes.size() < kDirectoryBytes + count * kEntryBytes) {
        return std::nullopt;
    }
    std::optional<Entry> best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectoryBytes + i * kEntryBytes;
        const std::int64_t w = bytes[at] == 0 ? 256 : bytes[at];
        const std::int64_t h = bytes[at + 1] == 0 ? 256 : bytes[at + 1];
        const Entry e{w * h, icon ? le16(bytes, at + 6) : 0, le32(bytes, at + 8), le32(bytes, at + 12)};
        if (!best || e.area > best->area || (e.area == best->area && e.depth > best->depth)) {
            best = e;
        }
    }
    return best;
}

// A BMP without its file header, as icons hold it: colour rows bottom-up,
// then a 1-bit AND mask whose set bits are transparent.
std::optional<Picture> decodeBitmap(std::span<const std::uint8_t> dib) {
    if (dib.size() < kBitmapHeaderBytes) {
        return std::nullopt;
    }
    const std::uint32_t headerBytes = le32(dib, 0);
    const auto width = static_cast<std::int32_t>(le32(dib, 4));
    const auto doubledHeight = static_cast<std::int32_t>(le32(dib, 8));
    const std::uint32_t depth = le16(dib, 14);
    const std::uint32_t compression = le32(dib, 16);
    const std::uint32_t coloursUsed = le32(dib, 32);
    // The height counts the colour rows and the mask rows together.
    const std::int64_t height = doubledHeight / 2;
    if (headerBytes < kBitmapHeaderBytes || headerBytes > dib.size() || compression != 0 ||
        !acceptablePictureSize(width, height)) {
        return std::nullopt;
    }
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) {
        return std::nullopt;
    }
    const std::uint64_t paletteSize = depth <= 8 ? (coloursUsed != 0 ? coloursUsed : 1u << depth) : 0;
    if (paletteSize > (1u << std::min<std::uint32_t>(depth, 8))) {
        return std::nullopt;
    }
    const std::uint64_t paletteAt = headerBytes;
    const std::uint64_t pixelsAt = paletteAt + paletteSize * 4;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * depth + 31) / 32 * 4;
    const std::uint64_t maskAt = pixelsAt + stride * static_cast<std::uint64_t>(height);
    const std::uint64_t maskStride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    if (maskAt > dib.size()) {
        return std::nullopt;
    }
    // Some writers leave the mask out; their pictures are opaque.
    const bool hasMask = maskAt + maskStride * static_cast<std::uint64_t>(height) <= dib.size();

    Picture picture{
        width, static_cast<int>(height),
        std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    bool anyAlpha = false;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint64_t row = pixelsAt + static_cast<std::uint64_t>(height - 1 - y) * stride;
        std::uint32_t* out = &picture.argb[static_cast<std::size_t>(y * width)];
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint32_t colour = 0xFF000000u;
            if (depth <= 8) {
                const std::uint64_t bit = static_cast<std::uint64_t>(x) * depth;
                const std::uint32_t byte = dib[row + bit / 8];
                const std::uint32_t index = (byte >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
                if (index < paletteSize) {
                    colour |= le32(dib, paletteAt + index * 4) & 0xFFFFFFu;
                }
            } else {
                const std::uint64_t at = row + static_cast<std::uint64_t>(x) * (depth / 8);
                colour = le16(dib, at) | static_cast<std::uint32_t>(dib[at + 2]) << 16;
                colour |= depth == 32 ? static_cast<std::uint32_t>(dib[at + 3]) << 24 : 0xFF000000u;
                anyAlpha = anyAlpha || (depth == 32 && dib[at + 3] != 0);
            }
            out[x] = colour;
        }
    }
    // A 32-bit picture with an alpha channel ignores the mask; in one whose
    // alpha is all zero, the mask alone tells what is transparent.
    if (depth == 32 && anyAlpha) {
        return picture;
    }
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint64_t row = maskAt + static_cast<std::uint64_t>(height - 1 - y) * maskStride;
        std::uint32_t* out = &picture.argb[static_cast<std::size_t>(y * width)];
        for (std::int32_t x = 0; x < width; ++x) {
            const bool transparent =
                hasMask && ((dib[row + static_cast<std::uint64_t>(x) / 8] >> (7 - x % 8)) & 1) != 0;
            out[x] = transparent ? (out[x] & 0xFFFFFFu) : (out[x] | 0xFF000000u);
        }
    }
    return picture;
}

} // namespace

std::optional<Picture> decodeIco(std::span<const std::uint8_t> bytes) {
    const auto entry = chooseEntry(bytes);
    if (!entry || entry->offset >= bytes.size()) {
        return std::nullopt;
    }
    // A size that runs past the end is taken as "to the end".
    auto image = bytes.subspan(entry->offset);
    image = image.first(std::min<std::size_t>(image.size(), entry->size));
    if (pictureFormat(image) == PictureFormat::Png) {
        return decodePng(image);
    }
    return decodeBitmap(image);
}

} // namespace tintaro
