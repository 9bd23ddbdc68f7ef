// SPDX-License-Identifier: GPL-3.0-or-later
// The picture decoders on good files of every variant, on hostile sizes and
// on damaged and truncated files: a hostile or damaged picture is refused
// (nullopt) and never crashes or hangs the reader; good pictures decode
// exactly as before.

#include "PictureWriters.h"

#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/PictureLimits.h"
#include "platform/pictures/UiPictures.h"
#include "platform/sdl/SdlCodec.h"
#include "support/DamagedFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace tintaro::test {
namespace {

// A decoded picture is whole: an acceptable size and one value per pixel.
void expectWholeOrRefused(const std::optional<Picture>& picture, const std::string& what) {
    if (picture) {
        EXPECT_TRUE(acceptablePictureSize(picture->width, picture->height)) << what;
        EXPECT_EQ(picture->argb.size(), static_cast<std::size_t>(picture->width) * picture->height) << what;
    }
}

std::uint32_t opaque(std::uint32_t argb) {
    return argb | 0xFF000000u;
}

// Each channel within `tolerance`.
bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) {
            return false;
        }
    }
    return true;
}

// Flat 8 x 8 blocks of strong colours, which JPEG keeps nearly exactly.
Picture blocks(int w, int h) {
    const std::uint32_t colours[] = {0xFFE02020, 0xFF20A040, 0xFF2040E0, 0xFFF0F0F0, 0xFF101010, 0xFFE0C020};
    Picture p{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.argb[static_cast<std::size_t>(y) * w + x] = colours[(x / 8 + 2 * (y / 8)) % 6];
        }
    }
    return p;
}

std::string sizeText(int w, int h) {
    return std::to_string(w) + " x " + std::to_string(h);
}

// The shipped files of each kind the program reads, and a PNG as the
// scratch file may be.
const char* const kShippedKinds[] = {"PICTURE/01.GIF",    "PICTURE/GLAVNA.JPG",   "PICTURE/BOJE1_01.JPG",
                                     "PICTURE/CETKA.ICO", "PICTURE/KANTICA8.ICO", "UI/DROP.png",
                                     "UI/SPLASH.png"};

TEST(PictureDecoder, HostileSizesAreRefusedBeforeAnyPixelIsRead) {
    const std::pair<int, int> sizes[] = {{60000, 60000}, {8000, 8000}, {4097, 1},
                                         {1, 4097},      {2049, 2048}, {0, 0}};
    std::vector<std::pair<std::string, Bytes>> files;
    for (const char* file : kShippedKinds) {
        files.emplace_back(file, assetBytes(file));
    }
    files.emplace_back("an icon holding a PNG", writeIco({{patternPicture(16, 16, true), 32, true}}));
    SdlCodec codec;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(decodePicture(bytes).has_value()) << name << " must decode before it is made hostile";
        for (auto [w, h] : sizes) {
            const Bytes hostile = claimingSize(bytes, w, h);
            ASSERT_EQ(hostile.size(), bytes.size());
            EXPECT_FALSE(decodePicture(hostile).has_value()) << name << " claiming " << sizeText(w, h);
            EXPECT_FALSE(codec.decode(hostile).has_value()) << name << " claiming " << sizeText(w, h);
        }
    }
}

TEST(PictureDecoder, EveryWriterReachesTheLimitButNotBeyond) {
    // The limit is far above every picture of the book; valid files up to it decode.
    const std::pair<int, int> accepted[] = {{2048, 2048}, {4096, 16}, {16, 4096}};
    const std::pair<int, int> refused[] = {{2049, 2048}, {4097, 16}, {16, 4097}};
    SdlCodec codec;
    auto check = [&](const std::string& kind, const std::function<Bytes(const Image&)>& write) {
        for (auto [w, h] : accepted) {
            const auto decoded = decodePicture(write(Image(w, h, rgb(10, 200, 30))));
            ASSERT_TRUE(decoded.has_value()) << kind << " " << sizeText(w, h);
            EXPECT_EQ(decoded->width, w);
            EXPECT_EQ(decoded->height, h);
            EXPECT_TRUE(near(decoded->argb[decoded->argb.size() / 2], 0xFF0AC81E, 2)) << kind;
        }
        for (auto [w, h] : refused) {
            EXPECT_FALSE(decodePicture(write(Image(w, h, rgb(10, 200, 30)))).has_value())
                << kind << " " << sizeText(w, h);
        }
    };
    check("GIF", [](const Image& i) { return *encodeGif(i); });
    check("PNG", [](const Image& i) { return *encodePng(i); });
    check("JPEG", [](const Image& i) {
        Picture p{i.width, i.height, std::vector<std::uint32_t>(i.pixels.size(), 0xFF0AC81E)};
        return writeJpeg(p, JpegKind::Colour);
    });
}

