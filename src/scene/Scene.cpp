// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/Scene.h"

#include "platform/AppPath.h"
#include "scene/AssetPaths.h"
#include "scene/CanvasRuns.h"
#include "scene/StepFailed.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tintaro {

namespace {

// Where a picture is smaller than its control, the control's own background shows.
constexpr Colour kControlBackground = kWhite;
constexpr Colour kWindowBackground = rgb(240, 240, 240);

Rect intersect(const Rect& a, const Rect& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

Rect unite(const Rect& a, const Rect& b) {
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

// Copies the part of `picture` (placed at `origin`) that falls in `area`,
// filling what the picture does not cover with `fill`.
void paint(Image& frame, const Rect& area, const Image* picture, int originX, int originY, Colour fill) {
    for (int y = area.y; y < area.y + area.h; ++y) {
        Colour* row = &frame.at(area.x, y);
        const int py = y - originY;
        int x = area.x;
        if (picture && py >= 0 && py < picture->height) {
            const int from = std::max(area.x, originX);
            const int to = std::min(area.x + area.w, originX + picture->width);
            for (; x < from; ++x) {
                row[x - area.x] = fill;
            }
            if (to > from) {
                std::memcpy(row + (from - area.x),
                            picture->pixels.data() + static_cast<std::size_t>(py) * picture->width +
                                (from - originX),
                            sizeof(Colour) * (to - from));
                x = to;
            }
        }
        for (; x < area.x + area.w; ++x) {
            row[x - area.x] = fill;
        }
    }
}

} // namespace

Scene::Scene(Platform& platform, const std::string& appPath)
    : m_platform(platform), m_pictures(platform.files, platform.codec), m_appPath(appPath),
      m_canvas(kCanvasRect.w, kCanvasRect.h), m_frame(kWindowWidth, kWindowHeight, kWindowBackground) {}

void Scene::create() {
    for (const auto& spec : kControlTable) {
        auto& c = m_controls[index(spec.id)];
        c.rect = spec.rect;
        c.visible = spec.visible;
        c.enabled = true;
        if (spec.id != ControlId::Slika && !spec.startPicture.empty()) {
            if (spec.visible) {
                c.picture = read(picturePath(spec.startPicture));
            } else {
                c.startPicturePending = true;
            }
        }
    }
    if (auto start = m_pictures.decodeFile(joinPath(m_appPath, picturePath("01.GIF")))) {
        placeOnCanvas(std::move(*start));
    }
    m_backgroundPath = picturePath("GLAVNA.JPG");
    m_background = read(m_backgroundPath);
    invalidateAll();
}

std::shared_ptr<const Image> Scene::read(const std::string& relativePath) {
    return m_pictures.load(joinPath(m_appPath, relativePath));
}

std::shared_ptr<const Image> Scene::pictureOf(ControlId id) {
    auto& c = m_controls[index(id)];
    if (c.startPicturePending) {
        c.startPicturePending = false;
        c.picture = read(picturePath(kControlTable[index(id)].startPicture));
    }
    return c.picture;
}

void Scene::setVisible(ControlId id, bool visible) {
    if (visible) {
        pictureOf(id);
    }
    auto& c = m_controls[index(id)];
    if (!visible && m_focus == id) {
        m_focus.reset();
    }
    if (c.visible != visible) {
        c.visible = visible;
        markDirty(c.rect);
    }
}

void Scene::setEnabled(ControlId id, bool enabled) {
    // A disabled control looks exactly like an enabled one: nothing to redraw.
    m_controls[index(id)].enabled = enabled;
    if (!enabled && m_focus == id) {
        m_focus.reset();
    }
}

void Scene::move(ControlId id, int left, int top) {
    auto& c = m_controls[index(id)];
    if (c.rect.x == left && c.rect.y == top) {
        return;
    }
    if (c.visible) {
        markDirty(c.rect);
    }
    c.rect.x = left;
    c.rect.y = top;
    if (c.visible) {
        markDirty(c.rect);
    }
}

void Scene::assignPicture(ControlId id, const std::string& relativePath) {
    auto picture = read(relativePath);
    if (!picture) {
        throw StepFailed{};
    }
    auto& c = m_controls[index(id)];
    c.startPicturePending = false;
    if (c.picture != picture) {
        c.picture = std::move(picture);
        if (c.visible) {
            markDirty(c.rect);
        }
    }
}

void Scene::assignBackground(const std::string& relativePath) {
    // The background being left is let go before the new one is decoded, so
    // that two screen-sized pictures are never held at once; should the new
    // one fail, the old one is read again.
    const std::weak_ptr<const Image> previous = m_background;
    m_background.reset();
    auto readAgain = [&] { m_background = m_backgroundPath.empty() ? nullptr : read(m_backgroundPath); };
    std::shared_ptr<const Image> picture;
    try {
        picture = read(relativePath);
    } catch (...) {
        readAgain();
        throw;
    }
    if (!picture) {
        readAgain();
        throw StepFailed{};
    }
    m_backgroundPath = relativePath;
    m_background = std::move(picture);
    if (m_background != previous.lock()) {
        invalidateAll();
    }
}

void Scene::setCanvasPicture(const std::string& relativePath) {
    // The canvas lets go of its pixels while the new picture is decoded, so
    // that two canvas-sized buffers are never held at once; a compact copy of
    // them comes back should the file be unreadable.
    const CanvasRuns kept = CanvasRuns::of(m_canvas);
    m_canvas = Image();
    std::optional<Image> picture;
    try {
        picture = m_pictures.decodeFile(joinPath(m_appPath, relativePath));
    } catch (...) {
        m_canvas = kept.image();
        throw;
    }
    if (!picture) {
        m_canvas = kept.image();
        throw StepFailed{};
    }
    placeOnCanvas(std::move(*picture));
}

void Scene::placeOnCanvas(Image&& picture) {
    if (picture.width == kCanvasRect.w && picture.height == kCanvasRect.h) {
        m_canvas = std::move(picture);
    } else {
        m_canvas = Image(kCanvasRect.w, kCanvasRect.h, kControlBackground);
        paint(m_canvas, {0, 0, m_canvas.width, m_canvas.height}, &picture, 0, 0, kControlBackground);
    }
    canvasChanged({0, 0, kCanvasRect.w, kCanvasRect.h});
}

void Scene::setCanvasImage(const Image& image) {
    // Painted over the old image in place: a second canvas-sized buffer would
    // only raise the peak memory every time a drawing is opened.
    if (&image != &m_canvas) {
        paint(m_canvas, {0, 0, m_canvas.width, m_canvas.height}, &image, 0, 0, kControlBackground);
    }
    canvasChanged({0, 0, kCanvasRect.w, kCanvasRect.h});
}

void Scene::setCanvasCursor(const std::string& relativePath) {
    auto cursor = m_platform.window.loadCursor(joinPath(m_appPath, relativePath));
    if (!cursor) {
        throw StepFailed{};
    }
    m_canvasCursor = std::move(cursor);
}

void Scene::enableTimer(bool enabled) {
    if (enabled && !timerEnabled) {
        timerDue = m_platform.clock.monotonicSeconds() + kRepeatInterval;
    }
    timerEnabled = enabled;
}

CursorKind Scene::cursorOf(ControlId id) const {
    if (id == ControlId::Slika && m_canvasCursor) {
        return CursorKind::Custom;
    }
    return kControlTable[index(id)].cursor;
}

void Scene::canvasChanged(const Rect& changed) {
    const auto& slika = m_controls[index(ControlId::Slika)];
    if (!changed.empty() && slika.visible) {
        markDirty({slika.rect.x + changed.x, slika.rect.y + changed.y, changed.w, changed.h});
    }
}

std::optional<ControlId> Scene::hitTest(float fx, float fy) const {
    const int x = static_cast<int>(std::floor(fx));
    const int y = static_cast<int>(std::floor(fy));
    for (int i = 0; i < static_cast<int>(kControlCount); ++i) {
        const auto& c = m_controls[i];
        if (c.visible && c.rect.contains(x, y)) {
            return controlAt(i);
        }
    }
    return std::nullopt;
}

void Scene::invalidateAll() {
    m_dirty.assign(1, Rect{0, 0, kWindowWidth, kWindowHeight});
}

void Scene::markDirty(const Rect& rect) {
    const Rect clipped = intersect(rect, {0, 0, kWindowWidth, kWindowHeight});
    if (clipped.empty()) {
        return;
    }
    for (auto& d : m_dirty) {
        if (intersect(d, clipped) == clipped) {
            return;
        }
    }
    m_dirty.push_back(clipped);
    // Many small rectangles cost more in bookkeeping than one larger copy.
    if (m_dirty.size() > 32) {
        Rect all = m_dirty.front();
        for (const auto& d : m_dirty) {
            all = unite(all, d);
        }
        m_dirty.assign(1, all);
    }
}

void Scene::compose(const Rect& area) {
    paint(m_frame, area, m_background.get(), 0, 0, kWindowBackground);
    // Bottom of the stacking order first, so the topmost control ends up in front.
    for (int i = static_cast<int>(kControlCount) - 1; i >= 0; --i) {
        const auto& c = m_controls[i];
        if (!c.visible) {
            continue;
        }
        const Rect part = intersect(c.rect, area);
        if (part.empty()) {
            continue;
        }
        const Image* picture = controlAt(i) == ControlId::Slika ? &m_canvas : c.picture.get();
        paint(m_frame, part, picture, c.rect.x, c.rect.y, kControlBackground);
    }
}

void Scene::present() {
    if (m_dirty.empty()) {
        return;
    }
    for (const auto& d : m_dirty) {
        compose(d);
    }
    m_platform.window.present(m_frame, m_dirty);
    m_dirty.clear();
}

} // namespace tintaro
