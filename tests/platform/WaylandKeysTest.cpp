// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual-key codes of a Wayland keyboard's keys, and their agreement
// with the codes SDL's keys are given, so that the key handlers see the same
// codes whichever window the program runs in.

#include "platform/wayland/WaylandKeys.h"
#include "platform/sdl/KeyMap.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>

using namespace tintaro;

namespace {

TEST(WaylandKeys, GivesWindowsVirtualKeyCodes) {
    const struct {
        const char* what;
        std::uint32_t key;
        std::uint32_t keysym;
        int vk;
    } cases[] = {
        // Letters follow the layout when it types a Latin letter...
        {"US A", KEY_A, XKB_KEY_a, 'A'},
        {"US Z", KEY_Z, XKB_KEY_z, 'Z'},
        {"AZERTY A on the Q key", KEY_Q, XKB_KEY_a, 'A'},
        {"AZERTY Q on the A key", KEY_A, XKB_KEY_q, 'Q'},
        {"AZERTY M on the ; key", KEY_SEMICOLON, XKB_KEY_m, 'M'},
        {"QWERTZ Z on the Y key", KEY_Y, XKB_KEY_z, 'Z'},
        {"Dvorak S on the ; key", KEY_SEMICOLON, XKB_KEY_s, 'S'},
        {"shifted capital", KEY_Q, XKB_KEY_A, 'A'},
        // ...and the key's place on a US keyboard otherwise.
        {"Cyrillic ef", KEY_A, XKB_KEY_Cyrillic_ef, 'A'},
        {"Cyrillic che", KEY_X, XKB_KEY_Cyrillic_che, 'X'},
        {"capital Cyrillic ze", KEY_P, XKB_KEY_Cyrillic_ZE, 'P'},
        {"Greek mu", KEY_M, XKB_KEY_Greek_mu, 'M'},
        {"no keysym", KEY_L, XKB_KEY_NoSymbol, 'L'},
        {"AZERTY e-acute on the 2 key", KEY_2, XKB_KEY_eacute, '2'},
        {"AZERTY ampersand on the 1 key", KEY_1, XKB_KEY_ampersand, '1'},
        // Both sides of the modifiers, whatever the layout calls them.
        {"left Shift", KEY_LEFTSHIFT, XKB_KEY_Shift_L, 16},
        {"right Shift", KEY_RIGHTSHIFT, XKB_KEY_Shift_R, 16},
        {"left Ctrl", KEY_LEFTCTRL, XKB_KEY_Control_L, 17},
        {"right Ctrl", KEY_RIGHTCTRL, XKB_KEY_Control_R, 17},
        {"left Alt", KEY_LEFTALT, XKB_KEY_Alt_L, 18},
        {"right Alt", KEY_RIGHTALT, XKB_KEY_Alt_R, 18},
        {"AltGr", KEY_RIGHTALT, XKB_KEY_ISO_Level3_Shift, 18},
        {"left Super", KEY_LEFTMETA, XKB_KEY_Super_L, 91},
        {"right Super", KEY_RIGHTMETA, XKB_KEY_Super_R, 92},
        {"Menu", KEY_COMPOSE, XKB_KEY_Menu, 93},
        {"Escape", KEY_ESC, XKB_KEY_Escape, 27},
        {"Return", KEY_ENTER, XKB_KEY_Return, 13},
        {"keypad Enter", KEY_KPENTER, XKB_KEY_KP_Enter, 13},
        {"Tab", KEY_TAB, XKB_KEY_Tab, 9},
        {"the key left of Z on ISO keyboards", KEY_102ND, XKB_KEY_less, 226},
        {"Space", KEY_SPACE, XKB_KEY_space, 32},
        {"Backspace", KEY_BACKSPACE, XKB_KEY_BackSpace, 8},
        {"Delete", KEY_DELETE, XKB_KEY_Delete, 46},
        {"Left", KEY_LEFT, XKB_KEY_Left, 37},
        {"Down", KEY_DOWN, XKB_KEY_Down, 40},
        {"F1", KEY_F1, XKB_KEY_F1, 112},
        {"F10", KEY_F10, XKB_KEY_F10, 121},
        {"F11", KEY_F11, XKB_KEY_F11, 122},
        {"F12", KEY_F12, XKB_KEY_F12, 123},
        {"F13", KEY_F13, XKB_KEY_F13, 124},
        {"F24", KEY_F24, XKB_KEY_F24, 135},
        {"0", KEY_0, XKB_KEY_0, '0'},
        {"1", KEY_1, XKB_KEY_1, '1'},
        {"5", KEY_5, XKB_KEY_5, '5'},
        {"9", KEY_9, XKB_KEY_9, '9'},
        // The keypad's digits, with Num Lock off as on.
        {"keypad 0", KEY_KP0, XKB_KEY_KP_0, 96},
        {"keypad 1", KEY_KP1, XKB_KEY_KP_End, 97},
        {"keypad 2", KEY_KP2, XKB_KEY_KP_2, 98},
        {"keypad 3", KEY_KP3, XKB_KEY_KP_Next, 99},
        {"keypad 4", KEY_KP4, XKB_KEY_KP_4, 100},
        {"keypad 5", KEY_KP5, XKB_KEY_KP_Begin, 101},
        {"keypad 6", KEY_KP6, XKB_KEY_KP_6, 102},
        {"keypad 7", KEY_KP7, XKB_KEY_KP_Home, 103},
        {"keypad 8", KEY_KP8, XKB_KEY_KP_8, 104},
        {"keypad 9", KEY_KP9, XKB_KEY_KP_Prior, 105},
        {"keypad -", KEY_KPMINUS, XKB_KEY_KP_Subtract, 109},
        {"keypad +", KEY_KPPLUS, XKB_KEY_KP_Add, 107},
        // Keys without a code.
        {"reserved", KEY_RESERVED, XKB_KEY_NoSymbol, 0},
        {"brightness", KEY_BRIGHTNESSUP, XKB_KEY_XF86MonBrightnessUp, 0},
        {"unknown with a digit keysym", KEY_PROG1, XKB_KEY_1, 0},
        {"past the last key", KEY_MAX + 1, XKB_KEY_NoSymbol, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(virtualKeyForEvdev(c.key, c.keysym), c.vk) << c.what;
    }
}

// The same key through SDL's names: a code added to one table and not the
// other shows here.
TEST(WaylandKeys, AgreeWithTheSdlWindowsCodes) {
    const struct {
        std::uint32_t key;
        const char* sdlName;
    } cases[] = {
        {KEY_A, "A"},
        {KEY_B, "B"},
        {KEY_C, "C"},
        {KEY_D, "D"},
        {KEY_E, "E"},
        {KEY_F, "F"},
        {KEY_G, "G"},
        {KEY_H, "H"},
        {KEY_I, "I"},
        {KEY_J, "J"},
        {KEY_K, "K"},
        {KEY_L, "L"},
        {KEY_M, "M"},
        {KEY_N, "N"},
        {KEY_O, "O"},
        {KEY_P, "P"},
        {KEY_Q, "Q"},
        {KEY_R, "R"},
        {KEY_S, "S"},
        {KEY_T, "T"},
        {KEY_U, "U"},
        {KEY_V, "V"},
        {KEY_W, "W"},
        {KEY_X, "X"},
        {KEY_Y, "Y"},
        {KEY_Z, "Z"},
        {KEY_0, "0"},
        {KEY_1, "1"},
        {KEY_2, "2"},
        {KEY_3, "3"},
        {KEY_4, "4"},
        {KEY_5, "5"},
        {KEY_6, "6"},
        {KEY_7, "7"},
        {KEY_8, "8"},
        {KEY_9, "9"},
        {KEY_F1, "F1"},
        {KEY_F2, "F2"},
        {KEY_F3, "F3"},
        {KEY_F4, "F4"},
        {KEY_F5, "F5"},
        {KEY_F6, "F6"},
        {KEY_F7, "F7"},
        {KEY_F8, "F8"},
        {KEY_F9, "F9"},
        {KEY_F10, "F10"},
        {KEY_F11, "F11"},
        {KEY_F12, "F12"},
        {KEY_F13, "F13"},
        {KEY_F14, "F14"},
        {KEY_F15, "F15"},
        {KEY_F16, "F16"},
        {KEY_F17, "F17"},
        {KEY_F18, "F18"},
        {KEY_F19, "F19"},
        {KEY_F20, "F20"},
        {KEY_F21, "F21"},
        {KEY_F22, "F22"},
        {KEY_F23, "F23"},
        {KEY_F24, "F24"},
        {KEY_KP0, "Keypad 0"},
        {KEY_KP1, "Keypad 1"},
        {KEY_KP2, "Keypad 2"},
        {KEY_KP3, "Keypad 3"},
        {KEY_KP4, "Keypad 4"},
        {KEY_KP5, "Keypad 5"},
        {KEY_KP6, "Keypad 6"},
        {KEY_KP7, "Keypad 7"},
        {KEY_KP8, "Keypad 8"},
        {KEY_KP9, "Keypad 9"},
        {KEY_KPASTERISK, "Keypad *"},
        {KEY_KPPLUS, "Keypad +"},
        {KEY_KPMINUS, "Keypad -"},
        {KEY_KPDOT, "Keypad ."},
        {KEY_KPSLASH, "Keypad /"},
        {KEY_KPENTER, "Keypad Enter"},
        {KEY_NUMLOCK, "Numlock"},
        {KEY_LEFTSHIFT, "Left Shift"},
        {KEY_RIGHTSHIFT, "Right Shift"},
        {KEY_LEFTCTRL, "Left Ctrl"},
        {KEY_RIGHTCTRL, "Right Ctrl"},
        {KEY_LEFTALT, "Left Alt"},
        {KEY_RIGHTALT, "Right Alt"},
        {KEY_LEFTMETA, "Left GUI"},
        {KEY_RIGHTMETA, "Right GUI"},
        {KEY_COMPOSE, "Application"},
        {KEY_MENU, "Menu"},
        {KEY_ESC, "Escape"},
        {KEY_ENTER, "Return"},
        {KEY_TAB, "Tab"},
        {KEY_SPACE, "Space"},
        {KEY_BACKSPACE, "Backspace"},
        {KEY_CAPSLOCK, "CapsLock"},
        {KEY_SCROLLLOCK, "ScrollLock"},
        {KEY_PAUSE, "Pause"},
        {KEY_SYSRQ, "PrintScreen"},
        {KEY_INSERT, "Insert"},
        {KEY_DELETE, "Delete"},
        {KEY_HOME, "Home"},
        {KEY_END, "End"},
        {KEY_PAGEUP, "PageUp"},
        {KEY_PAGEDOWN, "PageDown"},
        {KEY_LEFT, "Left"},
        {KEY_RIGHT, "Right"},
        {KEY_UP, "Up"},
        {KEY_DOWN, "Down"},
        {KEY_SELECT, "Select"},
        {KEY_HELP, "Help"},
        {KEY_SLEEP, "Sleep"},
        {KEY_CLEAR, "Clear"},
        {KEY_SEMICOLON, ";"},
        {KEY_EQUAL, "="},
        {KEY_COMMA, ","},
        {KEY_MINUS, "-"},
        {KEY_DOT, "."},
        {KEY_SLASH, "/"},
        {KEY_GRAVE, "`"},
        {KEY_LEFTBRACE, "["},
        {KEY_BACKSLASH, "\\"},
        {KEY_RIGHTBRACE, "]"},
        {KEY_APOSTROPHE, "'"},
    };
    for (const auto& c : cases) {
        const int scancode = scancodeNamed(c.sdlName);
        ASSERT_NE(scancode, 0) << "SDL knows no key named \"" << c.sdlName << "\"";
        const int sdl = virtualKeyFor(scancode, 0);
        EXPECT_NE(sdl, 0) << c.sdlName;
        EXPECT_EQ(virtualKeyForEvdev(c.key, XKB_KEY_NoSymbol), sdl) << c.sdlName;
    }
}

} // namespace
