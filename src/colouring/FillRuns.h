// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The vector blocks and run loops the flood fill is built on: comparing,
// scanning and painting runs of pixels of one colour along a row.

#include "platform/Image.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#define TINTARO_FILL_SSE2 1
#elif defined(__aarch64__) && defined(__ARM_NEON)
#include <arm_neon.h>
#define TINTARO_FILL_NEON 1
#endif

namespace tintaro::filling {

// Scanning and painting runs is where a large fill spends its time, so the
// loops below compare and store four pixels per instruction with the vector
// unit every x86-64 (SSE2) and ARM64 (NEON) processor has; no build flag
// beyond the baseline is needed. Other targets get the plain loops.

#if defined(TINTARO_FILL_SSE2)

using Block = __m128i;

inline Block splat(Colour v) {
    return _mm_set1_epi32(static_cast<int>(v));
}
inline Block load4(const Colour* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store4(Colour* p, Block value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), value);
}
// All ones in each lane where `block` equals the splatted value.
inline Block equalLanes(Block block, Block value) {
    return _mm_cmpeq_epi32(block, value);
}
// Bit i set when lane i of `block` equals the splatted value.
inline unsigned equalBits(Block block, Block value) {
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(equalLanes(block, value))));
}
// Lane i from `paint` where bit i of `lanes` is set, else from `block`.
inline Block select(unsigned lanes, Block paint, Block block);
// Lane masks combined lane by lane, and whether every lane or none is set.
inline Block both(Block a, Block b) {
    return _mm_and_si128(a, b);
}
inline Block either(Block a, Block b) {
    return _mm_or_si128(a, b);
}
inline bool allLanes(Block lanes) {
    return _mm_movemask_epi8(lanes) == 0xFFFF;
}
inline bool noLane(Block lanes) {
    return _mm_movemask_epi8(lanes) == 0;
}
// Bit i set when lane i of the sixteen is set, lane 0 the first of a.
inline unsigned laneBits(Block a, Block b, Block c, Block d) {
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d))));
}

#elif defined(TINTARO_FILL_NEON)

using Block = uint32x4_t;

inline Block splat(Colour v) {
    return vdupq_n_u32(v);
}
inline Block load4(const Colour* p) {
    return vld1q_u32(p);
}
inline void store4(Colour* p, Block value) {
    vst1q_u32(p, value);
}
inline Block equalLanes(Block block, Block value) {
    return vceqq_u32(block, value);
}
inline unsigned equalBits(Block block, Block value) {
    const uint32x4_t bits = {1, 2, 4, 8};
    return vaddvq_u32(vandq_u32(equalLanes(block, value), bits));
}
inline Block select(unsigned lanes, Block paint, Block block);

inline Block both(Block a, Block b) {
    return vandq_u32(a, b);
}
inline Block either(Block a, Block b) {
    return vorrq_u32(a, b);
}
inline bool allLanes(Block lanes) {
    return vminvq_u32(lanes) != 0;
}
inline bool noLane(Block lanes) {
    return vmaxvq_u32(lanes) == 0;
}
inline unsigned laneBits(Block a, Block b, Block c, Block d) {
    const uint16x8_t low = vcombine_u16(vmovn_u32(a), vmovn_u32(b));
    const uint16x8_t high = vcombine_u16(vmovn_u32(c), vmovn_u32(d));
    const uint8x16_t lanes = vcombine_u8(vmovn_u16(low), vmovn_u16(high));
    const uint8x16_t weights = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    const uint8x16_t bits = vandq_u8(lanes, weights);
    return vaddv_u8(vget_low_u8(bits)) | static_cast<unsigned>(vaddv_u8(vget_high_u8(bits))) << 8;
}

#endif

#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)

// The sixteen pixels from p compared with the value, four lanes a block.
struct Equal16 {
    Block a, b, c, d;
};
inline Equal16 equal16(const Colour* p, Block value) {
    return {equalLanes(load4(p), value), equalLanes(load4(p + 4), value), equalLanes(load4(p + 8), value),
            equalLanes(load4(p + 12), value)};
}

// True when all sixteen pixels from p on equal the value.
inline bool allEqual16(const Colour* p, Block value) {
    const Equal16 e = equal16(p, value);
    return allLanes(both(both(e.a, e.b), both(e.c, e.d)));
}

