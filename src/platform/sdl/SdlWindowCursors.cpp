// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures/UiPictures.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

// The window's pointers: the system's arrow and hand, our own palette and
// drop pictures, and the cursors the program loads from icon files.
namespace tintaro {

namespace {

SDL_Cursor* centredCursor(std::span<const std::uint8_t> bytes) {
    SurfacePtr surface = decodeSurface(bytes);
    if (!surface) {
        return nullptr;
    }
    return SDL_CreateColorCursor(surface.get(), surface->w / 2, surface->h / 2);
}

class SdlCursor final : public Cursor {
  public:
    explicit SdlCursor(SDL_Cursor* cursor) : m_cursor(cursor) {}
    // SDL puts its default cursor back when the cursor shown is freed.
    ~SdlCursor() override { SDL_FreeCursor(m_cursor); }
    SDL_Cursor* get() const { return m_cursor; }

  private:
    SDL_Cursor* m_cursor;
};

} // namespace

std::unique_ptr<Cursor> SdlWindow::loadCursor(const std::string& iconPath) {
    if (!m_videoReady) {
        return nullptr;
    }
    const auto bytes = m_files.read(iconPath);
    SDL_Cursor* cursor = bytes ? centredCursor(*bytes) : nullptr;
    if (cursor == nullptr) {
        return nullptr;
    }
    return std::make_unique<SdlCursor>(cursor);
}

SDL_Cursor* SdlWindow::uiCursor(SDL_Cursor*& slot, bool& tried, std::span<const std::uint8_t> picture) {
    if (!tried) {
        tried = true;
        slot = centredCursor(picture);
    }
    return slot;
}

void SdlWindow::setCursor(CursorKind kind, const Cursor* custom) {
    if (!m_videoReady) {
        return;
    }
    if (m_arrow == nullptr) {
        m_arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    }
    SDL_Cursor* wanted = nullptr;
    switch (kind) {
    case CursorKind::Arrow:
    case CursorKind::SystemDefault:
        wanted = m_arrow;
        break;
    case CursorKind::Hand:
        if (m_hand == nullptr) {
            m_hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
        }
        wanted = m_hand;
        break;
    case CursorKind::Palette:
        wanted = uiCursor(m_palette, m_paletteTried, paletteCursorPicture());
        break;
    case CursorKind::Drop:
        wanted = uiCursor(m_drop, m_dropTried, dropCursorPicture());
        break;
    case CursorKind::Custom:
        if (const auto* own = dynamic_cast<const SdlCursor*>(custom)) {
            wanted = own->get();
        }
        break;
    }
    if (wanted == nullptr) {
        wanted = m_arrow;
    }
    if (wanted != nullptr && SDL_GetCursor() != wanted) {
        SDL_SetCursor(wanted);
    }
}

} // namespace tintaro
