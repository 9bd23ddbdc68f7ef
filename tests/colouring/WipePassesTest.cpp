// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/WipePasses.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tintaro {
namespace {

// The walk exactly as the wipe is described: a start position and an advance
// rule applied after each step, until the pass has run its steps.
std::vector<Point> walk(WipePass pass, int width, int height) {
    std::vector<Point> visits;
    int x = 0, y = 0;
    if (pass == WipePass::ColumnsLeft)
        x = width - 1;
    if (pass == WipePass::RowsUp)
        x = width - 1, y = height - 1;
    auto inside = [&] { return x >= 0 && y >= 0 && x < width && y < height; };
    while (inside()) {
        visits.push_back({x, y});
        switch (pass) {
        case WipePass::RowsDown:
        case WipePass::InterlacedRows:
            if (++x == width)
                x = 0, y += pass == WipePass::RowsDown ? 1 : 2;
            break;
        case WipePass::ColumnsRight:
            if (++y == height)
                y = 0, ++x;
            break;
        case WipePass::ColumnsLeft:
            if (++y == height)
                y = 0, --x;
            break;
        case WipePass::RowsUp:
            if (--x < 0)
                x = width - 1, --y;
            break;
        }
    }
    return visits;
}

const WipePass kPasses[] = {WipePass::RowsDown, WipePass::ColumnsRight, WipePass::ColumnsLeft,
                            WipePass::RowsUp, WipePass::InterlacedRows};

std::string nameOf(WipePass pass) {
    switch (pass) {
    case WipePass::RowsDown:
        return "RowsDown";
    case WipePass::ColumnsRight:
        return "ColumnsRight";
    case WipePass::ColumnsLeft:
        return "ColumnsLeft";
    case WipePass::RowsUp:
        return "RowsUp";
    case WipePass::InterlacedRows:
        return "InterlacedRows";
    }
    return "?";
}

// A picture with no white pixel, so every white pixel afterwards was painted.
Image coloured(int width, int height) {
    Image image(width, height);
    std::mt19937 random(width * 31 + height);
    for (Colour& p : image.pixels)
        p = random() % 0xFFFFFF;
    return image;
}

struct Ends {
    WipePass pass;
    long steps;
    Point first, second, last;
};

// The canvas passes by their first, second and last pixel and their length.
TEST(WipePass, CanvasPassesStartAdvanceAndEndAsTabled) {
    const Ends table[] = {
        {WipePass::RowsDown, 450000, {0, 0}, {1, 0}, {749, 599}},
        {WipePass::ColumnsRight, 450000, {0, 0}, {0, 1}, {749, 599}},
        {WipePass::ColumnsLeft, 450000, {749, 0}, {749, 1}, {0, 599}},
        {WipePass::RowsUp, 450000, {749, 599}, {748, 599}, {0, 0}},
        {WipePass::InterlacedRows, 225000, {0, 0}, {1, 0}, {749, 598}},
    };
    for (const Ends& e : table) {
        SCOPED_TRACE(nameOf(e.pass));
        EXPECT_EQ(passSteps(e.pass, 750, 600), e.steps);
        EXPECT_EQ(passPosition(e.pass, 0, 750, 600), e.first);
        EXPECT_EQ(passPosition(e.pass, 1, 750, 600), e.second);
        EXPECT_EQ(passPosition(e.pass, e.steps - 1, 750, 600), e.last);
    }
}

class PassOnSize : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PassOnSize, EveryStepIsWhereTheWalkGoes) {
    const auto [width, height] = GetParam();
    for (WipePass pass : kPasses) {
        SCOPED_TRACE(nameOf(pass));
        const std::vector<Point> visits = walk(pass, width, height);
        ASSERT_EQ(passSteps(pass, width, height), static_cast<long>(visits.size()));
        for (std::size_t i = 0; i < visits.size(); ++i)
            ASSERT_EQ(passPosition(pass, static_cast<long>(i), width, height), visits[i]) << "step " << i;
    }
}

