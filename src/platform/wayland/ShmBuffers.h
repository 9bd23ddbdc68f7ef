// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_shm;
struct wl_buffer;

namespace tintaro {

// A picture in shared memory that the compositor reads: XRGB8888, one
// 0x00RRGGBB value per pixel (or ARGB8888), rows `width` pixels apart.
struct ShmBuffer {
    wl_buffer* buffer = nullptr;
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    bool busy = false; // the compositor has it and has not released it yet
    // What changed since this buffer was last drawn, in its own pixels;
    // `whole` when all of it must be drawn.
    std::vector<Rect> stale;
    bool whole = true;
    std::size_t bytes = 0;
};

// A few buffers of one size, drawn in turn: while the compositor shows one,
// the next is drawn into another.
class ShmBuffers {
  public:
    explicit ShmBuffers(std::function<void()> released = {}) : m_released(std::move(released)) {}
    ~ShmBuffers();
    ShmBuffers(const ShmBuffers&) = delete;
    ShmBuffers& operator=(const ShmBuffers&) = delete;

    // Makes `count` buffers of the size anew, unless they already have it;
    // `alpha`: ARGB8888 with premultiplied alpha, for cursors.
    bool resize(wl_shm* shm, int width, int height, int count = 2, bool alpha = false);
    // A buffer the compositor does not hold; null when all are busy.
    ShmBuffer* idle();
    // An area of the picture changed: every buffer will need it again.
    void invalidate(const Rect& area);
    void invalidateAll();
    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    void clear();

    std::vector<std::unique_ptr<ShmBuffer>> m_buffers;
    int m_width = 0;
    int m_height = 0;
    std::function<void()> m_released;

    friend struct ShmBufferListener;
};

} // namespace tintaro
