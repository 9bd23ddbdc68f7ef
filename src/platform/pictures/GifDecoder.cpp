// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/Decoders.h"
#include "platform/pictures/PictureLimits.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tintaro {

namespace {

struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

// giflib treats a short read as the end of a damaged file.
int readFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t left = reader->bytes.size() - reader->at;
    const std::size_t n = std::min(left, static_cast<std::size_t>(std::max(wanted, 0)));
    std::memcpy(out, reader->bytes.data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Skips the rest of an extension; false when the file ends inside it.
bool skipExtension(GifFileType* gif, GifByteType* block) {
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
            return false;
        }
    }
    return true;
}

// Reads the rows of the current image in file order into `indices`.
bool readRows(GifFileType* gif, int width, int height, std::vector<GifPixelType>& indices) {
    auto row = [&](int y) { return indices.data() + static_cast<std::size_t>(y) * width; };
    if (!gif->Image.Interlace) {
        for (int y = 0; y < height; ++y) {
            if (DGifGetLine(gif, row(y), width) != GIF_OK) {
                return false;
            }
        }
        return true;
    }
    // Four passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            if (DGifGetLine(gif, row(y), width) != GIF_OK) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

std::optional<Picture> decodeGif(std::span<const std::uint8_t> bytes) {
    MemoryReader reader{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) {
        return std::nullopt;
    }
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) {
            return std::nullopt;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) {
                return std::nullopt;
            }
            GraphicsControlBlock control;
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4 &&
                DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                transparent = control.TransparentColor;
            }
            if (!skipExtension(gif.get(), block)) {
                return std::nullopt;
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) {
            return std::nullopt; // the file ends before its first image
        }
        break;
    }
    // The image descriptor gives the size; nothing is allocated before it is checked.
    if (DGifGetImageDesc(gif.get()) != GIF_OK) {
        return std::nullopt;
    }
    const int width = gif->Image.Width;
    const int height = gif->Image.Height;
    const ColorMapObject* map = gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap;
    if (!acceptablePictureSize(width, height) || map == nullptr || map->Colors == nullptr) {
        return std::nullopt;
    }
    std::vector<GifPixelType> indices(static_cast<std::size_t>(width) * height);
    if (!readRows(gif.get(), width, height, indices)) {
        return std::nullopt;
    }
    // An index beyond the colour table (a damaged file) shows black.
    std::uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i] = 0xFF000000u;
        if (i < map->ColorCount) {
            const GifColorType& c = map->Colors[i];
            colours[i] |=
                static_cast<std::uint32_t>(c.Red) << 16 | static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
        }
    }
    if (transparent >= 0 && transparent < 256) {
        colours[transparent] &= 0x00FFFFFFu;
    }
    Picture picture{width, height, std::vector<std::uint32_t>(indices.size())};
    std::transform(indices.begin(), indices.end(), picture.argb.begin(),
                   [&](GifPixelType index) { return colours[index]; });
    return picture;
}

} // namespace tintaro
