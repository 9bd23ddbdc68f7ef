// SPDX-License-Identifier: GPL-3.0-or-later

#include "FillShapes.h"

#include "FillFamilies.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace tintaro::testing {
namespace {

// The generators draw with their own arithmetic on raw mt19937 output, whose
// sequence the standard fixes, so every library builds the same pictures.
bool chance(std::mt19937& random, double p) {
    return random() < static_cast<std::uint32_t>(p * 4294967296.0);
}

// Vertical 3-px strokes with `gap` white columns between them, ending a margin
// short of the top and bottom: filling the ground runs through every gap.
Image hatching(int width, int height, int gap) {
    Image image(width, height, kWhite);
    const int margin = std::max(1, height / 12);
    for (int y = margin; y < height - margin; ++y)
        for (int x = 0; x < width; ++x)
            if (x % (3 + gap) >= gap)
                image.at(x, y) = kBlack;
    return image;
}

Image hatchingGap1(int width, int height) {
    return hatching(width, height, 1);
}

Image hatchingGap5(int width, int height) {
    return hatching(width, height, 5);
}

// A perfect maze of 1-px corridors and 1-px walls: all the white is one
// winding region.
Image maze1px(int width, int height) {
    return maze(width, height, 1, 0);
}

// 1-px white teeth hanging from a white top row, 1-px black between them:
// every row below the top is a row of one-pixel runs.
Image comb(int width, int height) {
    Image image(width, height, kWhite);
    for (int y = 1; y < height; ++y)
        for (int x = 1; x < width; x += 2)
            image.at(x, y) = kBlack;
    return image;
}

// The same comb turned a quarter: the same pixels as long runs.
Image combTurned(int width, int height) {
    Image image(width, height, kWhite);
    for (int y = 1; y < height; y += 2)
        for (int x = 1; x < width; ++x)
            image.at(x, y) = kBlack;
    return image;
}

// Black 3 x 3 squares on a white grid of 1-px lines.
Image lattice(int width, int height) {
    Image image(width, height, kWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x % 4 != 0 && y % 4 != 0)
                image.at(x, y) = kBlack;
    return image;
}

// Each pixel black with probability 0.3: above the percolation threshold the
// white forms one large region full of holes, with runs of about three pixels.
Image noise30(int width, int height) {
    Image image(width, height, kWhite);
    std::mt19937 random(7);
    for (Colour& p : image.pixels)
        if (chance(random, 0.3))
            p = kBlack;
    return image;
}

// One 1-px white path that runs down a column, up the next and so on across
// the picture: the fill follows it one pixel per row, turning at each end.
Image serpentine(int width, int height) {
    Image image(width, height, kWhite);
    for (int x = 1; x < width; x += 2) {
        const bool openAtBottom = (x / 2) % 2 == 0;
        for (int y = 0; y < height; ++y)
            if (openAtBottom ? y < height - 1 : y > 0)
                image.at(x, y) = kBlack;
    }
    return image;
}

constexpr FillShape kShapes[] = {
    {"Hatching3pxGap1", hatchingGap1},
    {"Hatching3pxGap5", hatchingGap5},
    {"Maze1px", maze1px},
    {"Comb1px", comb},
    {"Comb1pxTurned", combTurned},
    {"Lattice", lattice},
    {"Noise30", noise30},
    {"Serpentine", serpentine},
};

} // namespace

std::span<const FillShape> fillShapes() {
    return kShapes;
}

} // namespace tintaro::testing
