// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/Decoders.h"
#include "platform/pictures/PictureLimits.h"

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>

#include <csetjmp>

namespace tintaro {

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "BGRA bytes are read as 0xAARRGGBB values");

// Encoders write about ten scans; a file with hundreds makes the decoder go
// over the whole picture hundreds of times, which only a hostile file asks for.
constexpr int kMaxScans = 100;
// libjpeg's own working memory (a progressive picture keeps all its
// coefficients), far above what the largest acceptable picture needs.
constexpr long kMaxDecoderMemory = 128L * 1024 * 1024;

struct QuietErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<QuietErrors*>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

void limitScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->progressive_mode && d->input_scan_number > kMaxScans) {
            leave(cinfo);
        }
    }
}

std::uint32_t fromCmyk(const JSAMPLE* p, bool inverted) {
    // Adobe's writers store CMYK inverted; plain CMYK is converted the textbook way.
    auto channel = [&](int ink) {
        const unsigned c = inverted ? p[ink] : 255u - p[ink];
        const unsigned k = inverted ? p[3] : 255u - p[3];
        return (c * k + 127) / 255;
    };
    return 0xFF000000u | channel(0) << 16 | channel(1) << 8 | channel(2);
}

// Everything that may longjmp back happens in here; only plain pointers
// live in this frame.
bool decodeInto(jpeg_decompress_struct* cinfo, QuietErrors* errors, jpeg_progress_mgr* progress,
                std::span<const std::uint8_t> bytes, Picture* picture, std::vector<JSAMPLE>* cmykRow) {
    if (setjmp(errors->jump) != 0) {
        return false;
    }
    // Creating clears every field but the error manager.
    jpeg_create_decompress(cinfo);
    cinfo->progress = progress;
    cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    // The header gives the size; the decoder allocates nothing large before
    // jpeg_start_decompress.
    if (!acceptablePictureSize(cinfo->image_width, cinfo->image_height)) {
        return false;
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(cinfo);
    const auto width = cinfo->output_width;
    const auto height = cinfo->output_height;
    if (!acceptablePictureSize(width, height) || cinfo->output_components != 4) {
        return false;
    }
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->argb.resize(static_cast<std::size_t>(width) * height);
    if (cmyk) {
        cmykRow->resize(static_cast<std::size_t>(width) * 4);
    }
    while (cinfo->output_scanline < height) {
        std::uint32_t* out = picture->argb.data() + static_cast<std::size_t>(cinfo->output_scanline) * width;
        JSAMPROW row = cmyk ? cmykRow->data() : reinterpret_cast<JSAMPROW>(out);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            return false;
        }
        if (cmyk) {
            for (JDIMENSION x = 0; x < width; ++x) {
                out[x] = fromCmyk(row + x * 4, cinfo->saw_Adobe_marker);
            }
        }
    }
    // What follows the last row is of no use here, so it is not read.
    return true;
}

} // namespace

std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes) {
    jpeg_decompress_struct cinfo{};
    QuietErrors errors{};
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leave;
    errors.manager.output_message = ignoreMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = limitScans;
    Picture picture;
    std::vector<JSAMPLE> cmykRow;
    bool ok = false;
    try {
        ok = decodeInto(&cinfo, &errors, &progress, bytes, &picture, &cmykRow);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        return std::nullopt;
    }
    return picture;
}

} // namespace tintaro
