// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/FloodFill.h"

#include "colouring/FillRuns.h"
#include "colouring/FillSegments.h"
#include "colouring/MazeWalk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tintaro {
namespace {

using namespace filling;

// In noise, the row under a run of a few pixels often holds two or more runs
// of the seed colour, and a fill that takes them one by one pays a
// mispredicted branch for each. Such a segment is settled instead on a window
// of kWindow pixels around it as bit masks: one compare gives the pixels of
// the seed colour, a few shifts spread the segment's pixels along their runs,
// and every run under it is painted and passed on at once.
using Bits = std::uint64_t;
constexpr int kWindow = 32;

// Bit i set when row[i] equals v, for the n <= kWindow pixels from row.
inline Bits seedBits(const Colour* row, int n, Colour v) {
#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)
    if (n == kWindow) {
        const Block value = splat(v);
        return Bits{equalBits16(row, value)} | Bits{equalBits16(row + 16, value)} << 16;
    }
#endif
    Bits bits = 0;
    for (int i = 0; i < n; ++i)
        bits |= Bits{row[i] == v} << i;
    return bits;
}

// The runs of `runs` that hold a bit of `seeds`.
inline Bits spread(Bits seeds, Bits runs) {
    // Upwards by the carry of an addition, which runs along a run of ones.
    Bits x = seeds | (((runs + seeds) ^ runs) & runs);
    // Downwards in doubling steps.
    Bits g = runs;
    x |= g & (x >> 1);
    g &= g >> 1;
    x |= g & (x >> 2);
    g &= g >> 2;
    x |= g & (x >> 4);
    g &= g >> 4;
    x |= g & (x >> 8);
    g &= g >> 8;
    x |= g & (x >> 16);
    return x;
}

// Whether the set bits of a non-zero mask are all one run.
inline bool oneRun(Bits bits) {
    const Bits low = bits >> __builtin_ctzll(bits);
    return (low & (low + 1)) == 0;
}

// Paints the pixels of the n from row whose bit is set.
// (n matters only to the vector paths.)
inline void paintBits(Colour* row, [[maybe_unused]] int n, Bits bits, Colour fill) {
#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)
    if (n == kWindow) {
        // Every group of four, whether it has a bit or not: no branch.
        const Block paint = splat(fill);
        for (int i = 0; i < kWindow; i += 4)
            store4(row + i, select(static_cast<unsigned>(bits >> i) & 0xFu, paint, load4(row + i)));
        return;
    }
#endif
    for (; bits != 0; bits &= bits - 1)
        row[__builtin_ctzll(bits)] = fill;
}

// How many rows ahead a straight corridor is fetched.
constexpr int kAhead = 8;

// Follows a corridor one pixel wide from `p`, a pixel of the seed colour on
// row y, in steps of dy rows, painting it for as long as both its neighbours
// differ from the seed colour; returns the row where it stopped: past the
// picture, at a pixel that differs, or where the corridor widens or turns.
[[gnu::noinline]] int followCorridor(Colour* p, int x, int y, int dy, int width, int height, Colour seed,
                                     Colour fill) {
    if (x == 0 || x == width - 1)
        return y;
    const std::ptrdiff_t step = static_cast<std::ptrdiff_t>(dy) * width;
    while (*p == seed && p[-1] != seed && p[1] != seed) {
        *p = fill;
        y += dy;
        if (static_cast<unsigned>(y) >= static_cast<unsigned>(height))
            break;
        p += step;
        // Each row is a cache line of its own, and in a large picture a page
        // of its own, which the processor does not fetch ahead by itself.
        if (static_cast<unsigned>(y + kAhead * dy) < static_cast<unsigned>(height))
            __builtin_prefetch(p + kAhead * step);
    }
    return y;
}

// Follows a straight corridor two to fourteen pixels wide, a run [left, end)
// just painted on the row before y, in steps of dy rows: for as long as the
// row ahead holds exactly the same run, between two pixels of another colour,
// it is painted with a compare and a store per four pixels, the run and both
// its ends in `kBlocks` blocks. Returns the row where it stopped: past the
// picture, or where the corridor changes. Hatching with a few pixels between
// its strokes, and the gaps between long dashes, are made of such corridors.
template <int kBlocks>
[[gnu::noinline]] int followWideCorridor(Colour* pixels, int left, int end, int y, int dy, int width,
                                         int height, Colour seed, Colour fill) {
#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)
    if (left < 1 || left - 1 + 4 * kBlocks > width)
        return y;
    const int length = end - left;
    const unsigned run = ((1u << length) - 1) << 1;
    const unsigned looked = (1u << (length + 2)) - 1;
    const Block value = splat(seed);
    const Block paint = splat(fill);
    const std::ptrdiff_t step = static_cast<std::ptrdiff_t>(dy) * width;
    Colour* p = pixels + static_cast<std::size_t>(y) * width + left - 1;
    while (true) {
        Block blocks[kBlocks];
        unsigned equal = 0;
        for (int i = 0; i < kBlocks; ++i) {
            blocks[i] = load4(p + 4 * i);
            equal |= equalBits(blocks[i], value) << (4 * i);
        }
        if ((equal & looked) != run)
            break;
        for (int i = 0; i < kBlocks; ++i)
            store4(p + 4 * i, select(run >> (4 * i) & 0xFu, paint, blocks[i]));
        y += dy;
        if (static_cast<unsigned>(y) >= static_cast<unsigned>(height))
            break;
        p += step;
        if (static_cast<unsigned>(y + kAhead * dy) < static_cast<unsigned>(height))
            __builtin_prefetch(p + kAhead * step);
    }
    return y;
#else
    static_cast<void>(pixels), static_cast<void>(left), static_cast<void>(end), static_cast<void>(dy);
    static_cast<void>(width), static_cast<void>(height), static_cast<void>(seed), static_cast<void>(fill);
    return y;
#endif
}

// Under a row of short runs (dots, dashes, noise) the row ahead is often one
// long run, which every short run would otherwise queue a segment for: a
// stack that grows with the picture's area, nearly all of it found already
// painted when taken. A segment is joined instead to the one on top of the
// stack, for the same row and direction, across a gap of a few pixels that
// are all of the seed colour on its row (so they are reached anyway) and none
// on the row behind (where the segment's back overhangs assume its parents).
constexpr int kJoinGap = 8;

[[gnu::always_inline]] inline bool joinsTop(const Segment* top, const Segment* base, const Colour* pixels,
                                            int width, int y, int left, int dy, Colour seed) {
    if (top == base)
        return false;
    const Segment& last = top[-1];
    const int gap = left - last.right;
    if (last.y != y || last.dy != dy || gap < 1 || gap > kJoinGap)
        return false;
    const Colour* const ahead = pixels + static_cast<std::size_t>(y) * width;
    const Colour* const behind = ahead - static_cast<std::ptrdiff_t>(dy) * width;
    for (int x = last.right; x <= left; ++x)
        if (ahead[x] != seed)
            return false;
    for (int x = last.right + 1; x < left; ++x)
        if (behind[x] == seed)
            return false;
    return true;
}

// Drops the segments between base and top with no pixel of the seed colour
// left, painted since they were queued, keeping the others in order; returns
// the new top. A fill that leaves many segments behind (noise, where each
// run queues its overhangs) finds many of them painted by the time the stack
// is full; kept, they would grow the stack faster than the picture, each
// doubling a copy and fresh pages to fault in.
[[gnu::noinline]] Segment* dropPainted(Segment* base, Segment* top, const Colour* pixels, int width,
                                       Colour seed) {
    Segment* kept = base;
    for (Segment* s = base; s != top; ++s) {
        const Colour* const row = pixels + static_cast<std::size_t>(s->y) * width;
        if (findSeed(row, s->left, s->right + 1, width, seed) <= s->right)
            *kept++ = *s;
    }
    return kept;
}

} // namespace

