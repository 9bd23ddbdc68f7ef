// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/MazeWalk.h"

#include "colouring/FillRuns.h"

#include <cstdint>

namespace tintaro::filling {
namespace {

// Where a walk through a maze has got to: a painted pixel, and its place as
// x | y << 16 so that one register holds it.
struct Walker {
    Colour* p;
    std::uint32_t place;
};

constexpr std::uint32_t placeOf(int x, int y) {
    return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 16;
}
constexpr int xOf(std::uint32_t place) {
    return static_cast<int>(place & 0xFFFFu);
}
constexpr int yOf(std::uint32_t place) {
    return static_cast<int>(place >> 16);
}

// The box around the places a walk steps on. On SSE2 the smallest and largest
// place as two 16-bit lanes each, two instructions a step and no register
// the walk needs.
#if defined(TINTARO_FILL_SSE2)
class WalkBox {
  public:
    explicit WalkBox(const Bounds& b)
        : m_smallest(_mm_cvtsi32_si128(static_cast<int>(placeOf(b.minX, b.minY)))),
          m_largest(_mm_cvtsi32_si128(static_cast<int>(placeOf(b.maxX, b.maxY)))) {}
    void add(std::uint32_t place) {
        const __m128i xy = _mm_cvtsi32_si128(static_cast<int>(place));
        m_smallest = _mm_min_epi16(m_smallest, xy);
        m_largest = _mm_max_epi16(m_largest, xy);
    }
    void add(const WalkBox& other) {
        m_smallest = _mm_min_epi16(m_smallest, other.m_smallest);
        m_largest = _mm_max_epi16(m_largest, other.m_largest);
    }
    Bounds bounds() const {
        const auto lane = [](__m128i v, int i) {
            return static_cast<int>(
                static_cast<std::int16_t>(i == 0 ? _mm_extract_epi16(v, 0) : _mm_extract_epi16(v, 1)));
        };
        return {lane(m_smallest, 0), lane(m_largest, 0), lane(m_smallest, 1), lane(m_largest, 1)};
    }

  private:
    __m128i m_smallest;
    __m128i m_largest;
};
#else
class WalkBox {
  public:
    explicit WalkBox(const Bounds& b) : m_bounds(b) {}
    void add(std::uint32_t place) { m_bounds.add(xOf(place), yOf(place)); }
    void add(const WalkBox& other) {
        m_bounds.add(other.m_bounds.minX, other.m_bounds.minY);
        m_bounds.add(other.m_bounds.maxX, other.m_bounds.maxY);
    }
    Bounds bounds() const { return m_bounds; }

  private:
    Bounds m_bounds;
};
#endif

// A maze as the walks see it: the picture, the colours, and the steps.
struct Maze {
    Colour* pixels;
    std::ptrdiff_t stride;
    int width;
    int height;
    Colour seed;
    Colour fill;
    // A place is a pixel away from the edges when neither half of
    // place - (1, 1) nor of place + far reaches bit 15.
    std::uint32_t far;
    // A walker's step by which of its neighbours are of the seed colour (see
    // ways): a step where exactly one is, 0 where there is no single way on.
    std::ptrdiff_t pixelStep[16];
    std::uint32_t placeStep[16];