// True when none of the sixteen pixels from p equals the value.
inline bool noneEqual16(const Colour* p, Block value) {
    const Equal16 e = equal16(p, value);
    return noLane(either(either(e.a, e.b), either(e.c, e.d)));
}

// Bit i set when pixel p[i] of the sixteen equals the value.
inline unsigned equalBits16(const Colour* p, Block value) {
    const Equal16 e = equal16(p, value);
    return laneBits(e.a, e.b, e.c, e.d);
}

// The lane masks for every set of four lanes, so that a short run is painted
// with one store and no branch on its length.
struct LaneMasks {
    alignas(16) Colour lanes[16][4];
    constexpr LaneMasks() : lanes{} {
        for (unsigned bits = 0; bits < 16; ++bits)
            for (unsigned i = 0; i < 4; ++i)
                lanes[bits][i] = (bits >> i & 1) ? 0xFFFFFFFFu : 0u;
    }
};
inline constexpr LaneMasks kLaneMasks;

#if defined(TINTARO_FILL_SSE2)
inline Block select(unsigned lanes, Block paint, Block block) {
    const Block mask = load4(kLaneMasks.lanes[lanes]);
    return _mm_or_si128(_mm_and_si128(mask, paint), _mm_andnot_si128(mask, block));
}
#else
inline Block select(unsigned lanes, Block paint, Block block) {
    return vbslq_u32(load4(kLaneMasks.lanes[lanes]), paint, block);
}
#endif

// The long-run loops, out of line so that the short-run paths around them
// keep their values in registers.

// Paints the pixels from x on that equal v, up to the first that differs or
// end; returns the index where it stopped. Scanning and painting in one pass
// keeps a long run to a single trip through memory.
[[gnu::noinline]] inline int fillRight(Colour* row, int x, int end, Colour v, Colour fill) {
    const Block value = splat(v);
    const Block paint = splat(fill);
    while (end - x >= 16 && allEqual16(row + x, value)) {
        store4(row + x, paint);
        store4(row + x + 4, paint);
        store4(row + x + 8, paint);
        store4(row + x + 12, paint);
        x += 16;
    }
    while (end - x >= 4) {
        const unsigned differ = ~equalBits(load4(row + x), value) & 0xFu;
        if (differ != 0) {
            const int stop = x + __builtin_ctz(differ);
            std::fill(row + x, row + stop, fill);
            return stop;
        }
        store4(row + x, paint);
        x += 4;
    }
    for (; x < end && row[x] == v; ++x)
        row[x] = fill;
    return x;
}

// Paints the pixels before x that equal v, back to the first that differs or
// the row's start; returns the leftmost index painted (x when none).
[[gnu::noinline]] inline int fillLeft(Colour* row, int x, Colour v, Colour fill) {
    const Block value = splat(v);
    const Block paint = splat(fill);
    while (x >= 16 && allEqual16(row + x - 16, value)) {
        x -= 16;
        store4(row + x, paint);
        store4(row + x + 4, paint);
        store4(row + x + 8, paint);
        store4(row + x + 12, paint);
    }
    while (x >= 4) {
        const unsigned differ = ~equalBits(load4(row + x - 4), value) & 0xFu;
        if (differ != 0) {
            const int start = x - 4 + (31 - __builtin_clz(differ)) + 1;
            std::fill(row + start, row + x, fill);
            return start;
        }
        x -= 4;
        store4(row + x, paint);
    }
    for (; x > 0 && row[x - 1] == v; --x)
        row[x - 1] = fill;
    return x;
}

// The first index in [x, end) whose pixel equals v, or end.
[[gnu::noinline]] inline int nextEqual(const Colour* row, int x, int end, Colour v) {
    const Block value = splat(v);
    while (end - x >= 16 && noneEqual16(row + x, value))
        x += 16;
    while (end - x >= 4) {
        const unsigned equal = equalBits(load4(row + x), value);
        if (equal != 0)
            return x + __builtin_ctz(equal);
        x += 4;
    }
    while (x < end && row[x] != v)
        ++x;
    return x;
}

