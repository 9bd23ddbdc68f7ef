// SPDX-License-Identifier: GPL-3.0-or-later

#include "FillFamilies.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>

namespace tintaro::testing {
namespace {

// The generators draw with their own arithmetic on raw mt19937 output, whose
// sequence the standard fixes, so every library builds the same pictures.
bool chance(std::mt19937& random, double p) {
    return random() < static_cast<std::uint32_t>(p * 4294967296.0);
}

// Black where `black(x, y)` says, white elsewhere.
template <typename Black> Image drawn(int width, int height, Black black) {
    Image image(width, height, kWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (black(x, y))
                image.at(x, y) = kBlack;
    return image;
}

// Paints the size x size square at (x, y) white, as far as it lies inside.
void carve(Image& image, int x, int y, int size) {
    for (int j = std::max(0, y); j < std::min(image.height, y + size); ++j)
        for (int i = std::max(0, x); i < std::min(image.width, x + size); ++i)
            image.at(i, j) = kWhite;
}

// A square spiral corridor `size` pixels wide between walls as wide, from
// the picture's edge inwards.
Image spiral(int width, int height, int size) {
    Image image(width, height, kBlack);
    const int step = 2 * size;
    int left = 0, top = 0, right = width - size, bottom = height - size;
    int x = 0, y = 0;
    const auto to = [&](int tx, int ty) {
        for (; x != tx || y != ty; x += (tx > x) - (tx < x), y += (ty > y) - (ty < y))
            carve(image, x, y, size);
        carve(image, x, y, size);
    };
    while (left <= right && top <= bottom) {
        to(right, y);
        if ((top += step) > bottom)
            break;
        to(x, bottom);
        if ((right -= step) < left)
            break;
        to(left, y);
        if ((bottom -= step) < top)
            break;
        to(x, top);
        left += step;
    }
    return image;
}

// A curve through the points of an n x n grid, drawn as a 1-px white corridor
// between 1-px black walls (grid point (i, j) at pixel (1 + 2i, 1 + 2j)),
// centred; the largest n that `cells(order)` gives and that fits is used.
template <typename Point> Image curve(int width, int height, int (*cells)(int order), Point point) {
    Image image(width, height, kBlack);
    int order = 0;
    while (2 * cells(order + 1) + 1 <= std::min(width, height))
        ++order;
    const int n = cells(order);
    const int ox = (width - (2 * n + 1)) / 2, oy = (height - (2 * n + 1)) / 2;
    std::pair<int, int> last = point(order, 0);
    image.at(ox + 1 + 2 * last.first, oy + 1 + 2 * last.second) = kWhite;
    for (long i = 1; i < static_cast<long>(n) * n; ++i) {
        const auto [x, y] = point(order, i);
        image.at(ox + 1 + 2 * x, oy + 1 + 2 * y) = kWhite;
        image.at(ox + 1 + x + last.first, oy + 1 + y + last.second) = kWhite;
        last = {x, y};
    }
    return image;
}

// The i-th point of the Hilbert curve through a 2^order square, by the
// usual quadrant-by-quadrant rotation.
std::pair<int, int> hilbertPoint(int order, long i) {
    int x = 0, y = 0;
    for (long s = 1; s < (1L << order); s *= 2) {
        const long rx = 1 & (i / 2), ry = 1 & (i ^ rx);
        if (ry == 0) {
            if (rx == 1) {
                x = static_cast<int>(s - 1 - x);
                y = static_cast<int>(s - 1 - y);
            }
            std::swap(x, y);
        }
        x += static_cast<int>(s * rx);
        y += static_cast<int>(s * ry);
        i /= 4;
    }
    return {x, y};
}

// The i-th point of Peano's curve through a 3^order square: the index's
// ternary digits, alternately for x and y from the most significant, each
// mirrored (d -> 2 - d) when the digits of the other coordinate before it
// add up to an odd number.
std::pair<int, int> peanoPoint(int order, long i) {
    std::vector<int> digits(2 * static_cast<std::size_t>(order));
    for (std::size_t k = digits.size(); k-- > 0; i /= 3)
        digits[k] = static_cast<int>(i % 3);
    int x = 0, y = 0, sumX = 0, sumY = 0;
    for (int k = 0; k < order; ++k) {
        const int dx = digits[2 * k], dy = digits[2 * k + 1];
        x = 3 * x + (sumY % 2 ? 2 - dx : dx);
        sumX += dx;
        y = 3 * y + (sumX % 2 ? 2 - dy : dy);
        sumY += dy;
    }
    return {x, y};
}

int powerOf2(int order) {
    return 1 << order;
}

int powerOf3(int order) {
    int n = 1;
    while (order-- > 0)
        n *= 3;
    return n;
}

// White trails on black left by walkers that step to a random neighbour, a
// brush `size` pixels wide: one walker in each 150 x 120 tile, from its middle
// and kept inside it, the middles joined by 1-px lines across and down. Every
// tile is alike, so that a larger picture is more of the same rather than
// longer, thinner trails.
Image randomWalk(int width, int height, int size) {
    constexpr int kTileWidth = 150, kTileHeight = 120;
    constexpr long kSteps = 6000;
    Image image(width, height, kBlack);
    std::mt19937 random(4099);
    const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    for (int top = 0; top < height; top += kTileHeight)
        for (int left = 0; left < width; left += kTileWidth) {
            const int right = std::min(width, left + kTileWidth) - size;
            const int bottom = std::min(height, top + kTileHeight) - size;
            const int mx = std::min(left + kTileWidth / 2, right),
                      my = std::min(top + kTileHeight / 2, bottom);
            for (int x = left; x <= right + size - 1; ++x)
                image.at(x, my) = kWhite;
            for (int y = top; y <= bottom + size - 1; ++y)
                image.at(mx, y) = kWhite;
            int x = mx, y = my;
            for (long i = 0; i < kSteps / size; ++i) {
                carve(image, x, y, size);
                const unsigned d = random() % 4;
                x = std::clamp(x + dx[d], left, right);
                y = std::clamp(y + dy[d], top, bottom);
            }
        }
    return image;
}

Image noise(int width, int height, double black) {
    Image image(width, height, kWhite);
    std::mt19937 random(7);
    for (Colour& p : image.pixels)
        if (chance(random, black))
            p = kBlack;
    return image;
}

std::vector<ShapeFamilyMember> members() {
    std::vector<ShapeFamilyMember> all;
    const auto add = [&](std::string name, std::function<Image(int, int)> make) {
        all.push_back({std::move(name), std::move(make)});
    };
    // Isolated black marks on a white ground that runs between them, period
    // p both ways: 1-px dots, dashes p - 1 long across and down, and blocks
    // that leave a 1-px white grid.
    for (int p = 2; p <= 8; ++p) {
        const std::string at = std::to_string(p);
        add("Dots" + at, [p](int w, int h) {
            return drawn(w, h, [p](int x, int y) { return x % p == 0 && y % p == 0; });
        });
        add("DashesAcross" + at, [p](int w, int h) {
            return drawn(w, h, [p](int x, int y) { return y % p == 0 && x % p < p - 1; });
        });
        add("DashesDown" + at, [p](int w, int h) {
            return drawn(w, h, [p](int x, int y) { return x % p == 0 && y % p < p - 1; });
        });
        add("Blocks" + at, [p](int w, int h) {
            return drawn(w, h, [p](int x, int y) { return x % p < p - 1 && y % p < p - 1; });
        });
    }
    // Squares of both colours meet only at their corners: a fill takes one.
    for (int cell : {1, 2, 4, 8})
        add("Checkerboard" + std::to_string(cell), [cell](int w, int h) {
            return drawn(w, h, [cell](int x, int y) { return (x / cell + y / cell) % 2 == 1; });
        });
    for (int size : {1, 2})
        add("RandomWalk" + std::to_string(size) + "px",
            [size](int w, int h) { return randomWalk(w, h, size); });
    for (int size : {1, 2})
        add("Spiral" + std::to_string(size) + "px", [size](int w, int h) { return spiral(w, h, size); });
    add("Hilbert1px", [](int w, int h) { return curve(w, h, powerOf2, hilbertPoint); });
    add("Peano1px", [](int w, int h) { return curve(w, h, powerOf3, peanoPoint); });
    for (int size : {1, 2}) {
        const std::string at = std::to_string(size) + "px";
        add("Maze" + at, [size](int w, int h) { return maze(w, h, size, 0); });
        add("Maze" + at + "Loops", [size](int w, int h) { return maze(w, h, size, 0.1); });
    }
    for (int percent : {5, 10, 20, 30, 40, 50, 60})
        add("Noise" + std::to_string(percent),
            [percent](int w, int h) { return noise(w, h, percent / 100.0); });
    return all;
}

} // namespace

Image maze(int width, int height, int size, double loops) {
    const int step = 2 * size;
    const int cols = (width - size) / step, rows = (height - size) / step;
    if (cols <= 0 || rows <= 0)
        return Image(width, height, kWhite);
    Image image(width, height, kBlack);
    std::mt19937 random(20240613);
    std::vector<bool> seen(static_cast<std::size_t>(cols) * rows, false);
    std::vector<std::pair<int, int>> path{{0, 0}};
    seen[0] = true;
    carve(image, size, size, size);
    while (!path.empty()) {
        const auto [cx, cy] = path.back();
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        int open[4], count = 0;
        for (int i = 0; i < 4; ++i) {
            const int nx = cx + steps[i][0], ny = cy + steps[i][1];
            if (nx >= 0 && ny >= 0 && nx < cols && ny < rows &&
                !seen[static_cast<std::size_t>(ny) * cols + nx])
                open[count++] = i;
        }
        if (count == 0) {
            path.pop_back();
            continue;
        }
        const int* to = steps[open[random() % count]];
        const int nx = cx + to[0], ny = cy + to[1];
        seen[static_cast<std::size_t>(ny) * cols + nx] = true;
        carve(image, size + step * cx + size * to[0], size + step * cy + size * to[1], size);
        carve(image, size + step * nx, size + step * ny, size);
        path.push_back({nx, ny});
    }
    // Knocking through walls between neighbouring cells closes loops.
    if (loops > 0) {
        for (int cy = 0; cy < rows; ++cy)
            for (int cx = 0; cx < cols; ++cx) {
                if (cx + 1 < cols && chance(random, loops))
                    carve(image, size + step * cx + size, size + step * cy, size);
                if (cy + 1 < rows && chance(random, loops))
                    carve(image, size + step * cx, size + step * cy + size, size);
            }
    }
    return image;
}

const std::vector<ShapeFamilyMember>& shapeFamilies() {
    static const std::vector<ShapeFamilyMember> all = members();
    return all;
}

} // namespace tintaro::testing