TEST(PictureDecoder, DamagedFilesOfTheSameLengthAreReadOrRefusedNeverCrash) {
    std::vector<std::pair<std::string, Bytes>> damaged;
    for (const char* file : {"PICTURE/01.GIF", "PICTURE/02.GIF", "PICTURE/00.GIF", "PICTURE/GLAVNA.JPG",
                             "PICTURE/GALERIJA1ZUTE_01.JPG", "PICTURE/CETKA.ICO", "PICTURE/KANTICA8.ICO",
                             "UI/ICON32.png", "UI/PALETTE.png", "UI/DROP.png"}) {
        const Bytes bytes = assetBytes(file);
        for (unsigned seed = 1; seed <= 12; ++seed) {
            damaged.emplace_back(std::string(file) + " seed " + std::to_string(seed),
                                 flippedBits(bytes, seed, 0.01));
        }
        for (unsigned seed = 100; seed < 106; ++seed) {
            damaged.emplace_back(std::string(file) + " one bit, seed " + std::to_string(seed),
                                 flippedBits(bytes, seed, 0.0));
        }
    }
    // The single bytes that brought down or hung the readers used before.
    damaged.emplace_back("01.GIF byte 238", flippedByte(assetBytes("PICTURE/01.GIF"), 238, 0xFF));
    for (const char* png : {"UI/DROP.png", "UI/PALETTE.png", "UI/ICON32.png", "UI/SPLASH.png"}) {
        damaged.emplace_back(std::string(png) + " chunk length", flippedByte(assetBytes(png), 33, 0x7F));
    }
    SdlCodec codec;
    for (const auto& [name, bytes] : damaged) {
        expectWholeOrRefused(decodePicture(bytes), name);
        const auto image = codec.decode(bytes);
        if (image) {
            EXPECT_EQ(image->pixels.size(), static_cast<std::size_t>(image->width) * image->height) << name;
        }
    }
    EXPECT_FALSE(decodePicture(flippedByte(assetBytes("UI/DROP.png"), 33, 0x7F)).has_value())
        << "a chunk that runs past the end of the file is an error";
}

TEST(PictureDecoder, TruncatedFilesAreRefusedOrShortNeverCrash) {
    for (const char* file : kShippedKinds) {
        const Bytes bytes = assetBytes(file);
        for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{8},
                                   std::size_t{13}, std::size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
            const Bytes part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
            const auto picture = decodePicture(part);
            expectWholeOrRefused(picture, std::string(file) + " cut to " + std::to_string(length));
            if (length <= 30) {
                EXPECT_FALSE(picture.has_value())
                    << file << " cut to " << length << " bytes holds no picture";
            }
        }
    }
}

TEST(PictureDecoder, GifVariants) {
    GifSpec spec;
    spec.screenWidth = spec.width = 13;
    spec.screenHeight = spec.height = 37;
    spec.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x123456, 0x808080};
    for (int i = 0; i < 13 * 37; ++i) {
        spec.indices.push_back(static_cast<std::uint8_t>((i * 5 + i / 13) % 7));
    }
    auto expected = [](const GifSpec& s) {
        Picture p{s.width, s.height, {}};
        for (auto i : s.indices) {
            p.argb.push_back((i == s.transparent ? 0u : 0xFF000000u) | s.palette[i]);
        }
        return p;
    };
    struct Case {
        const char* name;
        std::function<void(GifSpec&)> change;
    };
    const Case cases[] = {
        {"plain", [](GifSpec&) {}},
        {"interlaced", [](GifSpec& s) { s.interlaced = true; }},
        {"transparent index", [](GifSpec& s) { s.transparent = 4; }},
        {"its own palette", [](GifSpec& s) { s.localPalette = true; }},
        // The image is read at its own size, wherever the screen is larger.
        {"on a larger screen",
         [](GifSpec& s) {
             s.screenWidth = 40;
             s.screenHeight = 50;
         }},
    };
    for (const auto& c : cases) {
        GifSpec s = spec;
        c.change(s);
        const auto decoded = decodePicture(writeGif(s));
        ASSERT_TRUE(decoded.has_value()) << c.name;
        const Picture want = expected(s);
        EXPECT_EQ(decoded->width, want.width) << c.name;
        EXPECT_EQ(decoded->height, want.height) << c.name;
        EXPECT_EQ(decoded->argb, want.argb) << c.name;
    }
    // The page shows through a transparent index.
    GifSpec s = spec;
    s.transparent = 0;
    const auto image = SdlCodec().decode(writeGif(s));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->at(0, 0), kWhite);
}

