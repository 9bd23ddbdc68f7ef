// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/Decoders.h"
#include "platform/pictures/PictureLimits.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace tintaro {

namespace {

// Ancillary chunks (text, profiles) may not make libpng hold more than this.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;

struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

// A read past the end is an error, never a buffer left as it was: a reader
// that ignores the shortfall lets libpng go on with stale bytes, which is how
// one changed chunk length can keep it busy for ever.
void readFromMemory(png_structp png, png_bytep out, png_size_t wanted) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (wanted > reader->bytes.size() - reader->at) {
        png_error(png, "read past the end");
    }
    std::memcpy(out, reader->bytes.data() + reader->at, wanted);
    reader->at += wanted;
}

[[noreturn]] void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void quietWarning(png_structp, png_const_charp) {}

// What the decoding frame keeps in memory across a longjmp.
struct Decoding {
    MemoryReader reader;
    std::vector<png_byte> rgba;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

// Everything that may longjmp back happens in here; only plain pointers and
// the `Decoding` owned by the caller live in this frame.
bool decodeInto(png_structp png, png_infop info, Decoding* d) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_read_fn(png, &d->reader, readFromMemory);
    png_set_user_limits(png, static_cast<png_uint_32>(kMaxPictureSide),
                        static_cast<png_uint_32>(kMaxPictureSide));
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    int depth = 0;
    int colourType = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &d->width, &d->height, &depth, &colourType, &interlace, nullptr, nullptr);
    if (!acceptablePictureSize(d->width, d->height)) {
        return false;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(d->width) * 4) {
        return false;
    }
    d->rgba.resize(static_cast<std::size_t>(d->width) * d->height * 4);
    d->rows.resize(d->height);
    for (png_uint_32 y = 0; y < d->height; ++y) {
        d->rows[y] = d->rgba.data() + static_cast<std::size_t>(y) * d->width * 4;
    }
    // The chunks after the pixels are of no use here, so they are not read.
    png_read_image(png, d->rows.data());
    return true;
}

} // namespace

std::optional<Picture> decodePng(std::span<const std::uint8_t> bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (png == nullptr) {
        return std::nullopt;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    Decoding d;
    d.reader.bytes = bytes;
    bool ok = false;
    try {
        ok = decodeInto(png, info, &d);
    } catch (...) {
        // A failed allocation of ours: libpng's state is still whole.
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        return std::nullopt;
    }
    Picture picture{static_cast<int>(d.width), static_cast<int>(d.height),
                    std::vector<std::uint32_t>(static_cast<std::size_t>(d.width) * d.height)};
    for (std::size_t i = 0; i < picture.argb.size(); ++i) {
        const png_byte* p = &d.rgba[i * 4];
        picture.argb[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                          static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    }
    return picture;
}

} // namespace tintaro
