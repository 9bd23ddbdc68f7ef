// SPDX-License-Identifier: GPL-3.0-or-later
// The program's 1024 x 768 frame drawn into windows of other sizes:
// where it lands, that the filter keeps flat colours flat, that the pointer
// maps back onto what is shown, and that redrawing one changed part gives
// the very pixels a whole redraw gives.

#include "platform/FrameScaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace tintaro;

namespace {

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 768;

struct Size {
    int w;
    int h;
};

// Common screens, 1920 x 1200 and 2560 x 1440 windows at scale 2 (the frame
// enlarged more than three times), a window a pixel short of the frame, and
// the frame's own size with bars around it.
constexpr Size kTargets[] = {
    {1920, 1080}, {3840, 2160}, {3840, 2400}, {5120, 2880}, {1280, 1024},
    {800, 600},   {1366, 768},  {1023, 767},  {1024, 768},  {1024, 1000},
};

std::string named(Size s) {
    return std::to_string(s.w) + "x" + std::to_string(s.h);
}

// The frame's 0x00BBGGRR as the buffer holds it: 0x00RRGGBB.
std::uint32_t xrgb(Colour c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

Colour randomColour(std::mt19937& random) {
    return random() & 0xFFFFFF;
}

Image randomFrame(std::mt19937& random) {
    Image frame(kFrameWidth, kFrameHeight);
    for (Colour& c : frame.pixels) {
        c = randomColour(random);
    }
    return frame;
}

struct Target {
    Size size;
    std::vector<std::uint32_t> pixels;

    explicit Target(Size s) : size(s), pixels(static_cast<std::size_t>(s.w) * s.h, 0xDEADBEEF) {}
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * size.w + x]; }
};

// A buffer redrawn in part against the whole redraw of the same frame, and
// against the buffer before the part was drawn: the same pixels, and
// nothing changed outside the rectangle the part reports.
testing::AssertionResult redrawnAlike(const Target& partial, const Target& whole, const Target& before,
                                      const Rect& drawn) {
    int differing = 0;
    int firstX = 0;
    int firstY = 0;
    int changedOutside = 0;
    for (int y = 0; y < partial.size.h; ++y) {
        for (int x = 0; x < partial.size.w; ++x) {
            const std::uint32_t got = partial.at(x, y);
            if (got != whole.at(x, y) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
            changedOutside += got != before.at(x, y) && !drawn.contains(x, y);
        }
    }
    if (differing == 0 && changedOutside == 0) {
        return testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << differing << " pixels differ from a whole redraw";
    if (differing > 0) {
        out << ", the first at " << firstX << "," << firstY << std::hex << ": 0x"
            << partial.at(firstX, firstY) << " for 0x" << whole.at(firstX, firstY) << std::dec;
    }
    out << "; " << changedOutside << " changed outside the rectangle drawn";
    return testing::AssertionFailure() << out.str();
}

bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

TEST(FrameScaler, PlacesTheFrameCentredWithItsAspect) {
    const struct {
        Size target;
        Rect place;
    } cases[] = {
        {{1920, 1080}, {240, 0, 1440, 1080}}, {{3840, 2160}, {480, 0, 2880, 2160}},
        {{1280, 1024}, {0, 32, 1280, 960}},   {{800, 600}, {0, 0, 800, 600}},
        {{1366, 768}, {171, 0, 1024, 768}},   {{1024, 768}, {0, 0, 1024, 768}},
        {{1024, 1000}, {0, 116, 1024, 768}},
    };
    for (const auto& c : cases) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, c.target.w, c.target.h);
        EXPECT_EQ(scaler.placement(), c.place) << named(c.target);
    }
}

TEST(FrameScaler, AtTheFramesOwnScaleShowsItsPixelsUnchanged) {
    std::mt19937 random(7);
    const Image frame = randomFrame(random);
    for (const Size size : {Size{1024, 768}, Size{1366, 768}, Size{1024, 1000}}) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, size.w, size.h);
        Target target(size);
        scaler.drawAll(frame, target.pixels.data());
        const Rect place = scaler.placement();
        int wrong = 0;
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                wrong += target.at(place.x + x, place.y + y) != xrgb(frame.at(x, y));
            }
        }
        EXPECT_EQ(wrong, 0) << named(size);
    }
}

