// SPDX-License-Identifier: GPL-3.0-or-later

#include "JpegWriter.h"

#include <cstdio>
#include <jpeglib.h>

#include <stdexcept>

namespace artgen {

void writeJpeg(const std::filesystem::path& path, const Surface& surface) {
    const std::vector<std::uint8_t> pixels = surface.rgb();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path.string());
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(surface.width());
    info.image_height = static_cast<JDIMENSION>(surface.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(surface.width()) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[info.next_scanline * stride]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fclose(file) != 0) {
        throw std::runtime_error("cannot finish " + path.string());
    }
}

} // namespace artgen
