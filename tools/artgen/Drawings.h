// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "GifReader.h"
#include "Surface.h"

#include "gallery/GalleryGrid.h"
#include "scene/ControlTable.h"

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

constexpr int kDrawingWidth = tintaro::kCanvasRect.w;
constexpr int kDrawingHeight = tintaro::kCanvasRect.h;
constexpr int kDrawingCount = 25;

constexpr int kThumbnailWidth = tintaro::controlSpec(tintaro::ControlId::Galerija1).rect.w;
constexpr int kThumbnailHeight = tintaro::controlSpec(tintaro::ControlId::Galerija1).rect.h;
// Where the shrunken drawing sits on its card; the asset check knows the same rectangle.
constexpr int kThumbnailInnerX = 8;
constexpr int kThumbnailInnerY = 15;
constexpr int kThumbnailInnerWidth = 115;
constexpr int kThumbnailInnerHeight = 92;

// Picture number p of thumbnail n (1..25), as the program names its pictures.
using tintaro::thumbnailPictureNumber;
std::string twoDigits(int value);

struct DrawingReport {
    std::vector<int> missing;        // no SVG yet; the GIF in the tree is left as it is
    std::vector<std::string> failed; // SVGs that could not be rendered, with the reason
};

// Renders art/drawings/NN.svg for every drawing that exists into PICTURE/NN.GIF (bi-level,
// luminance below 128 becomes black) and writes the blank page 00.GIF. A drawing that is
// missing or broken is reported and skipped, so the others are still rendered.
DrawingReport renderDrawings(const std::filesystem::path& artDir, const std::filesystem::path& pictureDir);

struct Thumbnail {
    std::string file;
    Surface surface;
};

// Builds both cards of every drawing whose GIF is in pictureDir, from that GIF itself,
// and writes them as GALERIJA1BELE_pp.JPG and GALERIJA1ZUTE_pp.JPG.
std::vector<Thumbnail> renderThumbnails(const std::filesystem::path& artDir,
                                        const std::filesystem::path& pictureDir);

} // namespace artgen
