// SPDX-License-Identifier: GPL-3.0-or-later

/* The two wlroots input protocols the test helper speaks: a virtual keyboard
 * and a virtual pointer. Debian ships no description of them to generate
 * code from, so their requests are described here by hand, as libwayland
 * wants them; only requests are sent, so no events are described. */
#pragma once

#include <wayland-client.h>

extern const struct wl_interface virtual_keyboard_manager_interface;
extern const struct wl_interface virtual_keyboard_interface;
extern const struct wl_interface virtual_pointer_manager_interface;
extern const struct wl_interface virtual_pointer_interface;

/* Request numbers, in the order the protocols declare them. */
enum {
    KEYBOARD_MANAGER_CREATE = 0,
    KEYBOARD_KEYMAP = 0,
    KEYBOARD_KEY = 1,
    KEYBOARD_MODIFIERS = 2,
    POINTER_MANAGER_CREATE = 0,
    POINTER_MOTION_ABSOLUTE = 1,
    POINTER_BUTTON = 2,
    POINTER_FRAME = 4,
};