Rect floodFill(Image& image, int x, int y, Colour fill) {
    if (!image.contains(x, y))
        return {};
    const int width = image.width;
    const int height = image.height;
    Colour* const pixels = image.pixels.data();
    const Colour seed = pixels[static_cast<std::size_t>(y) * width + x];
    // Filled pixels must differ from the seed colour: that is what marks them visited.
    if (seed == fill)
        return {};

    constexpr std::size_t kFirstCapacity = 4096;
    Storage storage{std::unique_ptr<Segment[]>(new Segment[kFirstCapacity]), kFirstCapacity};
    Segment* base = storage.segments.get();
    Segment* top = base;
    Segment* limit = base + storage.capacity;
    // Before queueing up to `needed` segments. A full stack is first rid of
    // the segments painted since, and grows only when more than half of it
    // is still to do, so that dropping them again costs no more than the
    // segments it keeps.
    const auto makeRoom = [&](std::ptrdiff_t needed) {
        if (limit - top < needed) [[unlikely]] {
            top = dropPainted(base, top, pixels, width, seed);
            if (limit - top >= needed && top - base <= (limit - base) / 2)
                return;
            const Stack grown = grow(storage, top);
            base = grown.base;
            top = grown.top;
            limit = grown.limit;
        }
    };

    // The seed's run: both neighbour rows under it.
    Colour* const seedRow = pixels + static_cast<std::size_t>(y) * width;
    const int seedLeft = paintRunLeft(seedRow, x, seed, fill);
    const int seedEnd = paintRunRight(seedRow, x, width, seed, fill);
    int minX = seedLeft, maxX = seedEnd - 1, minY = y, maxY = y;
    if (y > 0)
        put(top++, y - 1, seedLeft, seedEnd - 1, -1);
    if (y + 1 < height)
        put(top++, y + 1, seedLeft, seedEnd - 1, 1);

    while (top != base) {
        const Segment s = *--top;
        Colour* const row = pixels + static_cast<std::size_t>(s.y) * width;
        int cx = s.left;
        int left;
        bool toWindow = false;
        if (row[cx] == seed) {
            // Only a run through the segment's first pixel can reach left of it;
            // every later run starts just after a pixel already looked at.
            left = paintRunLeft(row, cx, seed, fill);
        } else {
            cx = findSeed(row, cx + 1, s.right + 1, width, seed);
            if (cx > s.right)
                continue;
            left = cx;
        }
        minX = std::min(minX, left);
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
        while (true) {
            const int end = paintRunRight(row, cx, width, seed, fill);
            // Each run queues at most three segments.
            makeRoom(3);
            // The pixels beside the segment on the run's own row are the
            // parent run's ends or inside it, so the overhang back starts one
            // further out. The back row always exists: the parent run is on it.
            if (left < s.left - 1)
                put(top++, s.y - s.dy, left, s.left - 2, -s.dy);
            if (end - 1 > s.right + 1)
                put(top++, s.y - s.dy, s.right + 2, end - 1, -s.dy);
            // Ahead last, so that it is examined next: a corridor is followed
            // while its rows are still in the cache. Rows are too far apart
            // for the processor to see that pattern, so fetch a few ahead.
            // Under a short run the row ahead is looked at now rather than
            // given a segment that is often empty.
            if (static_cast<unsigned>(s.y + s.dy) < static_cast<unsigned>(height) &&
                worthLooking(row + s.dy * width, left, end, width, seed)) {
                if (static_cast<unsigned>(s.y + 4 * s.dy) < static_cast<unsigned>(height))
                    __builtin_prefetch(row + 4 * s.dy * width + left);
                // A one-pixel run may start a corridor one pixel wide
                // (hatching, combs, lattices, serpentines, mazes): it is
                // followed straight on for as long as it stays that narrow,
                // each step a look at three pixels with branches that repeat,
                // and no segment. Where it turns in a maze, the maze walk
                // takes over. A run of up to fourteen pixels is followed the
                // same way while the rows ahead repeat it (hatching with wider
                // gaps, the gaps between long dashes).
                int aheadY = s.y + s.dy;
                // Where the row ahead goes on past an end of the run, no
                // corridor starts there (the rule under dots and noise), and
                // nothing is called to find that out.
                const Colour* const ahead = row + s.dy * width;
                const bool openLeft = left > 0 && ahead[left - 1] == seed;
                const bool openRight = end < width && ahead[end] == seed;
                if (end - left == 1 && !(openLeft && openRight)) {
                    aheadY = followCorridor(row + s.dy * width + left, left, aheadY, s.dy, width, height,
                                            seed, fill);
                    minY = std::min(minY, aheadY - s.dy);
                    maxY = std::max(maxY, aheadY - s.dy);
                    // Where it stopped: past the picture, at a dead end (no
                    // segment needed), at a turn, or where it opens out.
                    Colour* const stop = static_cast<unsigned>(aheadY) < static_cast<unsigned>(height)
                                             ? pixels + static_cast<std::size_t>(aheadY) * width + left
                                             : nullptr;
                    if (stop == nullptr || *stop != seed) {
                        aheadY = -1;
                    } else if (turnsInMaze(stop, left, aheadY, width, height, seed)) [[unlikely]] {
                        *stop = fill;
                        Bounds box{minX, maxX, minY, maxY};
                        top = walkMaze(pixels, width, height, seed, fill, left, aheadY, storage, top, box);
                        base = storage.segments.get();
                        limit = base + storage.capacity;
                        minX = box.minX;
                        maxX = box.maxX;
                        minY = box.minY;
                        maxY = box.maxY;
                        aheadY = -1;
                    }
                } else if (end - left > 1 && end - left <= 14 && !openLeft && !openRight) {
                    aheadY = end - left <= 6 ? followWideCorridor<2>(pixels, left, end, aheadY, s.dy, width,
                                                                     height, seed, fill)
                                             : followWideCorridor<4>(pixels, left, end, aheadY, s.dy, width,
                                                                     height, seed, fill);
                    minY = std::min(minY, aheadY - s.dy);
                    maxY = std::max(maxY, aheadY - s.dy);
                }
                if (static_cast<unsigned>(aheadY) < static_cast<unsigned>(height)) {
                    if (joinsTop(top, base, pixels, width, aheadY, left, s.dy, seed))
                        put(top - 1, aheadY, top[-1].left, end - 1, s.dy);
                    else
                        put(top++, aheadY, left, end - 1, s.dy);
                }
            }
            // The pixel at `end` differs from the seed: skip it too.
            const int next = end + 1 > s.right ? end + 1 : findSeed(row, end + 1, s.right + 1, width, seed);
            if (next > s.right) {
                maxX = std::max(maxX, end - 1);
                break;
            }
            // A second run under a short segment: noise, where the runs
            // that follow are settled on the window instead.
            if (s.right - s.left < kWindow / 2) {
                maxX = std::max(maxX, end - 1);
                toWindow = true;
                break;
            }
            cx = left = next;
        }
        if (!toWindow)
            continue;
        // The runs left under the segment, on the window row after row
        // straight on until the runs it fills collapse to one; that run is
        // handed back as a segment, to be taken on alone (and followed if it
        // narrows to a corridor). The window has the segment in its middle,
        // where the row allows, and stays put while the runs keep clear of its
        // edges, so that the next row can be loaded before this one is settled.
        const int span = s.right - s.left + 1;
        int a = std::max(0, std::min(s.left - (kWindow - span) / 2, width - kWindow));
        const int n = std::min(kWindow, width - a);
        Bits parent = (~Bits{0} >> (64 - span)) << (s.left - a);
        int sy = s.y;
        const int dy = s.dy;
        Colour* windowRow = row;
        // The run just painted is no longer of the seed colour, so only the
        // ones after it are found.
        Bits runs = seedBits(windowRow + a, n, seed);
        Bits touch = parent & runs;
        while (true) {
            const Bits filled = spread(touch, runs);
            paintBits(windowRow + a, n, filled, fill);
            const int first = a + __builtin_ctzll(filled), last = a + 63 - __builtin_clzll(filled);
            // A run that reaches the window's edge goes on past it.
            const int lo =
                first == a && a > 0 && windowRow[a - 1] == seed ? fillLeft(windowRow, a, seed, fill) : first;
            const int hi = last == a + n - 1 && a + n < width && windowRow[a + n] == seed
                               ? fillRight(windowRow, a + n, width, seed, fill) - 1
                               : last;
            minX = std::min(minX, lo);
            maxX = std::max(maxX, hi);
            minY = std::min(minY, sy);
            maxY = std::max(maxY, sy);
            makeRoom(kWindow + 5);
            // Back towards the parent, only where it was not: beside
            // its runs lie their ends, pixels of another colour. Each
            // stretch of that is a segment of its own, since the
            // pixels between two stretches may lead nowhere.
            for (Bits back = filled & ~(parent | parent << 1 | parent >> 1); back != 0;) {
                const int start = __builtin_ctzll(back);
                const int length = __builtin_ctzll(~(back >> start));
                put(top++, sy - dy, a + start, a + start + length - 1, -dy);
                back &= ~Bits{0} << (start + length);
            }
            if (lo < a)
                put(top++, sy - dy, lo, a - 1, -dy);
            if (hi >= a + n)
                put(top++, sy - dy, a + n, hi, -dy);
            if (static_cast<unsigned>(sy + dy) >= static_cast<unsigned>(height))
                break;
            if (oneRun(filled)) {
                put(top++, sy + dy, lo, hi, dy);
                break;
            }
            if (lo < a)
                put(top++, sy + dy, lo, a - 1, dy);
            if (hi >= a + n)
                put(top++, sy + dy, a + n, hi, dy);
            sy += dy;
            parent = filled;
            // Runs near an edge of the window move it to the middle again.
            if ((first - a < kWindow / 8 && a > 0) || (a + n - 1 - last < kWindow / 8 && a + n < width)) {
                const int moved =
                    std::max(0, std::min(first - (kWindow - (last - first + 1)) / 2, width - kWindow));
                parent = moved > a ? parent >> (moved - a) : parent << (a - moved);
                a = moved;
            }
            windowRow = pixels + static_cast<std::size_t>(sy) * width;
            runs = seedBits(windowRow + a, n, seed);
            touch = parent & runs;
            if (touch == 0)
                break;
        }
    }
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

} // namespace tintaro
