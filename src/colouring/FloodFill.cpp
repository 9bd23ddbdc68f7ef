#include "colouring/FloodFill.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

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
// Bit i set when lane i of `block` equals the splatted value.
inline unsigned equalBits(Block block, Block value) {
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(block, value))));
}
// Lane i from `paint` where bit i of `lanes` is set, else from `block`.
inline Block select(unsigned lanes, Block paint, Block block);

// True when all sixteen pixels from p on equal the value.
inline bool allEqual16(const Colour* p, Block value) {
    const Block a = _mm_cmpeq_epi32(load4(p), value);
    const Block b = _mm_cmpeq_epi32(load4(p + 4), value);
    const Block c = _mm_cmpeq_epi32(load4(p + 8), value);
    const Block d = _mm_cmpeq_epi32(load4(p + 12), value);
    const Block all = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
    return _mm_movemask_epi8(all) == 0xFFFF;
}

// True when none of the sixteen pixels from p equals the value.
inline bool noneEqual16(const Colour* p, Block value) {
    const Block a = _mm_cmpeq_epi32(load4(p), value);
    const Block b = _mm_cmpeq_epi32(load4(p + 4), value);
    const Block c = _mm_cmpeq_epi32(load4(p + 8), value);
    const Block d = _mm_cmpeq_epi32(load4(p + 12), value);
    const Block any = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    return _mm_movemask_epi8(any) == 0;
}

