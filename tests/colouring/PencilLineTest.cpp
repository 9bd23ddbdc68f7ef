// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/PencilLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace tintaro {
namespace {

constexpr Colour kInk = rgb(52, 204, 103);

// Distance from pixel centre (px, py) to segment a-b, computed plainly in long
// double with the projection clamped to the segment.
long double distanceToSegment(long double px, long double py, long double ax, long double ay, long double bx,
                              long double by) {
    const long double dx = bx - ax, dy = by - ay;
    const long double length2 = dx * dx + dy * dy;
    long double t = length2 == 0 ? 0 : ((px - ax) * dx + (py - ay) * dy) / length2;
    t = std::clamp<long double>(t, 0, 1);
    const long double cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

Rect boxOfChanges(const Image& before, const Image& after) {
    int minX = after.width, minY = after.height, maxX = -1, maxY = -1;
    for (int y = 0; y < after.height; ++y)
        for (int x = 0; x < after.width; ++x)
            if (before.at(x, y) != after.at(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    if (maxX < 0)
        return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

// A background of varied colours, so "unchanged" and "replaced" are both visible.
Image speckled(int width, int height, unsigned seed) {
    Image image(width, height);
    std::mt19937 random(seed);
    for (Colour& p : image.pixels) {
        p = random() % 2 ? kWhite : random() & 0xFFFFFF;
        if (p == kInk)
            p = kBlack;
    }
    return image;
}

TEST(PencilSegment, HorizontalLineIsThreeRowsThickWithCapsOfOnePixel) {
    Image image(100, 50);
    const Rect box = drawPencilSegment(image, 10, 20, 60, 20, kInk);
    EXPECT_EQ(box, (Rect{9, 19, 53, 3}));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            EXPECT_EQ(image.at(x, y) == kInk, x >= 9 && x <= 61 && y >= 19 && y <= 21) << x << ", " << y;
}

TEST(PencilSegment, VerticalLineIsThreeColumnsThick) {
    Image image(50, 100);
    const Rect box = drawPencilSegment(image, 25, 70, 25, 30, kInk);
    EXPECT_EQ(box, (Rect{24, 29, 3, 43}));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 50; ++x)
            EXPECT_EQ(image.at(x, y) == kInk, x >= 24 && x <= 26 && y >= 29 && y <= 71) << x << ", " << y;
}

// A square cap would reach the pixels at distance 2 from a diagonal's end
// point; a round cap of radius 1.5 leaves them.
TEST(PencilSegment, DiagonalEndsAreRound) {
    Image image(40, 40);
    drawPencilSegment(image, 10, 10, 30, 30, kInk);
    struct Expect {
        int x, y;
        bool painted;
    };
    const Expect cases[] = {
        {10, 10, true},  {9, 9, true},    {9, 10, true},   {10, 9, true},   {9, 11, true},
        {11, 9, true},   {8, 10, false},  {10, 8, false},  {8, 9, false},   {9, 8, false},
        {8, 8, false},   {31, 31, true},  {32, 30, false}, {30, 32, false}, {32, 31, false},
        {31, 32, false}, {32, 32, false}, {12, 10, true},  {13, 10, false},
    };
    for (const Expect& e : cases)
        EXPECT_EQ(image.at(e.x, e.y) == kInk, e.painted) << e.x << ", " << e.y;
}

TEST(PencilSegment, ZeroLengthDrawsNothing) {
    for (const auto& [x, y] : {std::pair{10.f, 10.f}, {0.f, 0.f}, {10.5f, 3.25f}, {-1.f, 5.f}}) {
        Image image = speckled(20, 20, 1);
        const Image before = image;
        EXPECT_TRUE(drawPencilSegment(image, x, y, x, y, kInk).empty());
        EXPECT_TRUE(image == before);
    }
}

TEST(PencilSegment, NonFiniteEndPointsDrawNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Image image(20, 20);
    const Image before = image;
    EXPECT_TRUE(drawPencilSegment(image, nan, 5, 10, 10, kInk).empty());
    EXPECT_TRUE(drawPencilSegment(image, 5, 5, inf, 10, kInk).empty());
    EXPECT_TRUE(image == before);
}

// Draws one segment on a speckled image and checks it against the distance
// rule itself: painted exactly when the centre is within 1.5. Pixels within a
// hair of the circle are left out, where rounding may decide.
void expectDistanceRule(float ax, float ay, float bx, float by, unsigned seed) {
    Image image = speckled(61, 47, seed);
    const Image before = image;
    const Rect box = drawPencilSegment(image, ax, ay, bx, by, kInk);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const long double d = distanceToSegment(x, y, ax, ay, bx, by);
            if (std::abs(d - 1.5L) < 1e-5L)
                continue;
            const Colour expected = (d <= 1.5L && (ax != bx || ay != by)) ? kInk : before.at(x, y);
            ASSERT_EQ(image.at(x, y), expected) << "pixel " << x << ", " << y << " segment " << ax << ", "
                                                << ay << " to " << bx << ", " << by;
        }
    }
    EXPECT_EQ(box, boxOfChanges(before, image));
}

// Random segments, with whole and fractional end points, on and off the image.
TEST(PencilSegment, PaintsExactlyThePixelsWithinOneAndAHalf) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10, 70);
    std::uniform_int_distribution<int> whole(-10, 70);
    for (unsigned i = 0; i < 400; ++i) {
        if (i % 2) {
            expectDistanceRule(coordinate(random), coordinate(random), coordinate(random), coordinate(random),
                               i);
        } else {
            expectDistanceRule(whole(random), whole(random), whole(random), whole(random), i);
        }
        if (HasFatalFailure())
            return;
    }
}

