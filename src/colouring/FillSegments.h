// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stack of row segments a flood fill still has to examine, and the box
// around what it painted.

#include "platform/Image.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tintaro::filling {

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

// Two ints as the one eight-byte word that has their bytes, first then
// second, in memory of the given byte order.
constexpr std::uint64_t pairAsWord(int first, int second, std::endian order = std::endian::native) {
    const std::uint64_t a = static_cast<std::uint32_t>(first);
    const std::uint64_t b = static_cast<std::uint32_t>(second);
    return order == std::endian::little ? a | b << 32 : a << 32 | b;
}

// Stores a segment as two eight-byte halves. The segment taken next is
// usually the one just put, and its first pixel can be loaded as soon as its
// row and left end are known; written as one store with the right end, which
// comes out of the vector compare at the end of the run, it would wait for that
// compare and chain each run's scan to the one before. Each half is one store
// that the load of the same half, when the segment is taken, reads straight
// back; the fence keeps the compiler from merging the two.
[[gnu::always_inline]] inline void put(Segment* at, int y, int left, int right, int dy) {
    const std::uint64_t start = pairAsWord(y, left);
    const std::uint64_t reach = pairAsWord(right, dy);
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

[[gnu::noinline]] inline Stack grow(Storage& storage, Segment* top) {
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

} // namespace tintaro::filling
