// SPDX-License-Identifier: GPL-3.0-or-later

/* One keyboard and one pointer for end-to-end tests under a wlroots
 * compositor (sway), attached for the whole run: a program started after this
 * helper finds a seat with a keyboard that has a real keymap and a pointer,
 * from its start to its end. (A helper that comes and goes with each key, as
 * wtype does, leaves the seat without a keymap between keys, and SDL 2.26
 * crashes on such a seat.)
 *
 * Reads one command a line from standard input and answers each with "ok",
 * once the compositor has received it, or with "error: ..." on standard
 * output:
 *   key COMBO       super+Return, alt+Tab, Menu, ctrl+x...: the modifiers go
 *                   down in order, the key goes down and up, the modifiers up
 *   move X Y        the pointer to X,Y of the WIDTH x HEIGHT layout
 *   click [BUTTON]  left (the default), right or middle: down, then up
 *
 * usage: virtual_input WIDTH HEIGHT */

#define _GNU_SOURCE
#include "InputProtocols.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

enum { KEY_UP = 0, KEY_DOWN = 1, BUTTON_LEFT = 0x110, BUTTON_RIGHT = 0x111, BUTTON_MIDDLE = 0x112 };

struct input {
    struct wl_display* display;
    struct wl_seat* seat;
    struct wl_proxy* keyboard_manager;
    struct wl_proxy* pointer_manager;
    struct wl_proxy* keyboard;
    struct wl_proxy* pointer;
    struct xkb_keymap* keymap;
    struct xkb_state* state;
    uint32_t width, height;
};

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    struct input* in = data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && in->seat == NULL) {
        in->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, virtual_keyboard_manager_interface.name) == 0) {
        in->keyboard_manager = wl_registry_bind(registry, name, &virtual_keyboard_manager_interface, 1);
    } else if (strcmp(interface, virtual_pointer_manager_interface.name) == 0) {
        in->pointer_manager = wl_registry_bind(registry, name, &virtual_pointer_manager_interface, 1);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

/* The keymap goes to the compositor as a file it maps: the text with its
 * terminating zero. */
static int send_keymap(struct input* in) {
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const struct xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    in->keymap =
        context != NULL ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    if (in->keymap == NULL) {
        return -1;
    }
    in->state = xkb_state_new(in->keymap);
    char* text = xkb_keymap_get_as_string(in->keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
        free(text);
        return -1;
    }
    free(text);
    wl_proxy_marshal_flags(in->keyboard, KEYBOARD_KEYMAP, NULL, 1, 0, XKB_KEYMAP_FORMAT_TEXT_V1, fd,
                           (uint32_t)size);
    close(fd);
    return 0;
}

/* The first key whose unshifted symbol is the one named. */
static xkb_keycode_t keycode_of(struct input* in, const char* name) {
    static const char* const aliases[][2] = {
        {"super", "Super_L"}, {"alt", "Alt_L"}, {"ctrl", "Control_L"}, {"shift", "Shift_L"}};
    for (size_t i = 0; i < sizeof(aliases) / sizeof(aliases[0]); ++i) {
        if (strcmp(name, aliases[i][0]) == 0) {
            name = aliases[i][1];
        }
    }
    xkb_keysym_t wanted = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    if (wanted == XKB_KEY_NoSymbol) {
        wanted = xkb_keysym_from_name(name, XKB_KEYSYM_CASE_INSENSITIVE);
    }
    for (xkb_keycode_t code = xkb_keymap_min_keycode(in->keymap);
         wanted != XKB_KEY_NoSymbol && code <= xkb_keymap_max_keycode(in->keymap); ++code) {
        const xkb_keysym_t* syms = NULL;
        if (xkb_keymap_key_get_syms_by_level(in->keymap, code, 0, 0, &syms) > 0 && syms[0] == wanted) {
            return code;
        }
    }
    return XKB_KEYCODE_INVALID;
}

/* A key event, then the modifier state it leaves: the compositor takes the
 * modifiers of a virtual keyboard from its client, not from its keys. */
static void send_key(struct input* in, xkb_keycode_t code, int down) {
    wl_proxy_marshal_flags(in->keyboard, KEYBOARD_KEY, NULL, 1, 0, now_ms(), code - 8,
                           down ? KEY_DOWN : KEY_UP);
    xkb_state_update_key(in->state, code, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    wl_proxy_marshal_flags(in->keyboard, KEYBOARD_MODIFIERS, NULL, 1, 0,
                           xkb_state_serialize_mods(in->state, XKB_STATE_MODS_DEPRESSED),
                           xkb_state_serialize_mods(in->state, XKB_STATE_MODS_LATCHED),
                           xkb_state_serialize_mods(in->state, XKB_STATE_MODS_LOCKED),
                           xkb_state_serialize_layout(in->state, XKB_STATE_LAYOUT_EFFECTIVE));
}

static const char* key_combo(struct input* in, char* combo) {
    xkb_keycode_t codes[8];
    int count = 0;
    for (char* part = strtok(combo, "+"); part != NULL; part = strtok(NULL, "+")) {
        if (count == 8) {
            return "too many keys";
        }
        codes[count] = keycode_of(in, part);
        if (codes[count] == XKB_KEYCODE_INVALID) {
            return "no such key";
        }
        ++count;
    }
    if (count == 0) {
        return "no key";
    }
    for (int i = 0; i < count; ++i) {
        send_key(in, codes[i], 1);
    }
    for (int i = count - 1; i >= 0; --i) {
        send_key(in, codes[i], 0);
    }
    return NULL;
}

static const char* move(struct input* in, const char* args) {
    unsigned x, y;
    if (sscanf(args, "%u %u", &x, &y) != 2 || x > in->width || y > in->height) {
        return "move X Y, inside the layout";
    }
    wl_proxy_marshal_flags(in->pointer, POINTER_MOTION_ABSOLUTE, NULL, 1, 0, now_ms(), x, y, in->width,
                           in->height);
    wl_proxy_marshal_flags(in->pointer, POINTER_FRAME, NULL, 1, 0);
    return NULL;
}

static const char* click(struct input* in, const char* args) {
    uint32_t button = BUTTON_LEFT;
    if (strcmp(args, "right") == 0) {
        button = BUTTON_RIGHT;
    } else if (strcmp(args, "middle") == 0) {
        button = BUTTON_MIDDLE;
    } else if (args[0] != '\0' && strcmp(args, "left") != 0) {
        return "click [left|right|middle]";
    }
    for (int down = 1; down >= 0; --down) {
        wl_proxy_marshal_flags(in->pointer, POINTER_BUTTON, NULL, 1, 0, now_ms(), button, (uint32_t)down);
        wl_proxy_marshal_flags(in->pointer, POINTER_FRAME, NULL, 1, 0);
    }
    return NULL;
}

static const char* run(struct input* in, char* line) {
    line[strcspn(line, "\n")] = '\0';
    char* args = line + strcspn(line, " ");
    if (*args != '\0') {
        *args++ = '\0';
    }
    if (strcmp(line, "key") == 0) {
        return key_combo(in, args);
    }
    if (strcmp(line, "move") == 0) {
        return move(in, args);
    }
    if (strcmp(line, "click") == 0) {
        return click(in, args);
    }
    return "unknown command";
}

int main(int argc, char** argv) {
    struct input in = {0};
    if (argc != 3 || (in.width = (uint32_t)atoi(argv[1])) == 0 ||
        (in.height = (uint32_t)atoi(argv[2])) == 0) {
        fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    in.display = wl_display_connect(NULL);
    if (in.display == NULL) {
        fprintf(stderr, "virtual_input: no Wayland display\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(in.display), &registry_listener, &in);
    wl_display_roundtrip(in.display);
    if (in.seat == NULL || in.keyboard_manager == NULL || in.pointer_manager == NULL) {
        fprintf(stderr,
                "virtual_input: the compositor offers no seat, virtual keyboard or virtual pointer\n");
        return 1;
    }
    in.keyboard = wl_proxy_marshal_flags(in.keyboard_manager, KEYBOARD_MANAGER_CREATE,
                                         &virtual_keyboard_interface, 1, 0, in.seat, NULL);
    in.pointer = wl_proxy_marshal_flags(in.pointer_manager, POINTER_MANAGER_CREATE,
                                        &virtual_pointer_interface, 1, 0, in.seat, NULL);
    if (send_keymap(&in) != 0) {
        fprintf(stderr, "virtual_input: cannot make a keymap\n");
        return 1;
    }
    if (wl_display_roundtrip(in.display) < 0) {
        fprintf(stderr, "virtual_input: the compositor refused the devices\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    char* line = NULL;
    size_t capacity = 0;
    while (getline(&line, &capacity, stdin) > 0) {
        const char* error = run(&in, line);
        if (wl_display_roundtrip(in.display) < 0) {
            fprintf(stderr, "virtual_input: lost the compositor\n");
            return 1;
        }
        if (error != NULL) {
            printf("error: %s\n", error);
        } else {
            printf("ok\n");
        }
        fflush(stdout);
    }
    free(line);
    wl_display_disconnect(in.display);
    return 0;
}
