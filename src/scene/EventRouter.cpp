// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/EventRouter.h"

#include "scene/StepFailed.h"

#include <cmath>

namespace tintaro {

namespace {

// Every picture control but the canvas reports its pointer position in twips.
constexpr float kTwipsPerPixel = 15.0f;

template <class F, class... Args> void call(const F& handler, Args&&... args) {
    if (handler) {
        // The outermost trap: whatever a handler leaves uncaught ends it silently.
        trapped([&] { handler(std::forward<Args>(args)...); });
    }
}

} // namespace

void EventRouter::route(const Event& event) {
    switch (event.type) {
    case EventType::MouseMove:
    case EventType::MouseDown:
    case EventType::MouseUp:
        pointer(event);
        break;
    case EventType::KeyDown:
        key(event);
        break;
    default:
        break;
    }
}

void EventRouter::windowShown() {
    if (m_shownBefore) {
        return;
    }
    m_shownBefore = true;
    std::optional<ControlId> first;
    int best = 1 << 30;
    for (const auto& spec : kControlTable) {
        const auto& c = m_scene.control(spec.id);
        if (c.visible && c.enabled && spec.tabIndex < best) {
            best = spec.tabIndex;
            first = spec.id;
        }
    }
    m_scene.setFocus(first);
}

void EventRouter::pointer(const Event& event) {
    std::optional<ControlId> target;
    if (m_capture) {
        target = m_capture;
    } else if (m_windowCaptured) {
        // the window keeps the pointer
    } else if (auto hit = m_scene.hitTest(event.x, event.y); hit && m_scene.control(*hit).enabled) {
        target = hit;
    }

    if (event.type == EventType::MouseDown) {
        if (m_held == 0) {
            m_capture = target;
            m_windowCaptured = !target;
            if (target) {
                m_scene.setFocus(target);
            }
        }
        m_held |= event.button;
    }

    deliver(target, event);

    if (event.type == EventType::MouseUp) {
        m_held &= ~event.button;
        const bool clickButton = event.button == kLeftButton || event.button == kRightButton;
        if (clickButton && target && m_capture == target) {
            const auto& c = m_scene.control(*target);
            const auto over = m_scene.hitTest(event.x, event.y);
            if (c.visible && c.enabled && over == target) {
                call(m_handlers[*target].click);
            }
        }
        if (m_held == 0) {
            m_capture.reset();
            m_windowCaptured = false;
        }
    }
    updateCursor(m_capture ? m_capture : m_windowCaptured ? std::nullopt : m_scene.hitTest(event.x, event.y));
}

void EventRouter::deliver(std::optional<ControlId> target, const Event& event) {
    if (event.type == EventType::MouseUp) {
        return; // no element of this window handles the release itself
    }
    MouseArgs args;
    args.shift = event.shift;
    args.button = event.type == EventType::MouseDown ? event.button : event.buttons;
    ElementHandlers* handlers = &m_handlers.window;
    if (target) {
        handlers = &m_handlers[*target];
        const auto& rect = m_scene.control(*target).rect;
        const float scale = *target == ControlId::Slika ? 1.0f : kTwipsPerPixel;
        args.x = (event.x - static_cast<float>(rect.x)) * scale;
        args.y = (event.y - static_cast<float>(rect.y)) * scale;
    } else {
        args.x = event.x;
        args.y = event.y;
    }
    if (event.type == EventType::MouseDown) {
        call(handlers->mouseDown, args);
    } else {
        call(handlers->mouseMove, args);
    }
}

void EventRouter::key(const Event& event) {
    const auto target = focus();
    auto& handlers = target ? m_handlers[*target] : m_handlers.window;
    call(handlers.keyDown, event.key, event.shift);
}

void EventRouter::updateCursor(std::optional<ControlId> over) {
    CursorKind kind = over ? m_scene.cursorOf(*over) : CursorKind::Arrow;
    const Cursor* custom = kind == CursorKind::Custom ? m_scene.canvasCursor() : nullptr;
    if (!m_cursorKnown || kind != m_cursorKind || custom != m_cursorCustom) {
        m_window.setCursor(kind, custom);
        m_cursorKnown = true;
        m_cursorKind = kind;
        m_cursorCustom = custom;
    }
}

} // namespace tintaro