// Every pixel of the target: the frame's colour inside the placement, black
// in the bars. A bilinear filter must not darken the edges by reading
// outside the frame.
TEST(FrameScaler, KeepsAFlatColourFlatAndTheBarsBlack) {
    for (const Size size : kTargets) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, size.w, size.h);
        Target target(size);
        for (const Colour colour : {kWhite, rgb(200, 30, 90)}) {
            std::fill(target.pixels.begin(), target.pixels.end(), 0xDEADBEEF);
            scaler.drawAll(Image(kFrameWidth, kFrameHeight, colour), target.pixels.data());
            const Rect place = scaler.placement();
            int wrongInside = 0;
            int wrongBars = 0;
            for (int y = 0; y < size.h; ++y) {
                for (int x = 0; x < size.w; ++x) {
                    if (place.contains(x, y)) {
                        wrongInside += target.at(x, y) != xrgb(colour);
                    } else {
                        wrongBars += target.at(x, y) != 0;
                    }
                }
            }
            EXPECT_EQ(wrongInside, 0) << named(size) << " colour " << std::hex << colour;
            EXPECT_EQ(wrongBars, 0) << named(size) << " colour " << std::hex << colour;
        }
    }
}

// A frame of 8 x 8 blocks of colour: where the pointer's point in a target
// pixel falls well inside a block, the pixel shows that block's colour. So
// the picture is neither shifted nor mirrored against the pointer.
TEST(FrameScaler, PointerLandsOnThePixelsShownUnderIt) {
    constexpr int kBlock = 8;
    std::mt19937 random(11);
    std::vector<Colour> blocks(static_cast<std::size_t>(kFrameWidth / kBlock) * (kFrameHeight / kBlock));
    for (Colour& c : blocks) {
        c = randomColour(random);
    }
    const auto blockOf = [&](int x, int y) {
        return blocks[static_cast<std::size_t>(y / kBlock) * (kFrameWidth / kBlock) + x / kBlock];
    };
    Image frame(kFrameWidth, kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            frame.at(x, y) = blockOf(x, y);
        }
    }
    // The filter reads a pixel either side of the point.
    const auto wellInside = [](int v) { return v % kBlock >= 1 && v % kBlock <= kBlock - 2; };
    for (const Size size : kTargets) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, size.w, size.h);
        Target target(size);
        scaler.drawAll(frame, target.pixels.data());
        const Rect place = scaler.placement();
        int checked = 0;
        int wrong = 0;
        for (int y = place.y; y < place.y + place.h; ++y) {
            for (int x = place.x; x < place.x + place.w; ++x) {
                float fx = 0;
                float fy = 0;
                scaler.toFrame(x + 0.5, y + 0.5, fx, fy);
                const int ix = static_cast<int>(fx);
                const int iy = static_cast<int>(fy);
                ASSERT_TRUE(frame.contains(ix, iy)) << named(size) << " at " << x << "," << y;
                if (wellInside(ix) && wellInside(iy)) {
                    ++checked;
                    wrong += target.at(x, y) != xrgb(blockOf(ix, iy));
                }
            }
        }
        EXPECT_GT(checked, place.w * place.h / 3) << named(size);
        EXPECT_EQ(wrong, 0) << named(size);
    }
}