// Runs in hatching, mazes and noise are a pixel or three long, where the cost
// of a fill is per run rather than per pixel. A one-pixel run, the rule in a
// narrow corridor, costs a look at its neighbour, a branch that predicts well
// where the pattern repeats (no vector load, whose result the next row would
// have to wait for). A longer one is settled with one four-pixel compare and
// one four-pixel store that writes the lanes past the run back as they were,
// with no branch on its length; longer still goes to the loops above.

// Paints the run from x, whose pixel equals v, to the right, up to `width`;
// returns the index just past it.
[[gnu::always_inline]] inline int paintRunRight(Colour* row, int x, int width, Colour v, Colour fill) {
    row[x++] = fill;
    if (x == width || row[x] != v)
        return x;
    if (width - x < 4)
        return fillRight(row, x, width, v, fill);
    const Block block = load4(row + x);
    const unsigned equal = equalBits(block, splat(v));
    const Block paint = splat(fill);
    if (equal != 0xFu) {
        // Lanes before the first that differs; the others keep their pixels.
        const int length = __builtin_ctz(~equal);
        store4(row + x, select((1u << length) - 1, paint, block));
        return x + length;
    }
    store4(row + x, paint);
    return fillRight(row, x + 4, width, v, fill);
}

// Paints the pixels before x that equal v; returns the leftmost index painted
// (x when none).
[[gnu::always_inline]] inline int paintRunLeft(Colour* row, int x, Colour v, Colour fill) {
    if (x == 0 || row[x - 1] != v)
        return x;
    if (x < 4)
        return fillLeft(row, x, v, fill);
    const Block block = load4(row + x - 4);
    const unsigned equal = equalBits(block, splat(v));
    const Block paint = splat(fill);
    if (equal != 0xFu) {
        // Lanes after the last that differs.
        const unsigned last = 31u - static_cast<unsigned>(__builtin_clz(~equal & 0xFu));
        store4(row + x - 4, select(0xFu & ~((2u << last) - 1), paint, block));
        return x - 3 + static_cast<int>(last);
    }
    store4(row + x - 4, paint);
    return fillLeft(row, x - 4, v, fill);
}

// The first index in [x, end) whose pixel equals v, or end; `width` is the
// row's length, so that four pixels can be compared even near `end`.
[[gnu::always_inline]] inline int findSeed(const Colour* row, int x, int end, int width, Colour v) {
    if (width - x < 4)
        return nextEqual(row, x, end, v);
    const unsigned equal = equalBits(load4(row + x), splat(v));
    if (equal != 0)
        return std::min(x + __builtin_ctz(equal), end);
    if (end - x <= 4)
        return end;
    return nextEqual(row, x + 4, end, v);
}

// Whether the row a run leads to may hold pixels of the seed colour under
// the run: looked at now for a run of up to four pixels, where a queued
// segment is often empty (hatching, mazes, noise); taken as yes for longer.
[[gnu::always_inline]] inline bool worthLooking(const Colour* ahead, int left, int end, int width, Colour v) {
    const int length = end - left;
    if (length == 1)
        return ahead[left] == v;
    if (length > 4 || width - left < 4)
        return true;
    return (equalBits(load4(ahead + left), splat(v)) & ((1u << length) - 1)) != 0;
}

#else

inline int fillRight(Colour* row, int x, int end, Colour v, Colour fill) {
    for (; x < end && row[x] == v; ++x)
        row[x] = fill;
    return x;
}

inline int fillLeft(Colour* row, int x, Colour v, Colour fill) {
    for (; x > 0 && row[x - 1] == v; --x)
        row[x - 1] = fill;
    return x;
}

inline int paintRunRight(Colour* row, int x, int width, Colour v, Colour fill) {
    row[x] = fill;
    return fillRight(row, x + 1, width, v, fill);
}

inline int paintRunLeft(Colour* row, int x, Colour v, Colour fill) {
    return fillLeft(row, x, v, fill);
}

inline int findSeed(const Colour* row, int x, int end, int, Colour v) {
    while (x < end && row[x] != v)
        ++x;
    return x;
}

inline bool worthLooking(const Colour* ahead, int left, int end, int, Colour v) {
    return end - left > 1 || ahead[left] == v;
}

#endif

} // namespace tintaro::filling
