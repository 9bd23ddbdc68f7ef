// SPDX-License-Identifier: GPL-3.0-or-later

#include "InputProtocols.h"

#include <stddef.h>

/* Each request: its name, its argument types (u uint, i int, f fixed,
 * h file descriptor, o object, n new object, ? may be null) and, per
 * argument, the interface of an object argument. */

static const struct wl_interface* create_keyboard_types[] = {&wl_seat_interface, &virtual_keyboard_interface};
static const struct wl_interface* create_pointer_types[] = {&wl_seat_interface, &virtual_pointer_interface};
static const struct wl_interface* no_types[] = {NULL, NULL, NULL, NULL, NULL};

static const struct wl_message keyboard_manager_requests[] = {
    {"create_virtual_keyboard", "on", create_keyboard_types},
};

static const struct wl_message keyboard_requests[] = {
    {"keymap", "uhu", no_types},
    {"key", "uuu", no_types},
    {"modifiers", "uuuu", no_types},
    {"destroy", "", no_types},
};

static const struct wl_message pointer_manager_requests[] = {
    {"create_virtual_pointer", "?on", create_pointer_types},
    {"destroy", "", no_types},
};

static const struct wl_message pointer_requests[] = {
    // clang-format off
    {"motion", "uff", no_types},
    {"motion_absolute", "uuuuu", no_types},
    {"button", "uuu", no_types},
    {"axis", "uuf", no_types},
    {"frame", "", no_types},
    {"axis_source", "u", no_types},
    {"axis_stop", "uu", no_types},
    {"axis_discrete", "uufi", no_types},
    {"destroy", "", no_types},
    // clang-format on
};

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

#define INTERFACE(interface_name, requests)                                                                  \
    { .name = interface_name, .version = 1, .method_count = COUNT(requests), .methods = requests }

const struct wl_interface virtual_keyboard_manager_interface =
    INTERFACE("zwp_virtual_keyboard_manager_v1", keyboard_manager_requests);
const struct wl_interface virtual_keyboard_interface =
    INTERFACE("zwp_virtual_keyboard_v1", keyboard_requests);
const struct wl_interface virtual_pointer_manager_interface =
    INTERFACE("zwlr_virtual_pointer_manager_v1", pointer_manager_requests);
const struct wl_interface virtual_pointer_interface = INTERFACE("zwlr_virtual_pointer_v1", pointer_requests);
