// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

namespace tintaro::test {

// Events as the window delivers them, to send at once or to schedule on the
// fake window.
inline Event pointerEvent(EventType type, float x, float y, int button = 0, int buttons = 0) {
    Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    e.buttons = buttons;
    return e;
}

inline Event mouseMove(float x, float y, int buttons = 0) {
    return pointerEvent(EventType::MouseMove, x, y, 0, buttons);
}

inline Event mouseDown(float x, float y, int button = kLeftButton) {
    return pointerEvent(EventType::MouseDown, x, y, button);
}

inline Event mouseUp(float x, float y, int button = kLeftButton) {
    return pointerEvent(EventType::MouseUp, x, y, button);
}

inline Event keyEvent(EventType type, int vk, int shift = 0, bool alt = false) {
    Event e;
    e.type = type;
    e.key = vk;
    e.shift = shift;
    e.altHeld = alt;
    return e;
}

inline Event keyDown(int vk, int shift = 0, bool alt = false) {
    return keyEvent(EventType::KeyDown, vk, shift, alt);
}

inline Event keyUp(int vk, int shift = 0, bool alt = false) {
    return keyEvent(EventType::KeyUp, vk, shift, alt);
}

inline Event quitEvent() {
    Event e;
    e.type = EventType::Quit;
    return e;
}

} // namespace tintaro::test