// Full passes visit each pixel once; the interlaced one each pixel of the even
// rows once and no odd row.
TEST_P(PassOnSize, VisitsEachPixelOnceOrEvenRowsOnly) {
    const auto [width, height] = GetParam();
    for (WipePass pass : kPasses) {
        SCOPED_TRACE(nameOf(pass));
        std::vector<int> visits(static_cast<std::size_t>(width) * height, 0);
        for (long step = 0; step < passSteps(pass, width, height); ++step) {
            const Point p = passPosition(pass, step, width, height);
            ASSERT_TRUE(p.x >= 0 && p.x < width && p.y >= 0 && p.y < height) << "step " << step;
            ++visits[static_cast<std::size_t>(p.y) * width + p.x];
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int expected = pass == WipePass::InterlacedRows && y % 2 ? 0 : 1;
                ASSERT_EQ(visits[static_cast<std::size_t>(y) * width + x], expected) << x << ", " << y;
            }
    }
}

// Painting a pass in slices of any size, as frames do, whitens exactly the
// pixels of the steps run so far and reports the box of each slice.
TEST_P(PassOnSize, SlicesPaintExactlyTheirSteps) {
    const auto [width, height] = GetParam();
    std::mt19937 random(width + 1000 * height);
    for (WipePass pass : kPasses) {
        SCOPED_TRACE(nameOf(pass));
        const long steps = passSteps(pass, width, height);
        const Image start = coloured(width, height);
        Image image = start;
        Image expected = start;
        long done = 0;
        while (done < steps) {
            const long slice = 1 + static_cast<long>(random() % (2 * width + 3));
            const long end = std::min(done + slice, steps);
            int minX = width, minY = height, maxX = -1, maxY = -1;
            for (long s = done; s < end; ++s) {
                const Point p = passPosition(pass, s, width, height);
                expected.at(p.x, p.y) = kWhite;
                minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            }
            const Rect box = runPassSteps(image, pass, done, end);
            ASSERT_TRUE(image == expected) << "steps " << done << " to " << end;
            ASSERT_EQ(box, (Rect{minX, minY, maxX - minX + 1, maxY - minY + 1}))
                << "steps " << done << " to " << end;
            done = end;
        }
        EXPECT_TRUE(runPassSteps(image, pass, steps, steps + 10).empty());
        EXPECT_TRUE(runPassSteps(image, pass, 5, 5).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PassOnSize,
                         ::testing::Values(std::pair{750, 600}, std::pair{1, 1}, std::pair{5, 3},
                                           std::pair{4, 4}, std::pair{1, 7}, std::pair{9, 1}),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" +
                                    std::to_string(info.param.second);
                         });

TEST(WipePattern, EightPatternsFromFivePasses) {
    using enum WipePass;
    const std::vector<WipePass> expected[] = {
        {RowsDown},
        {ColumnsRight},
        {ColumnsLeft},
        {RowsUp},
        {InterlacedRows, ColumnsRight},
        {InterlacedRows, RowsDown},
        {InterlacedRows, ColumnsLeft},
        {InterlacedRows, RowsUp},
    };
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(wipePattern(n), expected[n - 1]) << "pattern " << n;
    EXPECT_TRUE(wipePattern(0).empty());
    EXPECT_TRUE(wipePattern(9).empty());
}

// Each pattern ends on a white page; the interlaced patterns have whitened
// exactly the even rows when their first pass ends.
TEST(WipePattern, EveryPatternLeavesABlankPage) {
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("pattern " + std::to_string(n));
        Image image = coloured(750, 600);
        const Image start = image;
        const std::vector<WipePass> passes = wipePattern(n);
        for (std::size_t i = 0; i < passes.size(); ++i) {
            runPassSteps(image, passes[i], 0, passSteps(passes[i], 750, 600));
            if (passes.size() == 2 && i == 0) {
                for (int y = 0; y < 600; ++y)
                    for (int x = 0; x < 750; ++x)
                        ASSERT_EQ(image.at(x, y), y % 2 ? start.at(x, y) : kWhite) << x << ", " << y;
            }
        }
        EXPECT_TRUE(image == Image(750, 600, kWhite));
    }
}

} // namespace
} // namespace tintaro