// Bit i set when pixel p[i] of the sixteen equals the value.
inline unsigned equalBits16(const Colour* p, Block value) {
    const Block low = _mm_packs_epi32(_mm_cmpeq_epi32(load4(p), value), _mm_cmpeq_epi32(load4(p + 4), value));
    const Block high =
        _mm_packs_epi32(_mm_cmpeq_epi32(load4(p + 8), value), _mm_cmpeq_epi32(load4(p + 12), value));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
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
inline unsigned equalBits(Block block, Block value) {
    const uint32x4_t bits = {1, 2, 4, 8};
    return vaddvq_u32(vandq_u32(vceqq_u32(block, value), bits));
}
inline Block select(unsigned lanes, Block paint, Block block);

inline bool allEqual16(const Colour* p, Block value) {
    const uint32x4_t a = vceqq_u32(load4(p), value);
    const uint32x4_t b = vceqq_u32(load4(p + 4), value);
    const uint32x4_t c = vceqq_u32(load4(p + 8), value);
    const uint32x4_t d = vceqq_u32(load4(p + 12), value);
    return vminvq_u32(vandq_u32(vandq_u32(a, b), vandq_u32(c, d))) != 0;
}

inline bool noneEqual16(const Colour* p, Block value) {
    const uint32x4_t a = vceqq_u32(load4(p), value);
    const uint32x4_t b = vceqq_u32(load4(p + 4), value);
    const uint32x4_t c = vceqq_u32(load4(p + 8), value);
    const uint32x4_t d = vceqq_u32(load4(p + 12), value);
    return vmaxvq_u32(vorrq_u32(vorrq_u32(a, b), vorrq_u32(c, d))) == 0;
}

inline unsigned equalBits16(const Colour* p, Block value) {
    const uint16x8_t low =
        vcombine_u16(vmovn_u32(vceqq_u32(load4(p), value)), vmovn_u32(vceqq_u32(load4(p + 4), value)));
    const uint16x8_t high =
        vcombine_u16(vmovn_u32(vceqq_u32(load4(p + 8), value)), vmovn_u32(vceqq_u32(load4(p + 12), value)));
    const uint8x16_t lanes = vcombine_u8(vmovn_u16(low), vmovn_u16(high));
    const uint8x16_t weights = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    const uint8x16_t bits = vandq_u8(lanes, weights);
    return vaddv_u8(vget_low_u8(bits)) | static_cast<unsigned>(vaddv_u8(vget_high_u8(bits))) << 8;
}

#endif

#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)

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
constexpr LaneMasks kLaneMasks;

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
[[gnu::noinline]] int fillRight(Colour* row, int x, int end, Colour v, Colour fill) {
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
[[gnu::noinline]] int fillLeft(Colour* row, int x, Colour v, Colour fill) {
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
[[gnu::noinline]] int nextEqual(const Colour* row, int x, int end, Colour v) {
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

int paintRunRight(Colour* row, int x, int width, Colour v, Colour fill) {
    row[x] = fill;
    return fillRight(row, x + 1, width, v, fill);
}

int paintRunLeft(Colour* row, int x, Colour v, Colour fill) {
    return fillLeft(row, x, v, fill);
}

int findSeed(const Colour* row, int x, int end, int, Colour v) {
    while (x < end && row[x] != v)
        ++x;
    return x;
}

bool worthLooking(const Colour* ahead, int left, int end, int, Colour v) {
    return end - left > 1 || ahead[left] == v;
}

#endif

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
inline void paintBits(Colour* row, int n, Bits bits, Colour fill) {
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

// A run of pixels whose neighbours on row `y` still have to be examined, from
// `left` to `right`; `dy` leads away from the run (y is the run's row + dy).
// Only the part of row y under the run is looked at; a run found there that
// reaches beyond it queues the overhang back towards the run's row as well,
// which is how the fill turns corners. Segments may be examined in any order:
// each one only looks for pixels still of the seed colour.
struct Segment {
    int y;
    int left;
    int right;
    int dy;
};

// Stores a segment as two eight-byte halves. The segment taken next is
// usually the one just put, and its first pixel can be loaded as soon as its
// row and left end are known; written as one store with the right end, which
// comes out of the vector compare at the end of the run, it would wait for that
// compare and chain each run's scan to the one before. Each half is one store
// that the load of the same half, when the segment is taken, reads straight
// back; the fence keeps the compiler from merging the two.
[[gnu::always_inline]] inline void put(Segment* at, int y, int left, int right, int dy) {
    const std::uint64_t start =
        static_cast<std::uint32_t>(y) | std::uint64_t{static_cast<std::uint32_t>(left)} << 32;
    const std::uint64_t reach =
        static_cast<std::uint32_t>(right) | std::uint64_t{static_cast<std::uint32_t>(dy)} << 32;
    static_assert(sizeof(Segment) == 16 && offsetof(Segment, right) == 8);
    std::memcpy(reinterpret_cast<char*>(at), &start, 8);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(reinterpret_cast<char*>(at) + 8, &reach, 8);
}

// The stack of segments still to examine, as plain pointers that live in
// registers; it doubles when full, which a canvas-sized fill rarely needs.
struct Stack {
    Segment* base;
    Segment* top;
    Segment* limit;
};

// Segments live in storage the fill allocates without clearing it: a small
// fill must not pay for setting up room it never uses.
struct Storage {
    std::unique_ptr<Segment[]> segments;
    std::size_t capacity;
};

[[gnu::noinline]] Stack grow(Storage& storage, Segment* top) {
    const std::size_t used = static_cast<std::size_t>(top - storage.segments.get());
    std::unique_ptr<Segment[]> bigger(new Segment[storage.capacity * 2]);
    std::copy(storage.segments.get(), top, bigger.get());
    storage.segments = std::move(bigger);
    storage.capacity *= 2;
    return {storage.segments.get(), storage.segments.get() + used, storage.segments.get() + storage.capacity};
}

// The smallest box around the pixels it is given.
struct Bounds {
    int minX, maxX, minY, maxY;
    void add(int x, int y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
};

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
    }
    return y;
}

// Follows a straight corridor two to six pixels wide, a run [left, end) just
// painted on the row before y, in steps of dy rows: for as long as the row
// ahead holds exactly the same run, between two pixels of another colour, it
// is painted with two four-pixel compares and two stores. Returns the row
// where it stopped: past the picture, or where the corridor changes. Hatching
// with a few pixels between its strokes is made of such corridors.
[[gnu::noinline]] int followWideCorridor(Colour* pixels, int left, int end, int y, int dy, int width,
                                         int height, Colour seed, Colour fill) {
#if defined(TINTARO_FILL_SSE2) || defined(TINTARO_FILL_NEON)
    // The eight pixels from left - 1 hold the run and both its ends.
    if (left < 1 || left + 7 > width)
        return y;
    const int length = end - left;
    const unsigned run = ((1u << length) - 1) << 1;
    const unsigned looked = (1u << (length + 2)) - 1;
    const Block value = splat(seed);
    const Block paint = splat(fill);
    const std::ptrdiff_t step = static_cast<std::ptrdiff_t>(dy) * width;
    Colour* p = pixels + static_cast<std::size_t>(y) * width + left - 1;
    while (true) {
        const Block low = load4(p);
        const Block high = load4(p + 4);
        if (((equalBits(low, value) | equalBits(high, value) << 4) & looked) != run)
            break;
        store4(p, select(run & 0xFu, paint, low));
        store4(p + 4, select(run >> 4, paint, high));
        y += dy;
        if (static_cast<unsigned>(y) >= static_cast<unsigned>(height))
            break;
        p += step;
    }
    return y;
#else
    static_cast<void>(pixels), static_cast<void>(left), static_cast<void>(end), static_cast<void>(dy);
    static_cast<void>(width), static_cast<void>(height), static_cast<void>(seed), static_cast<void>(fill);
    return y;
#endif
}

// Pictures whose coordinates fit a walker's place (below).
constexpr int kMazeLimit = 0x8000;

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
        const int l = p[-1] == seed, r = p[1] == seed, u = p[-stride] == seed, d = p[stride] == seed;
        if (l + r + u + d != 1)
            break;
        const std::ptrdiff_t step = (r - l) + (d ? stride : 0) - (u ? stride : 0);
        const std::uint32_t placeStep = static_cast<std::uint32_t>((r - l) + (d - u) * 0x10000);
        history = (history << 2 | static_cast<unsigned>(r + 2 * u + 3 * d)) & 0xFFFFu;
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

// Whether a corridor turns at p, a pixel of the seed colour at (x, y), as in a
// maze of one-pixel walls: one side open, and the four corners closed. In
// noise, whose corners are mostly open, the segments do better.
inline bool turnsInMaze(const Colour* p, int x, int y, int width, int height, Colour seed) {
    if (x < 1 || y < 1 || x + 1 >= width || y + 1 >= height || width > kMazeLimit || height > kMazeLimit)
        return false;
    const std::ptrdiff_t stride = width;
    return (p[-1] == seed) != (p[1] == seed) && p[-stride - 1] != seed && p[-stride + 1] != seed &&
           p[stride - 1] != seed && p[stride + 1] != seed;
}

// Walks a maze from (x, y), a pixel just painted where a corridor turns, and
// hands what opens out back to the segments; returns the stack's new top.
//
// Along a path one pixel wide every pixel has one neighbour of the seed
// colour, the one after it, and the walk steps there with no branch on which
// neighbour it is: in a maze the path turns at random, and a branch on the
// turn would be mispredicted every other step. Each step waits for the one
// before, so two ways are walked side by side, whose steps the processor
// overlaps. At a junction the ways on wait on a small stack of spots, again
// with no branch on which they are; a row that opens on both sides goes to the
// segments.
[[gnu::noinline]] Segment* walkMaze(Colour* pixels, int width, int height, Colour seed, Colour fill, int x,
                                    int y, Storage& storage, Segment* top, Bounds& bounds) {
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
            // spot; otherwise its run along the row is painted now, and one
            // pixel of it waits as a spot too.
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
        while (maze.inside(a) & maze.inside(b)) {
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
    // Before queueing up to `needed` segments.
    const auto makeRoom = [&](std::ptrdiff_t needed) {
        if (limit - top < needed) [[unlikely]] {
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
                // takes over. A run of up to six pixels is followed the same
                // way while the rows ahead repeat it (hatching with wider gaps).
                int aheadY = s.y + s.dy;
                if (end - left == 1) {
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
                } else if (end - left <= 6) {
                    aheadY = followWideCorridor(pixels, left, end, aheadY, s.dy, width, height, seed, fill);
                    minY = std::min(minY, aheadY - s.dy);
                    maxY = std::max(maxY, aheadY - s.dy);
                }
                if (static_cast<unsigned>(aheadY) < static_cast<unsigned>(height))
                    put(top++, aheadY, left, end - 1, s.dy);
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