    Maze(Colour* pixels_, int width_, int height_, Colour seed_, Colour fill_)
        : pixels(pixels_), stride(width_), width(width_), height(height_), seed(seed_), fill(fill_),
          far(placeOf(0x8000 - (width_ - 1), 0x8000 - (height_ - 1))), pixelStep{}, placeStep{} {
        pixelStep[1] = -1;
        pixelStep[2] = 1;
        pixelStep[4] = -stride;
        pixelStep[8] = stride;
        placeStep[1] = static_cast<std::uint32_t>(-1);
        placeStep[2] = 1;
        placeStep[4] = static_cast<std::uint32_t>(-0x10000);
        placeStep[8] = 0x10000;
    }
    bool inside(std::uint32_t place) const {
        return (((place - 0x00010001u) | (place + far)) & 0x80008000u) == 0;
    }
    // Bit 0 left, 1 right, 2 above, 3 below: the neighbours of the seed colour
    // of a pixel inside.
    unsigned ways(const Colour* p) const {
        return static_cast<unsigned>(p[-1] == seed) | static_cast<unsigned>(p[1] == seed) << 1 |
               static_cast<unsigned>(p[-stride] == seed) << 2 | static_cast<unsigned>(p[stride] == seed) << 3;
    }
};

// Steps one walker on for as long as it has exactly one way on and stays
// inside, painting each pixel stepped on; where the way runs straight on for a
// while it is followed by a plain loop, whose branch repeats. On its own, with
// few values to keep, so that they all stay in registers: each step waits for
// the one before it.
[[gnu::noinline]] Walker stepOn(const Maze& maze, Walker w, WalkBox& walkBox) {
    const std::ptrdiff_t stride = maze.stride;
    const Colour seed = maze.seed, fill = maze.fill;
    Colour* p = w.p;
    std::uint32_t place = w.place;
    WalkBox box = walkBox;
    // The last eight ways, two bits each, to see a straight stretch.
    unsigned history = 1;
    while (maze.inside(place)) {
        const unsigned ways = maze.ways(p);
        const std::ptrdiff_t step = maze.pixelStep[ways];
        if (step == 0)
            break;
        const std::uint32_t placeStep = maze.placeStep[ways];
        history = (history << 2 | static_cast<unsigned>(__builtin_ctz(ways))) & 0xFFFFu;
        if (history == 0 || history == 0x5555u || history == 0xAAAAu || history == 0xFFFFu) [[unlikely]] {
            // Straight on while both sides stay closed, up to a pixel short
            // of the edge.
            const int x = xOf(place), y = yOf(place);
            const std::ptrdiff_t side = (step == 1 || step == -1) ? stride : 1;
            const int room = step == 1    ? maze.width - 2 - x
                             : step == -1 ? x - 1
                             : step > 0   ? maze.height - 2 - y
                                          : y - 1;
            Colour* q = p + step;
            int taken = 0;
            while (taken < room && *q == seed && q[-side] != seed && q[side] != seed) {
                *q = fill;
                q += step;
                ++taken;
            }
            p = q - step;
            place += static_cast<std::uint32_t>(taken) * placeStep;
            box.add(place);
            history = 1;
            continue;
        }
        p += step;
        place += placeStep;
        *p = fill;
        box.add(place);
    }
    walkBox = box;
    return {p, place};
}

} // namespace

Segment* walkMaze(Colour* pixels, int width, int height, Colour seed, Colour fill, int x, int y,
                  Storage& storage, Segment* top, Bounds& bounds) {
    const Maze maze(pixels, width, height, seed, fill);
    const std::ptrdiff_t stride = width;
    Segment* limit = storage.segments.get() + storage.capacity;
    constexpr int kSpots = 64;
    Walker spots[kSpots];
    int waiting = 0;
    WalkBox box(bounds);
    box.add(placeOf(x, y));
    // Where a branch-free look at a pixel of another colour stores its paint.
    Colour sink;

    // Each neighbour of the seed colour of a walker's pixel in turn: a narrow
    // way waits as a spot, a way that opens out goes to the segments, and so
    // does any way when the spots are full. For the walkers the loop below
    // does not settle itself: at an edge, where a way opens out, with the
    // spots nearly full, with no spot left to go on with, and on its own.
    const auto settle = [&](const Walker& w) __attribute__((noinline)) {
        Colour* const p = w.p;
        const int px = xOf(w.place), py = yOf(w.place);
        // With room for the six segments the neighbours may need.
        if (limit - top < 6) [[unlikely]] {
            top = grow(storage, top).top;
            limit = storage.segments.get() + storage.capacity;
        }
        for (const int dy : {-1, 1}) {
            const int ny = py + dy;
            if (ny < 0 || ny >= height || p[dy * stride] != seed)
                continue;
            Colour* const n = p + dy * stride;
            const bool open = px > 0 && px + 1 < width && n[-1] == seed && n[1] == seed;
            if (open || waiting == kSpots) {
                // The pixels beside it on this row are looked at below.
                put(top++, ny, px, px, dy);
                continue;
            }
            *n = fill;
            box.add(placeOf(px, ny));
            spots[waiting++] = {n, placeOf(px, ny)};
        }
        for (const int dx : {-1, 1}) {
            const int nx = px + dx;
            if (nx < 0 || nx >= width || p[dx] != seed)
                continue;
            // Closed above and below, it is a narrow way on and waits as a
            // spot; otherwise its run along the row is painted now, and waits
            // as a spot when it is one pixel long, else as segments.
            Colour* const n = p + dx;
            if ((py == 0 || n[-stride] != seed) && (py + 1 == height || n[stride] != seed) &&
                waiting < kSpots) {
                *n = fill;
                box.add(placeOf(nx, py));
                spots[waiting++] = {n, placeOf(nx, py)};
                continue;
            }
            Colour* const row = p - px;
            int a = nx, b = nx;
            if (dx > 0)
                b = fillRight(row, nx, width, seed, fill) - 1;
            else
                a = fillLeft(row, nx + 1, seed, fill);
            box.add(placeOf(a, py));
            box.add(placeOf(b, py));
            if (a == b && waiting < kSpots) {
                spots[waiting++] = {row + a, placeOf(a, py)};
                continue;
            }
            // Beside the run on this row lie (px, py) and pixels of another
            // colour, so the rows above and below are all there is.
            if (py > 0)
                put(top++, py - 1, a, b, -1);
            if (py + 1 < height)
                put(top++, py + 1, a, b, 1);
        }
    };
    const auto take = [&] {
        const Walker w = spots[--waiting];
        box.add(w.place);
        return w;
    };

    // Whether a walker has a single way on, and can step there.
    const auto walksOn = [&](const Walker& w) {
        return maze.inside(w.place) && maze.pixelStep[maze.ways(w.p)] != 0;
    };

    // One walker, or two side by side while there are ways enough. When one
    // of the two stops at a dead end or a junction whose ways stay narrow,
    // the common case, its ways are put and the next spot takes its place
    // right there; anything else leaves the loop, which has no call in it, so
    // that its values stay in registers.
    WalkBox trail(Bounds{x, x, y, y});
    spots[waiting++] = {pixels + static_cast<std::size_t>(y) * width + x, placeOf(x, y)};
    while (waiting > 0) {
        if (waiting == 1) {
            const Walker alone = stepOn(maze, take(), box);
            settle(alone);
            continue;
        }
        Walker first = take(), second = take();
        Colour* pa = first.p;
        Colour* pb = second.p;
        std::uint32_t a = first.place, b = second.place;
        int count = waiting;
        // Both tests made, with no branch between them.
        while (static_cast<unsigned>(maze.inside(a)) & static_cast<unsigned>(maze.inside(b))) {
            unsigned ma = maze.ways(pa), mb = maze.ways(pb);
            const std::ptrdiff_t stepA = maze.pixelStep[ma], stepB = maze.pixelStep[mb];
            if ((stepA != 0) & (stepB != 0)) {
                pa += stepA;
                pb += stepB;
                *pa = fill;
                *pb = fill;
                a += maze.placeStep[ma];
                b += maze.placeStep[mb];
                trail.add(a);
                trail.add(b);
                continue;
            }
            if ((stepA == 0) & (stepB == 0))
                break;
            // Which one stopped is a coin toss in a maze: it is moved first
            // with no branch on which.
            const bool swap = stepA != 0;
            Colour* const p = swap ? pb : pa;
            const std::uint32_t at = swap ? b : a;
            ma = swap ? mb : ma;
            pb = swap ? pa : pb;
            b = swap ? a : b;
            pa = p;
            a = at;
            const unsigned u = ma >> 2 & 1u, d = ma >> 3;
            const unsigned open = (u & (p[-stride - 1] == seed) & (p[-stride + 1] == seed)) |
                                  (d & (p[stride - 1] == seed) & (p[stride + 1] == seed));
            if ((open != 0) | (count > kSpots - 6))
                break;
            const auto wait = [&](Colour* to, std::uint32_t place, unsigned found) {
                *(found != 0 ? to : &sink) = fill;
                spots[count] = {to, place};
                count += static_cast<int>(found);
            };
            wait(p - 1, at - 1, ma & 1u);
            wait(p + 1, at + 1, ma >> 1 & 1u);
            wait(p - stride, at - 0x10000, u);
            wait(p + stride, at + 0x10000, d);
            if (count == 0)
                break;
            --count;
            pa = spots[count].p;
            a = spots[count].place;
            trail.add(a);
        }
        waiting = count;
        // Each walker that cannot step on is settled, the other waits again
        // as a spot, or is settled too when the spots are full; settling one
        // already settled finds nothing to do.
        for (const Walker w : {Walker{pa, a}, Walker{pb, b}}) {
            if (waiting < kSpots && walksOn(w))
                spots[waiting++] = w;
            else
                settle(w);
        }
    }
    box.add(trail);
    bounds = box.bounds();
    return top;
}

} // namespace tintaro::filling
