// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/FloodFill.h"
#include "colouring/FillSegments.h"

#include "FillFamilies.h"
#include "FillShapes.h"
#include "GifImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace tintaro {
namespace {

// The slow, obviously correct fill: a breadth-first walk over a visited set,
// comparing against the untouched colours, one pixel at a time.
Rect referenceFill(Image& image, int x, int y, Colour fill) {
    if (!image.contains(x, y))
        return {};
    const Image original = image;
    const Colour seed = original.at(x, y);
    std::vector<bool> visited(original.pixels.size(), false);
    std::deque<std::pair<int, int>> queue{{x, y}};
    visited[static_cast<std::size_t>(y) * image.width + x] = true;
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop_front();
        image.at(px, py) = fill;
        const int neighbours[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& n : neighbours) {
            if (!original.contains(n[0], n[1]) || original.at(n[0], n[1]) != seed)
                continue;
            const std::size_t i = static_cast<std::size_t>(n[1]) * image.width + n[0];
            if (!visited[i]) {
                visited[i] = true;
                queue.push_back({n[0], n[1]});
            }
        }
    }
    // The box of the pixels that actually changed.
    int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    for (int py = 0; py < image.height; ++py)
        for (int px = 0; px < image.width; ++px)
            if (image.at(px, py) != original.at(px, py)) {
                minX = std::min(minX, px);
                maxX = std::max(maxX, px);
                minY = std::min(minY, py);
                maxY = std::max(maxY, py);
            }
    if (maxX < 0)
        return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

// Fills a copy with both fills and compares images and boxes.
void expectSameAsReference(const Image& start, int x, int y, Colour fill, const std::string& where) {
    Image fast = start;
    Image slow = start;
    const Rect fastBox = floodFill(fast, x, y, fill);
    const Rect slowBox = referenceFill(slow, x, y, fill);
    ASSERT_TRUE(fast == slow) << where << " seed (" << x << ", " << y << ")";
    EXPECT_EQ(fastBox, slowBox) << where << " seed (" << x << ", " << y << ")";
}

// ---- hand-made cases ------------------------------------------------------

constexpr Colour kFill = rgb(255, 102, 0);
constexpr Colour kOther = rgb(0, 204, 255);

Colour colourOf(char c) {
    switch (c) {
    case '.':
        return kWhite;
    case '#':
        return kBlack;
    case 'F':
        return kFill;
    case 'o':
        return kOther;
    case '9':
        return 9;
    case 'a':
        return kWhite - 1; // one unit off white
    default:
        ADD_FAILURE() << "unknown pixel '" << c << "'";
        return kWhite;
    }
}

Image picture(const std::vector<std::string>& rows) {
    Image image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.at(x, y) = colourOf(rows[y][x]);
    return image;
}

struct FillCase {
    const char* name;
    std::vector<std::string> before;
    int x, y;
    Colour fill;
    std::vector<std::string> after;
    Rect changed;
};

class FillCases : public ::testing::TestWithParam<FillCase> {};

// The segment stack writes two ints as one eight-byte word. On either byte
// order the word's bytes must be the two ints' bytes, first then second, or
// a big-endian machine reads back rows for left ends (and paints the wrong
// places). Both orders are worked out here, whatever this machine's is.
TEST(FillSegments, APairWrittenAsOneWordReadsBackOnEitherByteOrder) {
    const auto bytesOf = [](std::uint64_t value, int count, std::endian order) {
        std::vector<int> out;
        for (int i = 0; i < count; ++i) {
            const int shift = 8 * (order == std::endian::little ? i : count - 1 - i);
            out.push_back(static_cast<int>((value >> shift) & 0xFF));
        }
        return out;
    };
    const std::pair<int, int> pairs[] = {{1, 2}, {-1, 7}, {INT_MIN, INT_MAX}, {0x01020304, 0x0A0B0C0D}};
    for (const std::endian order : {std::endian::little, std::endian::big}) {
        for (const auto& [first, second] : pairs) {
            std::vector<int> ints = bytesOf(static_cast<std::uint32_t>(first), 4, order);
            const std::vector<int> rest = bytesOf(static_cast<std::uint32_t>(second), 4, order);
            ints.insert(ints.end(), rest.begin(), rest.end());
            EXPECT_EQ(bytesOf(filling::pairAsWord(first, second, order), 8, order), ints)
                << first << ", " << second << (order == std::endian::little ? " little" : " big")
                << "-endian";
        }
    }
    filling::Segment segment{};
    filling::put(&segment, 599, -3, 749, -1);
    EXPECT_EQ(segment.y, 599);
    EXPECT_EQ(segment.left, -3);
    EXPECT_EQ(segment.right, 749);
    EXPECT_EQ(segment.dy, -1);
}

TEST_P(FillCases, PaintsExactlyTheConnectedRegion) {
    const FillCase& c = GetParam();
    Image image = picture(c.before);
    const Rect box = floodFill(image, c.x, c.y, c.fill);
    EXPECT_TRUE(image == picture(c.after));
    EXPECT_EQ(box, c.changed);
}

const FillCase kFillCases[] = {
    {"DiagonalGapHolds",
     {"..##", "..##", "##..", "##.."},
     0,
     0,
     kFill,
     {"FF##", "FF##", "##..", "##.."},
     {0, 0, 2, 2}},
    {"DiagonalGapHoldsFromTheOtherSide",
     {"##..", "##..", "..##", "..##"},
     3,
     0,
     kFill,
     {"##FF", "##FF", "..##", "..##"},
     {2, 0, 2, 2}},
    {"SeedOnOutlineFillsOnlyItsOwnOutlinePixels",
     {"#...#", ".#.#.", "..#.."},
     2,
     2,
     kFill,
     {"#...#", ".#.#.", "..F.."},
     {2, 2, 1, 1}},
    {"FillEqualToSeedChangesNothing", {"...", ".#.", "..."}, 0, 0, kWhite, {"...", ".#.", "..."}, {}},
    {"WholeCanvas", {".....", ".....", "....."}, 2, 1, kFill, {"FFFFF", "FFFFF", "FFFFF"}, {0, 0, 5, 3}},
    {"SeedLeftOfImageChangesNothing", {"..", ".."}, -1, 0, kFill, {"..", ".."}, {}},
    {"SeedRightOfImageChangesNothing", {"..", ".."}, 2, 1, kFill, {"..", ".."}, {}},
    {"SeedBelowImageChangesNothing", {"..", ".."}, 0, 2, kFill, {"..", ".."}, {}},
    {"OneUnitOffIsABoundary",
     {"..a..", "..a..", "..a.."},
     0,
     1,
     kFill,
     {"FFa..", "FFa..", "FFa.."},
     {0, 0, 2, 3}},
    {"DarkRedOutlineBoundsLikeBlack",
     {".9.", ".9.", ".9."},
     0,
     0,
     kFill,
     {"F9.", "F9.", "F9."},
     {0, 0, 1, 3}},
    {"FillColourOfANeighbourDoesNotMergeRegions",
     {"..oo", "..oo", "##.."},
     0,
     0,
     kOther,
     {"oooo", "oooo", "##.."},
     {0, 0, 2, 2}},
    {"TurnsDownAroundAWall", {".#.", ".#.", "..."}, 0, 0, kFill, {"F#F", "F#F", "FFF"}, {0, 0, 3, 3}},
    {"TurnsUpAroundAWall", {"...", ".#.", ".#."}, 2, 2, kFill, {"FFF", "F#F", "F#F"}, {0, 0, 3, 3}},
    {"EnclosedAreaOnly",
     {".....", ".###.", ".#.#.", ".###.", "....."},
     2,
     2,
     kFill,
     {".....", ".###.", ".#F#.", ".###.", "....."},
     {2, 2, 1, 1}},
    {"OutsideOfARingLeavesTheInside",
     {".....", ".###.", ".#.#.", ".###.", "....."},
     4,
     4,
     kFill,
     {"FFFFF", "F###F", "F#.#F", "F###F", "FFFFF"},
     {0, 0, 5, 5}},
    {"Spiral",
     {".......", "######.", ".......", ".#####.", ".#...#.", ".#.###.", ".#....."},
     2,
     4,
     kFill,
     {"FFFFFFF", "######F", "FFFFFFF", "F#####F", "F#FFF#F", "F#F###F", "F#FFFFF"},
     {0, 0, 7, 7}},
    {"OnePixel", {"."}, 0, 0, kFill, {"F"}, {0, 0, 1, 1}},
    {"OneRowBrokenByAnOutline", {"...#.."}, 1, 0, kFill, {"FFF#.."}, {0, 0, 3, 1}},
    {"OneColumnBrokenByAnOutline", {".", "#", ".", "."}, 0, 3, kFill, {".", "#", "F", "F"}, {0, 2, 1, 2}},
};

INSTANTIATE_TEST_SUITE_P(Table, FillCases, ::testing::ValuesIn(kFillCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- random images against the reference ----------------------------------

struct RandomShape {
    int width;
    int height;
};

class FillMatchesReference : public ::testing::TestWithParam<RandomShape> {};

// Pixels of two or three colours with densities around the percolation
// threshold give regions with many holes, bays and corners. The fill colour is
// sometimes one of the image's own colours, so a leak would merge regions.
TEST_P(FillMatchesReference, OnRandomImages) {
    const auto [width, height] = GetParam();
    std::mt19937 random(width * 7919 + height);
    const Colour palette[] = {kWhite, kBlack, kOther, kFill};
    const double densities[] = {0.3, 0.45, 0.55, 0.6, 0.7, 0.9};
    for (double density : densities) {
        for (int colours : {2, 3}) {
            Image image(width, height);
            std::uniform_real_distribution<double> unit(0, 1);
            std::uniform_int_distribution<int> other(1, colours - 1);
            for (Colour& p : image.pixels)
                p = unit(random) < density ? palette[0] : palette[other(random)];
            std::uniform_int_distribution<int> px(0, width - 1), py(0, height - 1), pick(0, 3);
            // Several fills in a row on the same image, as a child colours.
            for (int i = 0; i < 12; ++i) {
                const int x = px(random), y = py(random);
                const Colour fill = palette[pick(random)];
                expectSameAsReference(image, x, y, fill,
                                      "density " + std::to_string(density) + " fill " + std::to_string(i));
                if (HasFatalFailure())
                    return;
                floodFill(image, x, y, fill);
            }
        }
    }
}

// Long random walls make long runs that the fill must follow around corners
// in both directions, the case a per-row span fill gets wrong most easily.
TEST_P(FillMatchesReference, OnRandomWalls) {
    const auto [width, height] = GetParam();
    std::mt19937 random(width * 104729 + height);
    for (int round = 0; round < 4; ++round) {
        Image image(width, height);
        std::uniform_int_distribution<int> px(0, width - 1), py(0, height - 1);
        const int walls = 4 + (width + height) / 8;
        for (int i = 0; i < walls; ++i) {
            const int x = px(random), y = py(random);
            if (random() % 2) {
                for (int x2 = std::max(0, x - width / 3); x2 < std::min(width, x + width / 3); ++x2)
                    image.at(x2, y) = kBlack;
            } else {
                for (int y2 = std::max(0, y - height / 3); y2 < std::min(height, y + height / 3); ++y2)
                    image.at(x, y2) = kBlack;
            }
        }
        for (int i = 0; i < 8; ++i) {
            const int x = px(random), y = py(random);
            expectSameAsReference(image, x, y, kFill, "walls round " + std::to_string(round));
            if (HasFatalFailure())
                return;
        }
    }
}

// A maze with some of its walls knocked through has loops, where two ways
// walked at once can reach the same pixel from both sides; seeds on walls and
// in corridors alike.
TEST_P(FillMatchesReference, OnMazesWithLoops) {
    const auto [width, height] = GetParam();
    const testing::FillShape* mazeShape = nullptr;
    for (const testing::FillShape& shape : testing::fillShapes())
        if (std::string(shape.name) == "Maze1px")
            mazeShape = &shape;
    ASSERT_NE(mazeShape, nullptr);
    std::mt19937 random(width * 3571 + height);
    std::uniform_int_distribution<int> px(0, width - 1), py(0, height - 1);
    for (int openings : {0, 1, width * height / 50, width * height / 8}) {
        Image image = mazeShape->make(width, height);
        for (int i = 0; i < openings; ++i)
            image.at(px(random), py(random)) = kWhite;
        for (int i = 0; i < 6; ++i) {
            const int x = px(random), y = py(random);
            expectSameAsReference(image, x, y, kFill, "openings " + std::to_string(openings));
            if (HasFatalFailure())
                return;
        }
    }
}

const RandomShape kShapes[] = {{1, 1},  {1, 2},  {2, 1},   {1, 37},  {37, 1},  {2, 2},     {3, 5},
                               {17, 4}, {4, 17}, {31, 33}, {64, 64}, {65, 63}, {200, 150}, {750, 600}};

INSTANTIATE_TEST_SUITE_P(Sizes, FillMatchesReference, ::testing::ValuesIn(kShapes), [](const auto& info) {
    return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
});

// ---- the benchmark's short-run shapes --------------------------------------

struct ShapeCase {
    testing::FillShape shape;
    int width;
    int height;
};

class FillOnShape : public ::testing::TestWithParam<ShapeCase> {};

// Hatching, mazes, combs, lattices, noise and serpentines, small: seeds on a
// grid with changing colours, every fill against the reference.
TEST_P(FillOnShape, MatchesReference) {
    const auto& [shape, width, height] = GetParam();
    Image image = shape.make(width, height);
    const Colour colours[] = {kFill, kOther, kWhite, kBlack, rgb(30, 30, 30)};
    int n = 0;
    for (int y = 0; y < height; y += 3) {
        for (int x = (y / 3) % 2; x < width; x += 4) {
            const Colour fill = colours[n++ % std::size(colours)];
            expectSameAsReference(image, x, y, fill, shape.name);
            if (HasFatalFailure())
                return;
            floodFill(image, x, y, fill);
        }
    }
}

std::vector<ShapeCase> shapeCases() {
    std::vector<ShapeCase> cases;
    for (const testing::FillShape& shape : testing::fillShapes())
        for (const auto& [width, height] : {std::pair{9, 7}, std::pair{41, 29}, std::pair{70, 52}})
            cases.push_back({shape, width, height});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Shapes, FillOnShape, ::testing::ValuesIn(shapeCases()), [](const auto& info) {
    return std::string(info.param.shape.name) + "_" + std::to_string(info.param.width) + "x" +
           std::to_string(info.param.height);
});

// ---- the generated families -------------------------------------------------

struct FamilyCase {
    const testing::ShapeFamilyMember* member;
    int width;
    int height;
};

class FillOnFamily : public ::testing::TestWithParam<FamilyCase> {};

// Periodic marks, checkerboards, walks, spirals, space-filling curves, mazes
// and noise, at the canvas's size: the white from its first pixel, then the
// pixel in the middle (a mark or a wall as often as not) with another colour,
// both against the reference.
TEST_P(FillOnFamily, MatchesReference) {
    const auto& [member, width, height] = GetParam();
    Image image = member->make(width, height);
    const auto firstWhite = std::find(image.pixels.begin(), image.pixels.end(), kWhite);
    ASSERT_NE(firstWhite, image.pixels.end()) << member->name;
    const int at = static_cast<int>(firstWhite - image.pixels.begin());
    const int seeds[2][2] = {{at % width, at / width}, {width / 2, height / 2}};
    const Colour colours[2] = {kFill, kOther};
    for (int i = 0; i < 2; ++i) {
        expectSameAsReference(image, seeds[i][0], seeds[i][1], colours[i], member->name);
        if (HasFatalFailure())
            return;
        floodFill(image, seeds[i][0], seeds[i][1], colours[i]);
    }
}

std::vector<FamilyCase> familyCases() {
    std::vector<FamilyCase> cases;
    for (const testing::ShapeFamilyMember& member : testing::shapeFamilies()) {
        cases.push_back({&member, 750, 600});
        // A few larger, where the segments that wait on the stack are many
        // more and it has to grow.
        if (member.name == "Dots2" || member.name == "Noise10" || member.name == "Maze1pxLoops")
            cases.push_back({&member, 1500, 1200});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Families, FillOnFamily, ::testing::ValuesIn(familyCases()), [](const auto& info) {
    return info.param.member->name + "_" + std::to_string(info.param.width) + "x" +
           std::to_string(info.param.height);
});

// ---- the shipped drawings -------------------------------------------------

class FillOnDrawing : public ::testing::TestWithParam<int> {};

// Colours the drawing the way a child would, seed after seed on a grid and
// with changing colours (outline pixels included), and checks every fill.
TEST_P(FillOnDrawing, MatchesReference) {
    const std::string path = testing::drawingPath(TINTARO_ASSETS, GetParam());
    std::optional<Image> drawing = testing::loadGif(path);
    ASSERT_TRUE(drawing) << path << " is missing or unreadable";
    ASSERT_EQ(drawing->width, 750);
    ASSERT_EQ(drawing->height, 600);

    const Colour colours[] = {rgb(255, 0, 0), rgb(52, 204, 103), rgb(255, 255, 0), rgb(30, 30, 30),
                              kWhite,         rgb(204, 51, 255), rgb(0, 0, 255)};
    Image image = *drawing;
    int n = 0;
    for (int y = 7; y < 600; y += 53) {
        for (int x = 11; x < 750; x += 61) {
            const Colour fill = colours[n++ % std::size(colours)];
            expectSameAsReference(image, x, y, fill, path);
            if (HasFatalFailure())
                return;
            floodFill(image, x, y, fill);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Drawings, FillOnDrawing, ::testing::Range(1, 26), [](const auto& info) {
    return "Drawing" + std::string(info.param < 10 ? "0" : "") + std::to_string(info.param);
});

} // namespace
} // namespace tintaro
