// SPDX-License-Identifier: GPL-3.0-or-later

#include "GifReader.h"

#include <gif_lib.h>

namespace artgen {

std::optional<GreyImage> readGifGrey(const std::filesystem::path& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return std::nullopt;
    }
    std::optional<GreyImage> result;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr && image.ImageDesc.Left == 0 && image.ImageDesc.Top == 0 &&
            !image.ImageDesc.Interlace) {
            GreyImage grey;
            grey.width = image.ImageDesc.Width;
            grey.height = image.ImageDesc.Height;
            grey.pixels.resize(static_cast<std::size_t>(grey.width) * grey.height);
            for (std::size_t i = 0; i < grey.pixels.size(); ++i) {
                const GifColorType c = map->Colors[image.RasterBits[i] % map->ColorCount];
                grey.pixels[i] =
                    static_cast<std::uint8_t>((299 * c.Red + 587 * c.Green + 114 * c.Blue) / 1000);
            }
            result = std::move(grey);
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

} // namespace artgen
