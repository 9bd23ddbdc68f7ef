// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/ShmBuffers.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

namespace tintaro {

struct ShmBufferListener {
    ShmBuffers* owner;
    ShmBuffer* buffer;

    static void release(void* data, wl_buffer*) {
        auto* self = static_cast<ShmBufferListener*>(data);
        self->buffer->busy = false;
        if (self->owner->m_released) {
            self->owner->m_released();
        }
    }
};

namespace {

constexpr wl_buffer_listener kListener{ShmBufferListener::release};

// One buffer with a file of its own, never seen in any folder.
std::unique_ptr<ShmBuffer> makeBuffer(wl_shm* shm, int width, int height, bool alpha) {
    auto made = std::make_unique<ShmBuffer>();
    const int stride = width * 4;
    made->bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    const int fd = memfd_create("tintaro-frame", MFD_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (ftruncate(fd, static_cast<off_t>(made->bytes)) != 0) {
        close(fd);
        return nullptr;
    }
    void* memory = mmap(nullptr, made->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(made->bytes));
    made->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride,
                                             alpha ? WL_SHM_FORMAT_ARGB8888 : WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    made->pixels = static_cast<std::uint32_t*>(memory);
    made->width = width;
    made->height = height;
    return made;
}

} // namespace

ShmBuffers::~ShmBuffers() {
    clear();
}

void ShmBuffers::clear() {
    for (auto& b : m_buffers) {
        delete static_cast<ShmBufferListener*>(wl_buffer_get_user_data(b->buffer));
        wl_buffer_destroy(b->buffer);
        munmap(b->pixels, b->bytes);
    }
    m_buffers.clear();
    m_width = m_height = 0;
}

bool ShmBuffers::resize(wl_shm* shm, int width, int height, int count, bool alpha) {
    if (width == m_width && height == m_height && !m_buffers.empty()) {
        return true;
    }
    clear();
    if (width <= 0 || height <= 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        auto made = makeBuffer(shm, width, height, alpha);
        if (!made) {
            clear();
            return false;
        }
        wl_buffer_add_listener(made->buffer, &kListener, new ShmBufferListener{this, made.get()});
        m_buffers.push_back(std::move(made));
    }
    m_width = width;
    m_height = height;
    return true;
}

ShmBuffer* ShmBuffers::idle() {
    for (auto& b : m_buffers) {
        if (!b->busy) {
            return b.get();
        }
    }
    return nullptr;
}

void ShmBuffers::invalidate(const Rect& area) {
    for (auto& b : m_buffers) {
        if (!b->whole) {
            b->stale.push_back(area);
        }
    }
}

void ShmBuffers::invalidateAll() {
    for (auto& b : m_buffers) {
        b->whole = true;
        b->stale.clear();
    }
}

} // namespace tintaro
