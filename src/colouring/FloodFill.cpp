#include "colouring/FloodFill.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#define TINTARO_FILL_SSE2 1
#elif defined(__aarch64__) && defined(__ARM_NEON)
#include <arm_neon.h>
#define TINTARO_FILL_NEON 1
#endif

namespace tintaro {
namespace {

// Scanning and painting runs is where a large fill spends its time, so the
// loops below compare and store four pixels per instruction with the vector
// unit every x86-64 (SSE2) and ARM64 (NEON) processor has; no build flag
// beyond the baseline is needed. Other targets get the plain loops.

#if defined(TINTARO_FILL_SSE2)

// Bit i set when lane i of `block` equals the splatted value.
inline unsigned equalMask(const Colour* p, __m128i value) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(block, value))));
}

// True when all sixteen pixels from p on equal the value.
inline bool allEqual16(const Colour* p, __m128i value) {
    const __m128i* q = reinterpret_cast<const __m128i*>(p);
    const __m128i a = _mm_cmpeq_epi32(_mm_loadu_si128(q), value);
    const __m128i b = _mm_cmpeq_epi32(_mm_loadu_si128(q + 1), value);
    const __m128i c = _mm_cmpeq_epi32(_mm_loadu_si128(q + 2), value);
    const __m128i d = _mm_cmpeq_epi32(_mm_loadu_si128(q + 3), value);
    const __m128i all = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
    return _mm_movemask_epi8(all) == 0xFFFF;
}

// True when none of the sixteen pixels from p equals the value.
inline bool noneEqual16(const Colour* p, __m128i value) {
    const __m128i* q = reinterpret_cast<const __m128i*>(p);
    const __m128i a = _mm_cmpeq_epi32(_mm_loadu_si128(q), value);
    const __m128i b = _mm_cmpeq_epi32(_mm_loadu_si128(q + 1), value);
    const __m128i c = _mm_cmpeq_epi32(_mm_loadu_si128(q + 2), value);
    const __m128i d = _mm_cmpeq_epi32(_mm_loadu_si128(q + 3), value);
    const __m128i any = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    return _mm_movemask_epi8(any) == 0;
}

using Splat = __m128i;
inline Splat splat(Colour v) {
    return _mm_set1_epi32(static_cast<int>(v));
}
inline void store4(Colour* p, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), value);
}

#elif defined(TINTARO_FILL_NEON)

inline unsigned equalMask(const Colour* p, uint32x4_t value) {
    const uint32x4_t eq = vceqq_u32(vld1q_u32(p), value);
    const uint32x4_t bits = {1, 2, 4, 8};
    return vaddvq_u32(vandq_u32(eq, bits));
}

inline bool allEqual16(const Colour* p, uint32x4_t value) {
    const uint32x4_t a = vceqq_u32(vld1q_u32(p), value);
    const uint32x4_t b = vceqq_u32(vld1q_u32(p + 4), value);
    const uint32x4_t c = vceqq_u32(vld1q_u32(p + 8), value);
    const uint32x4_t d = vceqq_u32(vld1q_u32(p + 12), value);
    return vminvq_u32(vandq_u32(vandq_u32(a, b), vandq_u32(c, d))) != 0;
}

inline bool noneEqual16(const Colour* p, uint32x4_t value) {
    const uint32x4_t a = vceqq_u32(vld1q_u32(p), value);
    const uint32x4_t b = vceqq_u32(vld1q_u32(p + 4), value);
    const uint32x4_t c = vceqq_u32(vld1q_u32(p + 8), value);
    const uint32x4_t d = vceqq_u32(vld1q_u32(p + 12), value);
    return vmaxvq_u32(vorrq_u32(vorrq_u32(a, b), vorrq_u32(c, d))) == 0;
}

using Splat = uint32x4_t;
inline Splat splat(Colour v) {
    return vdupq_n_u32(v);
}
inline void store4(Colour* p, uint32x4_t value) {
    vst1q_u32(p, value);
}

#endif

#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)

