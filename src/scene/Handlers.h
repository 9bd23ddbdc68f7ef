// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/ControlTable.h"

#include <array>
#include <functional>

namespace tintaro {

// Arguments of MouseDown and MouseMove: the button (or for movement the mask
// of buttons held), the shift mask and the position in the receiving
// element's own scale.
struct MouseArgs {
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

// The handlers one element has; an element without a handler for an event ignores it.
struct ElementHandlers {
    std::function<void()> click;
    std::function<void(const MouseArgs&)> mouseDown;
    std::function<void(const MouseArgs&)> mouseMove;
    std::function<void(int key, int shift)> keyDown;
};

struct HandlerTable {
    std::array<ElementHandlers, kControlCount> controls;
    ElementHandlers window;
    std::function<void()> timer; // tmrRepeat

    ElementHandlers& operator[](ControlId id) { return controls[index(id)]; }
};

} // namespace tintaro
