// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Writers of small test pictures in every format and variant the decoders
// read, through the reference libraries (giflib, libpng, libjpeg) where
// there is one.

#include "platform/Platform.h"
#include "platform/pictures/Picture.h"

#include <vector>

namespace tintaro::test {

// w x h pixels of distinct, non-repeating colours; with `alpha`, a spread of
// alpha values including 0 and 255.
Picture patternPicture(int w, int h, bool alpha = false);

struct GifSpec {
    int screenWidth = 0;
    int screenHeight = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB, up to 256
    std::vector<std::uint8_t> indices;  // width x height, top row first
    bool interlaced = false;
    int transparent = -1;      // the transparent index, -1 for none
    bool localPalette = false; // the palette as the image's own, none for the screen
};
Bytes writeGif(const GifSpec& spec);

enum class PngKind { Grey, GreyAlpha, Rgb, Rgba, Palette };
// The picture as the PNG kind keeps it: grey kinds take the red channel, the
// palette kind needs at most 2^depth colours (alpha through tRNS).
Bytes writePng(const Picture& picture, PngKind kind, int depth, bool interlaced);

enum class JpegKind { Colour, Grey, Progressive, AdobeCmyk, OneScanPerCoefficient };
// Quality 95. The Adobe CMYK kind stores the colours inverted, as Adobe's
// writers do; OneScanPerCoefficient is a valid progressive file of 190 scans.
Bytes writeJpeg(const Picture& picture, JpegKind kind);

struct IcoImage {
    Picture picture;
    int depth = 32;   // 1, 4, 8, 24 or 32 bits per pixel; colours must fit a palette of 2^depth
    bool png = false; // stored as a PNG instead of a bitmap
};
// Bitmaps carry an AND mask that marks every pixel whose alpha is below 128.
Bytes writeIco(const std::vector<IcoImage>& images);

} // namespace tintaro::test