// Paints the pixels from x on that equal v, up to the first that differs or
// end; returns the index where it stopped. Scanning and painting in one pass
// keeps a long run to a single trip through memory.
int fillRight(Colour* row, int x, int end, Colour v, Colour fill) {
    const Splat value = splat(v);
    const Splat paint = splat(fill);
    while (end - x >= 16 && allEqual16(row + x, value)) {
        store4(row + x, paint);
        store4(row + x + 4, paint);
        store4(row + x + 8, paint);
        store4(row + x + 12, paint);
        x += 16;
    }
    while (end - x >= 4) {
        const unsigned differ = ~equalMask(row + x, value) & 0xFu;
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
int fillLeft(Colour* row, int x, Colour v, Colour fill) {
    const Splat value = splat(v);
    const Splat paint = splat(fill);
    while (x >= 16 && allEqual16(row + x - 16, value)) {
        x -= 16;
        store4(row + x, paint);
        store4(row + x + 4, paint);
        store4(row + x + 8, paint);
        store4(row + x + 12, paint);
    }
    while (x >= 4) {
        const unsigned differ = ~equalMask(row + x - 4, value) & 0xFu;
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
int nextEqual(const Colour* row, int x, int end, Colour v) {
    const Splat value = splat(v);
    while (end - x >= 16 && noneEqual16(row + x, value))
        x += 16;
    while (end - x >= 4) {
        const unsigned equal = equalMask(row + x, value);
        if (equal != 0)
            return x + __builtin_ctz(equal);
        x += 4;
    }
    while (x < end && row[x] != v)
        ++x;
    return x;
}

#else

int fillRight(Colour* row, int x, int end, Colour v, Colour fill) {
    for (; x < end && row[x] == v; ++x)
        row[x] = fill;
    return x;
}

int fillLeft(Colour* row, int x, Colour v, Colour fill) {
    for (; x > 0 && row[x - 1] == v; --x)
        row[x - 1] = fill;
    return x;
}

int nextEqual(const Colour* row, int x, int end, Colour v) {
    while (x < end && row[x] != v)
        ++x;
    return x;
}

#endif

// A run of pixels [left, right] on `row` whose neighbours on row + dy still
// have to be examined. Only the part of the neighbour row under the run is
// looked at; a filled run that reaches beyond its parent pushes the overhang
// back towards the parent as well, which is how the fill turns corners.
struct Segment {
    int row;
    int left;
    int right;
    int dy;
};

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

    int minX = x, maxX = x, minY = y, maxY = y;
    std::vector<Segment> stack;
    stack.reserve(64);

    // Fills the run that contains `from` on row `ry` and queues its neighbours;
    // returns the index just past the run.
    auto fillRun = [&](int ry, Colour* row, int from, int parentLeft, int parentRight, int dy) {
        const int left = fillLeft(row, from, seed, fill);
        const int end = fillRight(row, from, width, seed, fill);
        minX = std::min(minX, left);
        maxX = std::max(maxX, end - 1);
        minY = std::min(minY, ry);
        maxY = std::max(maxY, ry);
        if (ry + dy >= 0 && ry + dy < height)
            stack.push_back({ry, left, end - 1, dy});
        const int back = ry - dy;
        if (back >= 0 && back < height) {
            if (left < parentLeft)
                stack.push_back({ry, left, parentLeft - 1, -dy});
            if (end - 1 > parentRight)
                stack.push_back({ry, parentRight + 1, end - 1, -dy});
        }
        return end;
    };

    // The seed's run is handled as if reached from the row below through the
    // seed pixel: it queues the whole row above, and its overhang queues the
    // row below beside the seed; the push after it covers the seed's column.
    Colour* const seedRow = pixels + static_cast<std::size_t>(y) * width;
    fillRun(y, seedRow, x, x, x, -1);
    if (y + 1 < height)
        stack.push_back({y, x, x, 1});

    while (!stack.empty()) {
        const Segment s = stack.back();
        stack.pop_back();
        const int ry = s.row + s.dy;
        Colour* const row = pixels + static_cast<std::size_t>(ry) * width;
        int cx = s.left;
        while (true) {
            cx = nextEqual(row, cx, s.right + 1, seed);
            if (cx > s.right)
                break;
            // The pixel after a run never equals the seed, so skip it too.
            cx = fillRun(ry, row, cx, s.left, s.right, s.dy) + 1;
        }
    }
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

} // namespace tintaro
