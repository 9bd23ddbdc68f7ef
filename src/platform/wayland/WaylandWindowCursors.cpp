// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/UiPictures.h"
#include "platform/wayland/ShmPicture.h"
#include "platform/wayland/WaylandClient.h"
#include "platform/wayland/WaylandWindow.h"

#include <wayland-client.h>
#include <wayland-cursor.h>

#include <cstdlib>

// The window's pointers: the desktop theme's arrow and hand, our own palette
// and drop pictures, and the cursors the program loads from icon files, each
// with its hot spot at the picture's centre.
namespace tintaro {

namespace {

// The size the desktop's pointers have, as the session says.
int themeSize() {
    const char* size = std::getenv("XCURSOR_SIZE");
    const int wanted = size != nullptr ? std::atoi(size) : 0;
    return wanted > 0 && wanted <= 256 ? wanted : 24;
}

// One of our pictures as a cursor, its hot spot at its centre.
bool cursorFromPicture(wl_shm* shm, std::span<const std::uint8_t> bytes, WaylandWindow::CursorImage& out) {
    const auto picture = decodePicture(bytes);
    auto buffers = picture ? shmPicture(shm, *picture, true) : nullptr;
    if (!buffers) {
        return false;
    }
    out.buffer = buffers->idle()->buffer;
    out.width = picture->width;
    out.height = picture->height;
    out.hotX = picture->width / 2;
    out.hotY = picture->height / 2;
    out.owned = std::move(buffers);
    return true;
}

class WaylandCursor final : public Cursor {
  public:
    explicit WaylandCursor(WaylandWindow& window) : m_window(window) {}
    // The window shows the arrow again rather than a picture that is gone.
    ~WaylandCursor() override { m_window.cursorGone(&image); }
    WaylandWindow::CursorImage image;

  private:
    WaylandWindow& m_window;
};

// Names of the theme's pointers, the freedesktop name first.
constexpr const char* kArrowNames[] = {"default", "left_ptr", nullptr};
constexpr const char* kHandNames[] = {"pointer", "hand2", "hand1", nullptr};

} // namespace

const WaylandWindow::CursorImage* WaylandWindow::themeCursor(CursorImage& slot, bool& tried,
                                                             const char* const* names) {
    if (!tried) {
        tried = true;
        if (m_cursorTheme == nullptr) {
            m_cursorTheme = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), themeSize(), m_client.shm());
        }
        for (const char* const* name = names; m_cursorTheme != nullptr && *name != nullptr; ++name) {
            wl_cursor* cursor = wl_cursor_theme_get_cursor(m_cursorTheme, *name);
            if (cursor != nullptr && cursor->image_count > 0) {
                wl_cursor_image* image = cursor->images[0];
                slot.buffer = wl_cursor_image_get_buffer(image);
                slot.width = static_cast<int>(image->width);
                slot.height = static_cast<int>(image->height);
                slot.hotX = static_cast<int>(image->hotspot_x);
                slot.hotY = static_cast<int>(image->hotspot_y);
                break;
            }
        }
    }
    return slot.buffer != nullptr ? &slot : nullptr;
}

std::unique_ptr<Cursor> WaylandWindow::loadCursor(const std::string& iconPath) {
    const auto bytes = m_files.read(iconPath);
    auto cursor = std::make_unique<WaylandCursor>(*this);
    if (!bytes || !cursorFromPicture(m_client.shm(), *bytes, cursor->image)) {
        return nullptr;
    }
    return cursor;
}

void WaylandWindow::setCursor(CursorKind kind, const Cursor* custom) {
    const CursorImage* wanted = nullptr;
    const auto own = [this](CursorImage& slot, bool& tried, std::span<const std::uint8_t> picture) {
        if (!tried) {
            tried = true;
            cursorFromPicture(m_client.shm(), picture, slot);
        }
        return slot.buffer != nullptr ? &slot : nullptr;
    };
    switch (kind) {
    case CursorKind::Arrow:
    case CursorKind::SystemDefault:
        break;
    case CursorKind::Hand:
        wanted = themeCursor(m_hand, m_handTried, kHandNames);
        break;
    case CursorKind::Palette:
        wanted = own(m_palette, m_paletteTried, paletteCursorPicture());
        break;
    case CursorKind::Drop:
        wanted = own(m_drop, m_dropTried, dropCursorPicture());
        break;
    case CursorKind::Custom:
        if (const auto* loaded = dynamic_cast<const WaylandCursor*>(custom)) {
            wanted = &loaded->image;
        }
        break;
    }
    if (wanted == nullptr) {
        wanted = themeCursor(m_arrow, m_arrowTried, kArrowNames);
    }
    if (wanted != m_cursor) {
        m_cursor = wanted;
        applyCursor();
    }
}

void WaylandWindow::cursorGone(const CursorImage* image) {
    if (m_cursor == image) {
        m_cursor = nullptr;
        setCursor(CursorKind::Arrow, nullptr);
    }
}

void WaylandWindow::applyCursor() {
    if (m_pointer == nullptr || m_pointerSerial == 0 || m_cursorSurface == nullptr) {
        return;
    }
    if (m_cursor == nullptr) {
        wl_pointer_set_cursor(m_pointer, m_pointerSerial, nullptr, 0, 0);
        return;
    }
    wl_surface_attach(m_cursorSurface, m_cursor->buffer, 0, 0);
    wl_surface_damage_buffer(m_cursorSurface, 0, 0, m_cursor->width, m_cursor->height);
    wl_surface_commit(m_cursorSurface);
    wl_pointer_set_cursor(m_pointer, m_pointerSerial, m_cursorSurface, m_cursor->hotX, m_cursor->hotY);
}

} // namespace tintaro