TEST(PictureDecoder, PngVariants) {
    const Picture colours = patternPicture(21, 17, true);
    // Greys that every depth keeps: 1 bit holds 0 and 255, 2 bits multiples of 85, 4 bits of 17.
    auto greys = [](int depth, bool withAlpha) {
        Picture p = patternPicture(21, 17, withAlpha);
        const unsigned levels = depth >= 8 ? 256 : 1u << depth;
        for (auto& c : p.argb) {
            const unsigned g = ((c >> 16) & 0xFF) % levels * (255 / (levels - 1));
            c = (c & 0xFF000000u) | g << 16 | g << 8 | g;
        }
        return p;
    };
    auto fewColours = [&](int count) {
        Picture p = colours;
        for (std::size_t i = 0; i < p.argb.size(); ++i) {
            p.argb[i] = colours.argb[i % static_cast<std::size_t>(count)];
        }
        return p;
    };
    struct Case {
        PngKind kind;
        int depth;
        Picture picture;
    };
    std::vector<Case> cases;
    for (int depth : {1, 2, 4, 8, 16}) {
        cases.push_back({PngKind::Grey, depth, greys(depth, false)});
    }
    for (int depth : {8, 16}) {
        cases.push_back({PngKind::GreyAlpha, depth, greys(8, true)});
        cases.push_back({PngKind::Rgb, depth, patternPicture(21, 17, false)});
        cases.push_back({PngKind::Rgba, depth, colours});
    }
    for (int depth : {1, 2, 4, 8}) {
        cases.push_back({PngKind::Palette, depth, fewColours(1 << depth)});
    }
    for (const auto& c : cases) {
        for (bool interlaced : {false, true}) {
            Picture want = c.picture;
            if (c.kind == PngKind::Grey || c.kind == PngKind::Rgb) {
                std::transform(want.argb.begin(), want.argb.end(), want.argb.begin(), opaque);
            }
            const auto decoded = decodePicture(writePng(c.picture, c.kind, c.depth, interlaced));
            const std::string name = "kind " + std::to_string(static_cast<int>(c.kind)) + ", depth " +
                                     std::to_string(c.depth) + (interlaced ? ", interlaced" : "");
            ASSERT_TRUE(decoded.has_value()) << name;
            EXPECT_EQ(decoded->width, 21) << name;
            EXPECT_EQ(decoded->height, 17) << name;
            EXPECT_EQ(decoded->argb, want.argb) << name;
        }
    }
}

TEST(PictureDecoder, JpegVariants) {
    const Picture picture = blocks(48, 40);
    const JpegKind kinds[] = {JpegKind::Colour, JpegKind::Grey, JpegKind::Progressive, JpegKind::AdobeCmyk};
    for (JpegKind kind : kinds) {
        const auto decoded = decodePicture(writeJpeg(picture, kind));
        ASSERT_TRUE(decoded.has_value()) << static_cast<int>(kind);
        ASSERT_EQ(decoded->width, 48);
        ASSERT_EQ(decoded->height, 40);
        int far = 0;
        for (std::size_t i = 0; i < picture.argb.size(); ++i) {
            std::uint32_t want = picture.argb[i];
            if (kind == JpegKind::Grey) {
                const std::uint32_t r = (want >> 16) & 0xFF;
                want = 0xFF000000u | r << 16 | r << 8 | r;
            }
            far += near(decoded->argb[i], want, 12) ? 0 : 1;
        }
        EXPECT_EQ(far, 0) << "kind " << static_cast<int>(kind);
    }
}