TEST(FrameScaler, MapsThePlacementsCornersToTheFramesAndTheBarsOutsideIt) {
    for (const Size size : kTargets) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, size.w, size.h);
        const Rect place = scaler.placement();
        float fx = 0;
        float fy = 0;
        scaler.toFrame(place.x, place.y, fx, fy);
        EXPECT_EQ(fx, 0) << named(size);
        EXPECT_EQ(fy, 0) << named(size);
        // The last pixel of a smaller placement covers a little more than one of the frame's.
        scaler.toFrame(place.x + place.w - 1, place.y + place.h - 1, fx, fy);
        EXPECT_GE(fx, kFrameWidth - 2) << named(size);
        EXPECT_LE(fx, kFrameWidth - 1) << named(size);
        EXPECT_GE(fy, kFrameHeight - 2) << named(size);
        EXPECT_LE(fy, kFrameHeight - 1) << named(size);
        scaler.toFrame(place.x + place.w / 2.0, place.y + place.h / 2.0, fx, fy);
        EXPECT_NEAR(fx, kFrameWidth / 2, 1) << named(size);
        EXPECT_NEAR(fy, kFrameHeight / 2, 1) << named(size);
        // Just past the placement's far edges, and in the bars.
        scaler.toFrame(place.x + place.w, place.y + place.h, fx, fy);
        EXPECT_GE(fx, kFrameWidth) << named(size);
        EXPECT_GE(fy, kFrameHeight) << named(size);
        if (place.x > 0) {
            scaler.toFrame(0, place.y, fx, fy);
            EXPECT_LT(fx, 0) << named(size);
            scaler.toFrame(size.w - 1, place.y, fx, fy);
            EXPECT_GE(fx, kFrameWidth) << named(size);
        }
        if (place.y > 0) {
            scaler.toFrame(place.x, 0, fx, fy);
            EXPECT_LT(fy, 0) << named(size);
            scaler.toFrame(place.x, size.h - 1, fx, fy);
            EXPECT_GE(fy, kFrameHeight) << named(size);
        }
    }
}

// A buffer that held the old frame, with only the changed part drawn again,
// equals a whole redraw of the new frame: no seams at the part's edges, and
// every pixel that changed lies in the rectangle reported as drawn (which
// the compositor is told is damaged).
TEST(FrameScaler, RedrawingOneChangedPartEqualsRedrawingEverything) {
    std::mt19937 random(2024);
    std::vector<Rect> areas = {
        {0, 0, 1, 1},      {1023, 767, 1, 1}, {1023, 0, 1, 1},    {0, 767, 1, 1},
        {0, 0, 1024, 3},   {0, 300, 3, 40},   {1019, 200, 5, 30}, {400, 0, 50, 2},
        {300, 765, 20, 3}, {512, 384, 1, 1},  {-5, -5, 10, 10},   {1020, 760, 40, 40},
    };
    for (int i = 0; i < 4; ++i) {
        const int w = 1 + static_cast<int>(random() % 40);
        const int h = 1 + static_cast<int>(random() % 40);
        areas.push_back({static_cast<int>(random() % (kFrameWidth - w + 1)),
                         static_cast<int>(random() % (kFrameHeight - h + 1)), w, h});
    }
    for (const Size size : kTargets) {
        FrameScaler scaler;
        scaler.setSizes(kFrameWidth, kFrameHeight, size.w, size.h);
        Image frame = randomFrame(random);
        Target partial(size);
        Target whole(size);
        Target before(size);
        scaler.drawAll(frame, partial.pixels.data());
        before.pixels = partial.pixels;
        for (const Rect& area : areas) {
            for (int y = area.y; y < area.y + area.h; ++y) {
                for (int x = area.x; x < area.x + area.w; ++x) {
                    if (frame.contains(x, y)) {
                        frame.at(x, y) = randomColour(random);
                    }
                }
            }
            const Rect drawn = scaler.draw(frame, area, partial.pixels.data());
            scaler.drawAll(frame, whole.pixels.data());
            const std::string where = named(size) + " area " + std::to_string(area.x) + "," +
                                      std::to_string(area.y) + " " + std::to_string(area.w) + "x" +
                                      std::to_string(area.h);
            EXPECT_TRUE(inside(drawn, scaler.placement())) << where;
            const testing::AssertionResult alike = redrawnAlike(partial, whole, before, drawn);
            EXPECT_TRUE(alike) << where;
            if (!alike) {
                // A fault stays with its own area, not the ones after it.
                partial.pixels = whole.pixels;
            }
            std::swap(before.pixels, whole.pixels);
        }
    }
}

} // namespace
