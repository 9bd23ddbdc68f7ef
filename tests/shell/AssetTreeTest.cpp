// SPDX-License-Identifier: GPL-3.0-or-later
// The asset check: validates the committed picture tree the way an artist needs it
// validated. Every failure names the file and says what to change.

#include "gallery/GalleryGrid.h"
#include "scene/ControlTable.h"
#include "shell/AssetManifest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <gif_lib.h>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kAssets = TINTARO_ASSETS;
const fs::path kPictures = kAssets / "PICTURE";

constexpr int kDrawingWidth = 750;
constexpr int kDrawingHeight = 600;
constexpr int kDrawings = 25;

// Where the shrunken drawing sits on a 131 x 122 gallery card.
constexpr int kCardInnerX = 8;
constexpr int kCardInnerY = 15;
constexpr int kCardInnerWidth = 115;
constexpr int kCardInnerHeight = 92;

std::string two(int n) {
    char text[12];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

int pictureNumber(int thumbnail) {
    return tintaro::thumbnailPictureNumber(thumbnail);
}

struct Size {
    int width;
    int height;
    bool operator==(const Size&) const = default;
};

// The 147 checked pictures in the order the start-up measures them (read down each
// column of the layout's table), each with the pixel size of the control that shows it.
std::vector<std::pair<std::string, Size>> checkedPictures() {
    std::vector<std::pair<std::string, Size>> out;
    for (int n = 1; n <= kDrawings; ++n) {
        out.push_back({two(n) + ".GIF", {750, 600}});
    }
    for (const char* card : {"GALERIJA1BELE_", "GALERIJA1ZUTE_"}) {
        for (int n = 1; n <= kDrawings; ++n) {
            out.push_back({card + two(pictureNumber(n)) + ".JPG", {131, 122}});
        }
    }
    out.push_back({"CTRL-R.JPG", {400, 250}});
    out.push_back({"GALERIJA.JPG", {1024, 768}});
    out.push_back({"GLAVNA.JPG", {1024, 768}});
    out.push_back({"MOREIMAGES1.JPG", {160, 169}});
    out.push_back({"MOREIMAGES2.JPG", {160, 169}});
    out.push_back({"KAPLJICA1.JPG", {58, 81}});
    out.push_back({"KAPLJICA2.JPG", {58, 81}});
    out.push_back({"OLOVKA1.JPG", {62, 81}});
    out.push_back({"OLOVKA2.JPG", {62, 81}});
    const int paletteWidths[12] = {85, 84, 84, 84, 83, 85, 83, 84, 84, 84, 84, 86};
    for (int phase = 1; phase <= 3; ++phase) {
        for (int i = 0; i < 12; ++i) {
            out.push_back(
                {"BOJE" + std::to_string(phase) + "_" + two(i + 1) + ".JPG", {paletteWidths[i], 85}});
        }
    }
    const std::vector<std::pair<std::string, Size>> rest = {
        {"BACK1.JPG", {192, 40}},    {"BACK2.JPG", {192, 40}},     {"CLOSE1.JPG", {73, 27}},
        {"CLOSE2.JPG", {73, 27}},    {"CTRLR5821.JPG", {110, 35}}, {"CTRLR5822.JPG", {110, 35}},
        {"CTRLX.JPG", {400, 250}},   {"VISIT1.JPG", {330, 62}},    {"VISIT2.JPG", {330, 62}},
        {"00.GIF", {750, 600}},      {"GUMICA1.JPG", {112, 61}},   {"GUMICA2.JPG", {112, 61}},
        {"PAPIR1.JPG", {63, 61}},    {"PAPIR2.JPG", {63, 61}},     {"MUSICOFF1.JPG", {78, 79}},
        {"MUSICOFF2.JPG", {78, 79}}, {"MUZIKA1.JPG", {78, 79}},    {"MUZIKA2.JPG", {78, 79}},
        {"NO1.JPG", {85, 50}},       {"NO2.JPG", {85, 50}},        {"PRINTING.JPG", {400, 250}},
        {"SOUNDOFF1.JPG", {78, 79}}, {"SOUNDOFF2.JPG", {78, 79}},  {"YES1.JPG", {107, 50}},
        {"YES2.JPG", {107, 50}},     {"ZVUCNIK1.JPG", {78, 79}},   {"ZVUCNIK2.JPG", {78, 79}},
    };
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// ---- decoding -------------------------------------------------------------------

struct Rgb {
    Size size{0, 0};
    std::vector<std::uint8_t> pixels; // r, g, b per pixel
    std::uint8_t red(int x, int y) const {
        return pixels[(static_cast<std::size_t>(y) * size.width + x) * 3];
    }
};

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Decodes a JPEG; with headerOnly the pixels stay empty.
std::optional<Rgb> readJpeg(const fs::path& path, bool headerOnly = false) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    Rgb image;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    image.size = {static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    if (!headerOnly) {
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        image.pixels.resize(static_cast<std::size_t>(image.size.width) * image.size.height * 3);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row =
                &image.pixels[static_cast<std::size_t>(info.output_scanline) * image.size.width * 3];
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}

struct Gif {
    Size size{0, 0};
    std::vector<std::uint32_t> colours; // 0xRRGGBB per pixel
};

std::optional<Gif> readGif(const fs::path& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return std::nullopt;
    }
    std::optional<Gif> result;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map =
            frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr) {
            Gif out;
            out.size = {gif->SWidth, gif->SHeight};
            out.colours.assign(static_cast<std::size_t>(gif->SWidth) * gif->SHeight, 0xFFFFFF);
            for (int y = 0; y < frame.ImageDesc.Height; ++y) {
                for (int x = 0; x < frame.ImageDesc.Width; ++x) {
                    const int tx = x + frame.ImageDesc.Left;
                    const int ty = y + frame.ImageDesc.Top;
                    if (tx >= out.size.width || ty >= out.size.height) {
                        continue;
                    }
                    const GifColorType c =
                        map->Colors[frame
                                        .RasterBits[static_cast<std::size_t>(y) * frame.ImageDesc.Width + x] %
                                    map->ColorCount];
                    out.colours[static_cast<std::size_t>(ty) * out.size.width + tx] =
                        (static_cast<std::uint32_t>(c.Red) << 16) | (c.Green << 8) | c.Blue;
                }
            }
            result = std::move(out);
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned be32(const std::string& bytes, std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
}

std::optional<Size> pngSize(const fs::path& path) {
    const std::string bytes = readBytes(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    return Size{static_cast<int>(be32(bytes, 16)), static_cast<int>(be32(bytes, 20))};
}

// The size of an ICO's single image, from its directory entry (0 stands for 256).
std::optional<Size> icoSize(const fs::path& path, int* imageCount) {
    const std::string bytes = readBytes(path);
    if (bytes.size() < 22 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0) {
        return std::nullopt;
    }
    *imageCount = static_cast<unsigned char>(bytes[4]) | (static_cast<unsigned char>(bytes[5]) << 8);
    const int w = static_cast<unsigned char>(bytes[6]);
    const int h = static_cast<unsigned char>(bytes[7]);
    return Size{w == 0 ? 256 : w, h == 0 ? 256 : h};
}

// ---- measuring ------------------------------------------------------------------

struct WhiteAreas {
    int count = 0;
    std::vector<std::pair<int, int>> tooSmall; // (size, index of a pixel in it)
};

// 4-connected areas of white pixels: what one click of the fill bucket colours.
WhiteAreas whiteAreas(const std::vector<std::uint8_t>& white, int width, int height, int minimum) {
    WhiteAreas areas;
    std::vector<int> label(white.size(), -1);
    std::vector<int> stack;
    for (int start = 0; start < static_cast<int>(white.size()); ++start) {
        if (!white[start] || label[start] >= 0) {
            continue;
        }
        int size = 0;
        stack.push_back(start);
        label[start] = areas.count;
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            ++size;
            const int x = p % width;
            const int y = p / width;
            const int neighbours[4] = {x > 0 ? p - 1 : -1, x + 1 < width ? p + 1 : -1, y > 0 ? p - width : -1,
                                       y + 1 < height ? p + width : -1};
            for (int q : neighbours) {
                if (q >= 0 && white[q] && label[q] < 0) {
                    label[q] = areas.count;
                    stack.push_back(q);
                }
            }
        }
        if (size < minimum) {
            areas.tooSmall.push_back({size, start});
        }
        ++areas.count;
    }
    return areas;
}

// Shrinks a grey image by area averaging, each output pixel the mean of the source area
// it covers (partial pixels weighted).
std::vector<double> shrink(const std::vector<double>& source, int sw, int sh, int dw, int dh) {
    std::vector<double> out(static_cast<std::size_t>(dw) * dh);
    const double fx = static_cast<double>(sw) / dw;
    const double fy = static_cast<double>(sh) / dh;
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            double sum = 0;
            double weight = 0;
            for (int sy = static_cast<int>(y * fy); sy < std::min<double>(sh, (y + 1) * fy); ++sy) {
                const double wy = std::min<double>(sy + 1, (y + 1) * fy) - std::max<double>(sy, y * fy);
                for (int sx = static_cast<int>(x * fx); sx < std::min<double>(sw, (x + 1) * fx); ++sx) {
                    const double wx = std::min<double>(sx + 1, (x + 1) * fx) - std::max<double>(sx, x * fx);
                    sum += wx * wy * source[static_cast<std::size_t>(sy) * sw + sx];
                    weight += wx * wy;
                }
            }
            out[static_cast<std::size_t>(y) * dw + x] = sum / weight;
        }
    }
    return out;
}

// Mean absolute difference between a drawing shrunk to the card's inner area and the red
// channel of that area on the card (both cards keep the drawing in their red channel).
double cardDifference(const std::vector<double>& shrunkDrawing, const Rgb& card) {
    double sum = 0;
    for (int y = 0; y < kCardInnerHeight; ++y) {
        for (int x = 0; x < kCardInnerWidth; ++x) {
            sum += std::abs(shrunkDrawing[static_cast<std::size_t>(y) * kCardInnerWidth + x] -
                            card.red(kCardInnerX + x, kCardInnerY + y));
        }
    }
    return sum / (kCardInnerWidth * kCardInnerHeight);
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    if (fs::is_directory(dir)) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// ---- the checker's own measure, on hand-made pictures ------------------------------

struct AreaCase {
    const char* name;
    int width;
    std::vector<const char*> rows; // '.' white, '#' black
    int areas;
    int tooSmall; // areas under 3 pixels
};

TEST(AssetTreeMeasures, WhiteAreasAreFourConnected) {
    const AreaCase cases[] = {
        {"all white", 3, {"...", "...", "..."}, 1, 0},
        {"all black", 2, {"##", "##"}, 0, 0},
        {"a wall splits the page", 5, {"..#..", "..#..", "..#.."}, 2, 0},
        // A diagonal touch does not join two areas: the fill spreads only sideways and up/down.
        {"diagonal gap holds", 4, {"..#.", "..#.", "##..", "...."}, 2, 0},
        {"a one-pixel hole in a ring", 5, {".....", ".###.", ".#.#.", ".###.", "....."}, 2, 1},
        {"edges are walls", 3, {".#.", "###", ".#."}, 4, 4},
    };
    for (const AreaCase& c : cases) {
        std::vector<std::uint8_t> white;
        for (const char* row : c.rows) {
            for (int x = 0; x < c.width; ++x) {
                white.push_back(row[x] == '.');
            }
        }
        const WhiteAreas areas = whiteAreas(white, c.width, static_cast<int>(c.rows.size()), 3);
        EXPECT_EQ(areas.count, c.areas) << c.name;
        EXPECT_EQ(static_cast<int>(areas.tooSmall.size()), c.tooSmall) << c.name;
    }
}

TEST(AssetTreeMeasures, ShrinkAveragesTheCoveredArea) {
    // A 4 x 2 image with one black half shrinks to 2 x 1 black and white, and a 3 x 1
    // strip shrinks to 2 x 1 with the middle pixel shared half and half.
    EXPECT_EQ(shrink({0, 0, 255, 255, 0, 0, 255, 255}, 4, 2, 2, 1), (std::vector<double>{0, 255}));
    const std::vector<double> shared = shrink({0, 90, 255}, 3, 1, 2, 1);
    EXPECT_NEAR(shared[0], (0 + 45) / 1.5, 1e-9);
    EXPECT_NEAR(shared[1], (45 + 255) / 1.5, 1e-9);
}

// ---- the committed tree -------------------------------------------------------------

TEST(AssetTree, EveryCheckedPictureIsPresentUnderItsExactName) {
    const std::set<std::string> present = namesIn(kPictures);
    ASSERT_FALSE(present.empty()) << kPictures << " is missing or empty";
    for (const auto& checked : checkedPictures()) {
        const std::string& file = checked.first;
        if (present.count(file) != 0) {
            continue;
        }
        const auto sameLetters = std::find_if(present.begin(), present.end(),
                                              [&](const std::string& name) { return upper(name) == file; });
        if (sameLetters != present.end()) {
            ADD_FAILURE() << "PICTURE/" << *sameLetters << ": rename it to " << file
                          << " (names are upper case, exactly)";
        } else {
            ADD_FAILURE() << "PICTURE/" << file << " is missing";
        }
    }
}

TEST(AssetTree, PicturesHaveTheSizesOfTheirControls) {
    for (const auto& [file, expected] : checkedPictures()) {
        const fs::path path = kPictures / file;
        if (!fs::exists(path)) {
            continue; // reported by the presence check
        }
        std::optional<Size> actual;
        if (file.ends_with(".GIF")) {
            if (const auto gif = readGif(path)) {
                actual = gif->size;
            }
        } else if (const auto jpeg = readJpeg(path, true)) {
            actual = jpeg->size;
        }
        if (!actual) {
            ADD_FAILURE() << "PICTURE/" << file << " cannot be read as a "
                          << (file.ends_with(".GIF") ? "GIF" : "JPEG");
        } else if (!(*actual == expected)) {
            ADD_FAILURE() << "PICTURE/" << file << " is " << actual->width << " x " << actual->height
                          << " pixels; it must be " << expected.width << " x " << expected.height;
        }
    }
}

TEST(AssetTree, CanvasCursorsAre32By32Icons) {
    for (const char* file : {"CETKA.ICO", "KANTICA8.ICO"}) {
        int images = 0;
        const auto size = icoSize(kPictures / file, &images);
        if (!size) {
            ADD_FAILURE() << "PICTURE/" << file << " is missing or not an ICO file";
            continue;
        }
        EXPECT_EQ(images, 1) << "PICTURE/" << file << " should hold exactly one image";
        EXPECT_TRUE((*size == Size{32, 32})) << "PICTURE/" << file << " is " << size->width << " x "
                                             << size->height << "; cursors are 32 x 32";
    }
}

TEST(AssetTree, WindowIconCursorsAndSplashHaveTheirSizes) {
    const std::pair<const char*, Size> files[] = {{"ICON.png", {256, 256}},
                                                  {"ICON32.png", {32, 32}},
                                                  {"PALETTE.png", {64, 64}},
                                                  {"DROP.png", {32, 32}}};
    for (const auto& [file, expected] : files) {
        const auto size = pngSize(kAssets / "UI" / file);
        if (!size) {
            ADD_FAILURE() << "UI/" << file << " is missing or not a PNG";
        } else if (!(*size == expected)) {
            ADD_FAILURE() << "UI/" << file << " is " << size->width << " x " << size->height
                          << "; it must be " << expected.width << " x " << expected.height;
        }
    }
    EXPECT_TRUE(pngSize(kAssets / "UI" / "SPLASH.png").has_value())
        << "UI/SPLASH.png is missing or not a PNG";
}

TEST(AssetTree, BlankPageIsWhite) {
    const auto page = readGif(kPictures / "00.GIF");
    ASSERT_TRUE(page.has_value()) << "PICTURE/00.GIF is missing or unreadable";
    const auto dark = std::count_if(page->colours.begin(), page->colours.end(),
                                    [](std::uint32_t c) { return c != 0xFFFFFF; });
    EXPECT_EQ(dark, 0) << "PICTURE/00.GIF, the blank page, has " << dark << " pixels that are not pure white";
}

// Reads drawing n as a white mask; nullopt (with the failure recorded) when it is absent.
std::optional<std::vector<std::uint8_t>> drawingMask(int n) {
    const std::string file = two(n) + ".GIF";
    const auto gif = readGif(kPictures / file);
    if (!gif) {
        ADD_FAILURE() << "PICTURE/" << file << " is missing: render art/drawings/" << two(n) << ".svg";
        return std::nullopt;
    }
    if (!(gif->size == Size{kDrawingWidth, kDrawingHeight})) {
        return std::nullopt; // reported by the size check
    }
    std::vector<std::uint8_t> white(gif->colours.size());
    std::map<std::uint32_t, int> others;
    for (std::size_t i = 0; i < white.size(); ++i) {
        const std::uint32_t c = gif->colours[i];
        white[i] = c == 0xFFFFFF;
        if (c != 0 && c != 0xFFFFFF) {
            ++others[c];
        }
    }
    for (const auto& [colour, count] : others) {
        char hex[12];
        std::snprintf(hex, sizeof hex, "%06X", colour);
        ADD_FAILURE() << "PICTURE/" << file << " has " << count << " pixels of colour #" << hex
                      << "; a drawing is pure black (#000000) lines on pure white, no grey";
    }
    return white;
}

TEST(AssetTree, DrawingsHaveBetweenTenAndEightyFillableAreasNoneTooSmall) {
    for (int n = 1; n <= kDrawings; ++n) {
        const auto white = drawingMask(n);
        if (!white) {
            continue;
        }
        const WhiteAreas areas = whiteAreas(*white, kDrawingWidth, kDrawingHeight, 40);
        const std::string file = "PICTURE/" + two(n) + ".GIF";
        if (areas.count < 10 || areas.count > 80) {
            ADD_FAILURE()
                << file << " has " << areas.count
                << " fillable white areas; a drawing needs 10 to 80 (check for open outlines that let "
                   "areas run together, or too many tiny pieces)";
        }
        for (const auto& [size, at] : areas.tooSmall) {
            ADD_FAILURE() << file << ": a white area of only " << size << " pixels at (" << at % kDrawingWidth
                          << ", " << at / kDrawingWidth
                          << "); areas must be at least 40 pixels so a child can hit them (fill it black or "
                             "widen it)";
        }
    }
}

TEST(AssetTree, ThumbnailsShowTheirOwnDrawing) {
    std::map<int, std::vector<double>> shrunk;
    for (int n = 1; n <= kDrawings; ++n) {
        if (const auto gif = readGif(kPictures / (two(n) + ".GIF"));
            gif && gif->size == Size{kDrawingWidth, kDrawingHeight}) {
            std::vector<double> grey(gif->colours.size());
            for (std::size_t i = 0; i < grey.size(); ++i) {
                grey[i] = (gif->colours[i] >> 16) & 0xFF;
            }
            shrunk[n] = shrink(grey, kDrawingWidth, kDrawingHeight, kCardInnerWidth, kCardInnerHeight);
        }
    }
    ASSERT_FALSE(shrunk.empty()) << "no drawings to compare the thumbnails with";
    // JPEG at the tool's quality stays well under this; another drawing lands far above it.
    constexpr double kTolerance = 6.0;
    for (const auto& [n, drawing] : shrunk) {
        for (const char* card : {"GALERIJA1BELE_", "GALERIJA1ZUTE_"}) {
            const std::string file = card + two(pictureNumber(n)) + ".JPG";
            const auto image = readJpeg(kPictures / file);
            if (!image || !(image->size == Size{131, 122})) {
                continue; // reported by the presence and size checks
            }
            const double own = cardDifference(drawing, *image);
            EXPECT_LT(own, kTolerance) << "PICTURE/" << file << " does not match drawing " << two(n)
                                       << " (mean difference " << own << "); re-run artgen";
            for (const auto& [other, otherDrawing] : shrunk) {
                if (other != n) {
                    EXPECT_LT(own, cardDifference(otherDrawing, *image))
                        << "PICTURE/" << file << " looks more like drawing " << two(other) << " than like "
                        << two(n);
                }
            }
        }
    }
}

TEST(AssetTree, StartFacesMatchTheScreenPictureBeneathThem) {
    // A control paints its face over the screen picture; where the two differ, a seam
    // or a ghost of another face shows. Each start face must equal its place on the
    // screen picture up to JPEG noise.
    struct Place {
        std::string face;
        std::string screen;
        int x; // the part of the control that shows, within the screen picture
        int y;
        int width;
        int height;
    };
    // Every control with faces and a start picture, on the picture of its screen or panel.
    std::vector<Place> places;
    for (const tintaro::ControlSpec& row : tintaro::kControlTable) {
        if (!row.faces.any() || row.startPicture.empty()) {
            continue;
        }
        // A screen's controls lie on the window's background, a panel's on the panel's picture.
        std::optional<tintaro::ControlId> panel;
        switch (row.place) {
        case tintaro::Place::Colouring:
        case tintaro::Place::Gallery:
            break;
        case tintaro::Place::ExitPanel:
            panel = tintaro::ControlId::Izlaz;
            break;
        case tintaro::Place::InfoPanel:
            panel = tintaro::ControlId::Registered;
            break;
        case tintaro::Place::PrintPanel:
            panel = tintaro::ControlId::PrintPict;
            break;
        }
        const std::string screen = panel ? std::string(tintaro::controlSpec(*panel).startPicture)
                                   : row.place == tintaro::Place::Colouring ? "GLAVNA.JPG"
                                                                            : "GALERIJA.JPG";
        const int left = panel ? tintaro::controlSpec(*panel).rect.x : 0;
        const int top = panel ? tintaro::controlSpec(*panel).rect.y : 0;
        const tintaro::Rect part = tintaro::uncoveredPart(row.id);
        places.push_back(
            {std::string(row.startPicture), screen, part.x - left, part.y - top, part.w, part.h});
    }
    std::map<std::string, Rgb> screens;
    for (const Place& place : places) {
        if (screens.count(place.screen) == 0) {
            if (const auto screen = readJpeg(kPictures / place.screen)) {
                screens[place.screen] = *screen;
            }
        }
        const auto face = readJpeg(kPictures / place.face);
        const auto screen = screens.find(place.screen);
        if (!face || screen == screens.end() || face->size.width < place.width ||
            face->size.height < place.height || screen->second.size.width < place.x + place.width ||
            screen->second.size.height < place.y + place.height) {
            continue; // reported by the presence and size checks
        }
        double sum = 0;
        for (int y = 0; y < place.height; ++y) {
            for (int x = 0; x < place.width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const int a = face->pixels[(static_cast<std::size_t>(y) * face->size.width + x) * 3 + c];
                    const int b =
                        screen->second
                            .pixels[(static_cast<std::size_t>(place.y + y) * screen->second.size.width +
                                     place.x + x) *
                                        3 +
                                    c];
                    sum += std::abs(a - b);
                }
            }
        }
        const double mean = sum / (place.width * place.height * 3);
        EXPECT_LT(mean, 8.0) << "PICTURE/" << place.face << " differs from PICTURE/" << place.screen
                             << " at (" << place.x << ", " << place.y << ") by " << mean
                             << " on average; render both from the same art with artgen";
    }
}

TEST(AssetTree, BackFacesLeaveRoomAroundTheirArrowAndLabel) {
    // The tab of the gallery's way back is drawn from x = 6 to 186 with an orange
    // border; the arrow and the label are outlined in dark brown. Read across the
    // face, the brown columns must keep clear of the border on both sides, and the
    // arrow must stand on its own before the label begins.
    constexpr int kTabInnerLeft = 7;
    constexpr int kTabInnerRight = 185;
    constexpr int kMargin = 6;
    constexpr int kArrowMaxWidth = 30;
    constexpr int kArrowGap = 4;
    for (const char* file : {"BACK1.JPG", "BACK2.JPG"}) {
        const auto face = readJpeg(kPictures / file);
        if (!face) {
            continue; // reported by the presence check
        }
        std::vector<int> columns;
        for (int x = 0; x < face->size.width; ++x) {
            for (int y = 2; y < 32 && y < face->size.height; ++y) {
                const auto* p = &face->pixels[(static_cast<std::size_t>(y) * face->size.width + x) * 3];
                if (p[0] >= 90 && p[0] <= 175 && p[1] >= 30 && p[1] <= 110 && p[2] <= 70) {
                    columns.push_back(x);
                    break;
                }
            }
        }
        ASSERT_FALSE(columns.empty()) << "PICTURE/" << file << " shows no outlined arrow or label";
        EXPECT_GE(columns.front(), kTabInnerLeft + kMargin)
            << "PICTURE/" << file << ": the arrow touches the tab's left edge";
        EXPECT_LE(columns.back(), kTabInnerRight - kMargin)
            << "PICTURE/" << file << ": the label touches the tab's right edge";
        std::size_t arrowEnd = 0;
        while (arrowEnd + 1 < columns.size() && columns[arrowEnd + 1] == columns[arrowEnd] + 1) {
            ++arrowEnd;
        }
        EXPECT_LE(columns[arrowEnd] - columns.front() + 1, kArrowMaxWidth)
            << "PICTURE/" << file << ": the arrow runs into the label";
        ASSERT_LT(arrowEnd + 1, columns.size()) << "PICTURE/" << file << " shows only one shape";
        EXPECT_GT(columns[arrowEnd + 1] - columns[arrowEnd], kArrowGap)
            << "PICTURE/" << file << ": too little room between the arrow and the label";
    }
}

TEST(AssetTree, ManifestListsTheCheckedPicturesInOrderWithTheirLengths) {
    const auto expected = checkedPictures();
    ASSERT_EQ(tintaro::AssetManifest.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const tintaro::ManifestRow& row = tintaro::AssetManifest[i];
        EXPECT_EQ(std::string(row.file), expected[i].first) << "row " << i + 1 << " of the manifest";
        std::error_code error;
        const std::uintmax_t length = fs::file_size(kPictures / expected[i].first, error);
        if (error) {
            continue; // reported by the presence check
        }
        EXPECT_EQ(row.length, length) << "PICTURE/" << expected[i].first
                                      << " changed since the manifest was made; re-run artgen so "
                                         "src/shell/AssetManifest.cpp carries its length";
    }
}

} // namespace