TEST(PictureDecoder, AProgressiveJpegOfHundredsOfScansIsRefused) {
    // Valid, but decoding it goes over the whole picture once per scan, which
    // only a hostile file asks for; the usual ten-scan progression decodes.
    const Picture picture = blocks(64, 64);
    EXPECT_FALSE(decodePicture(writeJpeg(picture, JpegKind::OneScanPerCoefficient)).has_value());
    EXPECT_TRUE(decodePicture(writeJpeg(picture, JpegKind::Progressive)).has_value());
}

TEST(PictureDecoder, IcoVariants) {
    // Colours that fit each palette; transparency where alpha is below 128.
    auto withColours = [](int count, bool withAlpha) {
        Picture p = patternPicture(19, 11, withAlpha);
        const Picture source = p;
        for (std::size_t i = 0; i < p.argb.size(); ++i) {
            const std::uint32_t c = source.argb[i % static_cast<std::size_t>(count)] & 0xFFFFFF;
            p.argb[i] = ((source.argb[i] >> 24) >= 128 ? 0xFF000000u : 0u) | c;
        }
        return p;
    };
    struct Case {
        const char* name;
        IcoImage image;
    };
    const Case cases[] = {
        {"1 bit with a mask", {withColours(2, true), 1}},
        {"4 bits with a mask", {withColours(16, true), 4}},
        {"8 bits with a mask", {withColours(200, true), 8}},
        {"24 bits with a mask", {withColours(1000, true), 24}},
        {"32 bits with alpha", {patternPicture(19, 11, true), 32}},
        {"32 bits without alpha, with a mask", {withColours(1000, true), 32}},
        {"a PNG inside", {patternPicture(19, 11, true), 32, true}},
    };
    for (const auto& c : cases) {
        Picture want = c.image.picture;
        Bytes ico = writeIco({c.image});
        if (std::string(c.name).find("without alpha") != std::string::npos) {
            // Zero every alpha byte: old icons leave transparency to the mask.
            const std::size_t pixels = 6 + 16 + 40;
            for (std::size_t i = 0; i < want.argb.size(); ++i) {
                ico[pixels + i * 4 + 3] = 0;
            }
        }
        const auto decoded = decodePicture(ico);
        ASSERT_TRUE(decoded.has_value()) << c.name;
        EXPECT_EQ(decoded->width, 19) << c.name;
        EXPECT_EQ(decoded->height, 11) << c.name;
        EXPECT_EQ(decoded->argb, want.argb) << c.name;
    }
    // Of several images the largest is shown.
    const auto largest = decodePicture(
        writeIco({{patternPicture(16, 16), 32}, {patternPicture(48, 40), 32}, {patternPicture(32, 32), 8}}));
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(largest->width, 48);
    EXPECT_EQ(largest->height, 40);
}

TEST(PictureDecoder, EveryShippedPictureAndEveryCompiledInPictureDecodes) {
    SdlCodec codec;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TINTARO_ASSETS) / "PICTURE")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(codec.decode(assetBytes("PICTURE/" + name)).has_value()) << name;
        ++count;
    }
    EXPECT_EQ(count, 149);
    // What the programs carry is exactly what assets/UI holds.
    const struct {
        const char* file;
        std::span<const std::uint8_t> compiledIn;
        int width;
        int height;
    } ui[] = {{"UI/ICON32.png", windowIconPicture(), 32, 32},
              {"UI/PALETTE.png", paletteCursorPicture(), 64, 64},
              {"UI/DROP.png", dropCursorPicture(), 32, 32},
              {"UI/SPLASH.png", splashPicture(), 600, 400}};
    for (const auto& u : ui) {
        const Bytes file = assetBytes(u.file);
        EXPECT_TRUE(std::equal(file.begin(), file.end(), u.compiledIn.begin(), u.compiledIn.end())) << u.file;
        const auto picture = decodePicture(u.compiledIn);
        ASSERT_TRUE(picture.has_value()) << u.file;
        EXPECT_EQ(picture->width, u.width) << u.file;
        EXPECT_EQ(picture->height, u.height) << u.file;
    }
}

} // namespace
} // namespace tintaro::test
