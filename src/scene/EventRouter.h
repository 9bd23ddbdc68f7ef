// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "scene/Handlers.h"
#include "scene/Scene.h"

#include <optional>

namespace tintaro {

// Turns the platform's events into the scene's: hit test, capture while a
// button is held, clicks on release over the pressed control, focus and key
// routing, and the pointer shape. Handlers never see raw events.
//
// A press captures the pointer for whatever received it until every button
// is up: a control, or the window itself when the press fell on the
// background or on a disabled control. So a drag that starts on the frame
// never turns into a canvas stroke on the way in.
class EventRouter {
  public:
    EventRouter(Scene& scene, HandlerTable& handlers, Window& window)
        : m_scene(scene), m_handlers(handlers), m_window(window) {}

    void route(const Event& event);

    // The control holding the keyboard focus; without one, keys go to the window.
    std::optional<ControlId> focus() const { return m_scene.focus(); }
    // The first time the window is shown, the focus goes to the visible,
    // enabled control with the lowest tab index; later showings leave it be.
    void windowShown();

  private:
    void pointer(const Event& event);
    void key(const Event& event);
    void deliver(std::optional<ControlId> target, const Event& event);
    void updateCursor(std::optional<ControlId> over);

    Scene& m_scene;
    HandlerTable& m_handlers;
    Window& m_window;
    std::optional<ControlId> m_capture; // the control pressed while buttons are held
    bool m_windowCaptured = false;      // the window was pressed while buttons are held
    int m_held = 0;                     // buttons held
    bool m_shownBefore = false;
    bool m_cursorKnown = false;
    CursorKind m_cursorKind = CursorKind::Arrow;
    const Cursor* m_cursorCustom = nullptr;
};

} // namespace tintaro
