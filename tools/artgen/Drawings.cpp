// SPDX-License-Identifier: GPL-3.0-or-later

#include "Drawings.h"

#include "GifWriter.h"
#include "JpegWriter.h"
#include "Resample.h"
#include "SvgRenderer.h"
#include "Template.h"

#include <exception>
#include <iostream>

namespace artgen {

namespace {

// Colour the paper of a highlighted card is tinted with; its red channel stays 255, so
// the red channel of both cards carries the shrunken drawing unchanged.
constexpr int kHighlightGreen = 244;
constexpr int kHighlightBlue = 176;

Surface drawingSurface(const std::vector<std::uint8_t>& grey, int width, int height, bool highlighted) {
    Surface out(width, height);
    cairo_surface_flush(out.get());
    unsigned char* data = cairo_image_surface_get_data(out.get());
    const int stride = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const unsigned v = grey[static_cast<std::size_t>(y) * width + x];
            const unsigned g = highlighted ? v * kHighlightGreen / 255 : v;
            const unsigned b = highlighted ? v * kHighlightBlue / 255 : v;
            row[x] = 0xFF000000u | (v << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(out.get());
    return out;
}

} // namespace

std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

DrawingReport renderDrawings(const std::filesystem::path& artDir, const std::filesystem::path& pictureDir) {
    DrawingReport report;
    for (int n = 1; n <= kDrawingCount; ++n) {
        const std::filesystem::path source = artDir / "drawings" / (twoDigits(n) + ".svg");
        if (!std::filesystem::exists(source)) {
            report.missing.push_back(n);
            continue;
        }
        Surface page(kDrawingWidth, kDrawingHeight);
        page.fill(1, 1, 1);
        try {
            page.paint(renderSvg(readText(source), kDrawingWidth, kDrawingHeight, source.string()), 0, 0);
        } catch (const std::exception& error) {
            report.failed.push_back(error.what());
            continue;
        }
        const std::vector<std::uint8_t> rgb = page.rgb();
        std::vector<std::uint8_t> ink(static_cast<std::size_t>(kDrawingWidth) * kDrawingHeight);
        for (std::size_t i = 0; i < ink.size(); ++i) {
            const int luminance = (299 * rgb[i * 3] + 587 * rgb[i * 3 + 1] + 114 * rgb[i * 3 + 2]) / 1000;
            ink[i] = luminance < 128 ? 1 : 0;
        }
        writeBilevelGif(pictureDir / (twoDigits(n) + ".GIF"), ink, kDrawingWidth, kDrawingHeight);
    }
    const std::vector<std::uint8_t> blank(static_cast<std::size_t>(kDrawingWidth) * kDrawingHeight, 0);
    writeBilevelGif(pictureDir / "00.GIF", blank, kDrawingWidth, kDrawingHeight);
    return report;
}

std::vector<Thumbnail> renderThumbnails(const std::filesystem::path& artDir,
                                        const std::filesystem::path& pictureDir) {
    const std::filesystem::path cardSource = artDir / "ui" / "thumbnail_card.svg";
    const std::string card = readText(cardSource);
    std::vector<Thumbnail> out;
    for (int n = 1; n <= kDrawingCount; ++n) {
        const std::optional<GreyImage> drawing = readGifGrey(pictureDir / (twoDigits(n) + ".GIF"));
        if (!drawing || drawing->width != kDrawingWidth || drawing->height != kDrawingHeight) {
            std::cerr << "artgen: no thumbnails for drawing " << twoDigits(n) << " (its GIF is missing)\n";
            continue;
        }
        const std::vector<std::uint8_t> small = areaAverage(drawing->pixels, drawing->width, drawing->height,
                                                            kThumbnailInnerWidth, kThumbnailInnerHeight);
        const std::string p = twoDigits(thumbnailPictureNumber(n));
        for (const bool highlighted : {false, true}) {
            const Vars vars = {{"state", highlighted ? "lit" : "plain"}};
            Surface face = renderSvg(fillTemplate(card, vars, cardSource.string()), kThumbnailWidth,
                                     kThumbnailHeight, cardSource.string());
            face.paint(drawingSurface(small, kThumbnailInnerWidth, kThumbnailInnerHeight, highlighted),
                       kThumbnailInnerX, kThumbnailInnerY);
            const std::string file =
                std::string(highlighted ? "GALERIJA1ZUTE_" : "GALERIJA1BELE_") + p + ".JPG";
            writeJpeg(pictureDir / file, face);
            out.push_back({file, std::move(face)});
        }
    }
    return out;
}

} // namespace artgen
