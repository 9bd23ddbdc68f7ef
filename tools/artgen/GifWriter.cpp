// SPDX-License-Identifier: GPL-3.0-or-later

#include "GifWriter.h"

#include <gif_lib.h>

#include <stdexcept>
#include <string>

namespace artgen {

void writeBilevelGif(const std::filesystem::path& path, const std::vector<std::uint8_t>& ink, int width,
                     int height) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) {
        throw std::runtime_error("cannot write " + path.string() + ": " + GifErrorString(error));
    }
    GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    bool ok = map != nullptr && EGifPutScreenDesc(gif, width, height, 1, 1, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (int y = 0; ok && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            line[x] = ink[static_cast<std::size_t>(y) * width + x] != 0 ? 0 : 1;
        }
        ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    const int closeResult = EGifCloseFile(gif, &error);
    if (!ok || closeResult != GIF_OK) {
        throw std::runtime_error("failed writing " + path.string());
    }
}

} // namespace artgen
