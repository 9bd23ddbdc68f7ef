// SPDX-License-Identifier: GPL-3.0-or-later

#include "GifImage.h"

#include <gif_lib.h>

#include <cstdio>
#include <memory>

namespace tintaro::testing {

std::optional<Image> loadGif(const std::string& path) {
    int error = 0;
    GifFileType* raw = DGifOpenFileName(path.c_str(), &error);
    if (raw == nullptr)
        return std::nullopt;
    auto close = [](GifFileType* g) { DGifCloseFile(g, nullptr); };
    std::unique_ptr<GifFileType, decltype(close)> gif(raw, close);
    if (DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1)
        return std::nullopt;

    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (map == nullptr)
        return std::nullopt;
    int transparent = -1;
    GraphicsControlBlock control;
    if (DGifSavedExtensionToGCB(gif.get(), 0, &control) == GIF_OK)
        transparent = control.TransparentColor;

    Image image(gif->SWidth, gif->SHeight, kWhite);
    const GifImageDesc& d = frame.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
        for (int x = 0; x < d.Width; ++x) {
            const int index = frame.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
            if (index == transparent || index >= map->ColorCount || !image.contains(d.Left + x, d.Top + y))
                continue;
            const GifColorType& c = map->Colors[index];
            image.at(d.Left + x, d.Top + y) = rgb(c.Red, c.Green, c.Blue);
        }
    }
    return image;
}

std::string drawingPath(const std::string& assets, int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.GIF", n);
    return assets + "/PICTURE/" + name;
}

} // namespace tintaro::testing
