// SPDX-License-Identifier: GPL-3.0-or-later
// The file writers and the pixel helpers of artgen, checked on small hand-made inputs.

#include "GifReader.h"
#include "GifWriter.h"
#include "IcoWriter.h"
#include "Resample.h"
#include "Surface.h"
#include "Template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A private scratch directory, removed when the test program ends.
struct ScratchDir {
    fs::path path = fs::temp_directory_path() / ("artgen_test_" + std::to_string(::getpid()));
    ScratchDir() { fs::create_directories(path); }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

fs::path scratch(const std::string& name) {
    static const ScratchDir dir;
    return dir.path / name;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned le32(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8) |
           (static_cast<unsigned char>(b[at + 2]) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(b[at + 3])) << 24);
}

TEST(Template, FillsPlaceholdersAndRejectsGaps) {
    const artgen::Vars vars = {{"a", "1"}, {"colour", "#ff0000"}};
    struct Case {
        const char* text;
        const char* expected; // nullptr: must throw
    };
    const Case cases[] = {
        {"no placeholders", "no placeholders"},
        {"{{a}}", "1"},
        {"x{{a}}y{{colour}}z{{a}}", "x1y#ff0000z1"},
        {"{{missing}}", nullptr},
        {"open {{a", nullptr},
        {"{ {a} }", "{ {a} }"},
    };
    for (const Case& c : cases) {
        if (c.expected == nullptr) {
            EXPECT_THROW(artgen::fillTemplate(c.text, vars, "case"), std::runtime_error) << c.text;
        } else {
            EXPECT_EQ(artgen::fillTemplate(c.text, vars, "case"), c.expected) << c.text;
        }
    }
}

TEST(GifWriter, BilevelPicturesReadBackPixelForPixel) {
    // Odd sizes, including a single pixel and a single row, catch row-stride mistakes.
    std::mt19937 random(7);
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{750, 1}, std::pair{33, 64}}) {
        std::vector<std::uint8_t> ink(static_cast<std::size_t>(w) * h);
        for (auto& v : ink) {
            v = random() % 3 == 0;
        }
        const fs::path path = scratch("bilevel.gif");
        artgen::writeBilevelGif(path, ink, w, h);
        const auto back = artgen::readGifGrey(path);
        ASSERT_TRUE(back.has_value()) << w << " x " << h;
        ASSERT_EQ(back->width, w);
        ASSERT_EQ(back->height, h);
        for (std::size_t i = 0; i < ink.size(); ++i) {
            ASSERT_EQ(back->pixels[i], ink[i] ? 0 : 255) << "pixel " << i << " of " << w << " x " << h;
        }
    }
}

TEST(IcoWriter, WritesOneBottomUpBgraImageWithItsMask) {
    artgen::Surface surface(32, 32);
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgba(cr, 1, 0, 0, 1); // opaque red at (3, 1)
    cairo_rectangle(cr, 3, 1, 1, 1);
    cairo_fill(cr);
    cairo_destroy(cr);
    const fs::path path = scratch("cursor.ico");
    artgen::writeIco(path, surface);
    const std::string b = bytesOf(path);

    ASSERT_EQ(b.size(), 6u + 16u + 40u + 32u * 32u * 4u + 32u * 4u);
    EXPECT_EQ(b.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(static_cast<unsigned char>(b[6]), 32);
    EXPECT_EQ(static_cast<unsigned char>(b[7]), 32);
    EXPECT_EQ(le32(b, 14), 40u + 32u * 32u * 4u + 32u * 4u); // image bytes
    EXPECT_EQ(le32(b, 18), 22u);                             // image offset
    EXPECT_EQ(le32(b, 22 + 8), 64u);                         // height counts colour and mask rows

    // Row 1 from the top is stored 30th from the bottom.
    const std::size_t pixel = 22 + 40 + (30 * 32 + 3) * 4;
    EXPECT_EQ(static_cast<unsigned char>(b[pixel + 0]), 0);   // blue
    EXPECT_EQ(static_cast<unsigned char>(b[pixel + 2]), 255); // red
    EXPECT_EQ(static_cast<unsigned char>(b[pixel + 3]), 255); // alpha
    const std::size_t mask = 22 + 40 + 32 * 32 * 4;
    // In the mask, the red pixel is opaque (bit 0) and its neighbours transparent (bit 1).
    EXPECT_EQ(static_cast<unsigned char>(b[mask + 30 * 4]), 0b11101111);
    EXPECT_EQ(static_cast<unsigned char>(b[mask + 31 * 4]), 0xFF);
}

TEST(AreaAverage, MeansOfTheCoveredArea) {
    // Uniform stays uniform, a 2 x 2 checker becomes mid grey, and a 3 -> 2 shrink shares
    // the middle pixel between both outputs.
    EXPECT_EQ(artgen::areaAverage(std::vector<std::uint8_t>(12, 200), 4, 3, 2, 1),
              (std::vector<std::uint8_t>{200, 200}));
    EXPECT_EQ(artgen::areaAverage({0, 255, 255, 0}, 2, 2, 1, 1), (std::vector<std::uint8_t>{128}));
    EXPECT_EQ(artgen::areaAverage({0, 90, 255}, 3, 1, 2, 1), (std::vector<std::uint8_t>{30, 200}));
}

TEST(Surface, RgbCompositesOntoWhite) {
    artgen::Surface surface(2, 1);
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5); // half-transparent black over nothing at (0, 0)
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_fill(cr);
    cairo_destroy(cr);
    const std::vector<std::uint8_t> rgb = surface.rgb();
    EXPECT_NEAR(rgb[0], 127, 1);
    EXPECT_EQ(rgb[3], 255); // fully transparent pixel is white
}

} // namespace