// Short segments whose ends sweep a sixteenth-pixel grid: the rows at the tip
// of a cap hold a single pixel or two, often beside the end point rather than
// under it.
TEST(PencilSegment, CapTipsFollowTheDistanceRule) {
    const std::pair<float, float> directions[] = {{0, 7}, {0, -7}, {5, 5}, {-6, 2}, {7, 0}, {1, -6}};
    unsigned seed = 0;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            const float ax = 20 + i / 16.f, ay = 20 + j / 16.f;
            for (const auto& [dx, dy] : directions) {
                expectDistanceRule(ax, ay, ax + dx, ay + dy, ++seed);
                if (HasFatalFailure())
                    return;
            }
        }
    }
}

// Drawing on a small image must give exactly the matching window of the same
// segment drawn on a larger one: the line is cut at each edge, not bent or
// moved, and the returned box is the window's share.
TEST(PencilSegment, ClipsAtEveryEdge) {
    constexpr int kWidth = 40, kHeight = 30, kMargin = 12;
    struct Segment {
        const char* what;
        float x0, y0, x1, y1;
    };
    const Segment segments[] = {
        {"across the left edge", -8, 10, 6, 14},
        {"across the right edge", 35, 5, 47, 20},
        {"across the top edge", 20, -7, 24, 9},
        {"across the bottom edge", 8, 25, 3, 38},
        {"corner to corner and beyond", -5, -5, 45, 35},
        {"along the top row", -3, 0, 50, 0},
        {"cap just reaching the left column", -1.4f, 3, -1.4f, 20},
        {"just outside the left edge", -1.6f, 3, -1.6f, 20},
        {"fully outside above", 2, -9, 38, -3},
        {"fully outside right", 43, 2, 51, 28},
        {"fully outside below left", -10, 40, -2, 33},
    };
    for (const Segment& s : segments) {
        Image big(kWidth + 2 * kMargin, kHeight + 2 * kMargin);
        drawPencilSegment(big, s.x0 + kMargin, s.y0 + kMargin, s.x1 + kMargin, s.y1 + kMargin, kInk);
        Image small(kWidth, kHeight);
        const Rect box = drawPencilSegment(small, s.x0, s.y0, s.x1, s.y1, kInk);
        Image window(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                window.at(x, y) = big.at(x + kMargin, y + kMargin);
        EXPECT_TRUE(small == window) << s.what;
        EXPECT_EQ(box, boxOfChanges(Image(kWidth, kHeight), small)) << s.what;
    }
}

// A fast movement arrives as a few long segments. Drawn so, the stroke must be
// the same as when the pointer had reported every point along the way: no gap
// at the joints, nothing missing or added along the segments. The points are
// whole pixels, as the pencil's stroke points are, so both are exact.
TEST(PencilSegment, FastStrokeHasNoGaps) {
    const std::vector<std::pair<int, int>> stroke = {{5, 5},     {125, 53},  {20, 140}, {200, 150},
                                                     {200, 10},  {140, 130}, {3, 100},  {63, 101},
                                                     {-20, 170}, {215, -10}};
    Image fast(210, 160);
    Image dense(210, 160);
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        const auto [ax, ay] = stroke[i - 1];
        const auto [bx, by] = stroke[i];
        drawPencilSegment(fast, ax, ay, bx, by, kInk);
        // The whole-pixel points on this segment, each joined to the next.
        const int steps = std::gcd(std::abs(bx - ax), std::abs(by - ay));
        const int sx = (bx - ax) / steps, sy = (by - ay) / steps;
        for (int k = 0; k < steps; ++k)
            drawPencilSegment(dense, ax + k * sx, ay + k * sy, ax + (k + 1) * sx, ay + (k + 1) * sy, kInk);
    }
    EXPECT_TRUE(fast == dense);
    // And every joint is covered by its full round cap.
    for (const auto& [x, y] : stroke) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (fast.contains(x + dx, y + dy)) {
                    EXPECT_EQ(fast.at(x + dx, y + dy), kInk) << x + dx << ", " << y + dy;
                }
            }
        }
    }
}

TEST(PencilSegment, ReplacesOutlinesAndPaintWithTheLineColour) {
    Image image(30, 10, kBlack);
    drawPencilSegment(image, 2, 5, 27, 5, kWhite);
    for (int x = 1; x <= 28; ++x)
        for (int y = 4; y <= 6; ++y)
            EXPECT_EQ(image.at(x, y), kWhite) << x << ", " << y;
    EXPECT_EQ(image.at(0, 5), kBlack);
    EXPECT_EQ(image.at(15, 3), kBlack);
}

} // namespace
} // namespace tintaro
