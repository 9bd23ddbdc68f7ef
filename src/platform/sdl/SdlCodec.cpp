// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlCodec.h"

#include "platform/pictures/PictureDecoder.h"
#include "platform/sdl/SdlSurface.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

namespace tintaro {

// SDL_PIXELFORMAT_XBGR8888 holds red in the lowest byte on a little-endian
// machine, which is exactly the Colour layout.
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "Colour values are stored as little-endian XBGR8888");

std::optional<Image> SdlCodec::decode(std::span<const std::uint8_t> bytes) {
    auto picture = decodePicture(bytes);
    if (!picture) {
        return std::nullopt;
    }
    // Transparent parts (icons, GIFs with a transparent index) lie on white,
    // the colour of the page.
    try {
        return onWhite(std::move(*picture));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<Bytes> SdlCodec::encodeLossless(const Image& image) {
    if (auto gif = encodeGif(image)) {
        return gif;
    }
    return encodePng(image);
}

namespace {

int appendToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

bool validImage(const Image& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
}

} // namespace

std::optional<Bytes> encodeGif(const Image& image) {
    if (!validImage(image)) {
        return std::nullopt;
    }
    // Collect the palette in order of first appearance; more than 256
    // colours cannot be kept exactly in a GIF.
    std::unordered_map<Colour, GifPixelType> index;
    std::vector<Colour> palette;
    for (Colour c : image.pixels) {
        c &= 0xFFFFFF;
        if (index.find(c) == index.end()) {
            if (palette.size() == 256) {
                return std::nullopt;
            }
            index.emplace(c, static_cast<GifPixelType>(palette.size()));
            palette.push_back(c);
        }
    }
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) {
        ++bits;
    }
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (map == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        map->Colors[i].Red = static_cast<GifByteType>(palette[i] & 0xFF);
        map->Colors[i].Green = static_cast<GifByteType>((palette[i] >> 8) & 0xFF);
        map->Colors[i].Blue = static_cast<GifByteType>((palette[i] >> 16) & 0xFF);
    }

    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBytes, &error);
    if (gif == nullptr) {
        GifFreeMapObject(map);
        return std::nullopt;
    }
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.width));
    for (int y = 0; ok && y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            line[static_cast<std::size_t>(x)] = index[image.at(x, y) & 0xFFFFFF];
        }
        ok = EGifPutLine(gif, line.data(), image.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

namespace {

Sint64 growingSize(SDL_RWops* rw) {
    return static_cast<Sint64>(static_cast<Bytes*>(rw->hidden.unknown.data1)->size());
}

Sint64 growingSeek(SDL_RWops* rw, Sint64 offset, int whence) {
    // Writers only ask where they are; the PNG writer never seeks back.
    if (offset == 0 && (whence == RW_SEEK_CUR || whence == RW_SEEK_END)) {
        return growingSize(rw);
    }
    return SDL_SetError("seek not supported");
}

size_t growingRead(SDL_RWops*, void*, size_t, size_t) {
    return 0;
}

size_t growingWrite(SDL_RWops* rw, const void* data, size_t size, size_t count) {
    auto* out = static_cast<Bytes*>(rw->hidden.unknown.data1);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size * count);
    return count;
}

int growingClose(SDL_RWops* rw) {
    SDL_FreeRW(rw);
    return 0;
}

} // namespace

std::optional<Bytes> encodePng(const Image& image) {
    if (!validImage(image)) {
        return std::nullopt;
    }
    // The surface borrows the pixels; SDL2_image converts as it writes.
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Colour*>(image.pixels.data()),
                                                          image.width, image.height, 32, image.width * 4,
                                                          SDL_PIXELFORMAT_XBGR8888));
    if (!surface) {
        return std::nullopt;
    }
    Bytes out;
    SDL_RWops* rw = SDL_AllocRW();
    if (rw == nullptr) {
        return std::nullopt;
    }
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = &out;
    rw->size = growingSize;
    rw->seek = growingSeek;
    rw->read = growingRead;
    rw->write = growingWrite;
    rw->close = growingClose;
    if (IMG_SavePNG_RW(surface.get(), rw, 1) != 0 || out.empty()) {
        return std::nullopt;
    }
    return out;
}

} // namespace tintaro
