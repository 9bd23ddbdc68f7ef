// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/KeyMap.h"

#include <SDL.h>

#include <string>

namespace tintaro {

namespace {

// A run of keys in scancode order whose codes count up from the first one.
struct KeyRun {
    SDL_Scancode first;
    SDL_Scancode last;
    int firstKey;
};

constexpr KeyRun kRuns[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A'},      {SDL_SCANCODE_1, SDL_SCANCODE_9, '1'},
    {SDL_SCANCODE_F1, SDL_SCANCODE_F12, 112},   {SDL_SCANCODE_F13, SDL_SCANCODE_F24, 124},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, 97},
};

struct KeyRow {
    SDL_Scancode scancode;
    int key;
};

// Every other key with a code; both sides of Shift, Ctrl and Alt give the
// side-neutral code.
constexpr KeyRow kKeys[] = {
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_CLEAR, 12},
    {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_LSHIFT, 16},
    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},
    {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_SELECT, 41},
    {SDL_SCANCODE_EXECUTE, 43},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_HELP, 47},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_MENU, 93},
    {SDL_SCANCODE_SLEEP, 95},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DECIMAL, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

int byPosition(SDL_Scancode sc) {
    for (const KeyRun& run : kRuns) {
        if (sc >= run.first && sc <= run.last) {
            return run.firstKey + (sc - run.first);
        }
    }
    for (const KeyRow& row : kKeys) {
        if (row.scancode == sc) {
            return row.key;
        }
    }
    return 0;
}

} // namespace

int virtualKeyFor(int sdlScancode, int sdlKeycode) {
    if (sdlKeycode >= 'a' && sdlKeycode <= 'z') {
        return 'A' + (sdlKeycode - 'a');
    }
    return byPosition(static_cast<SDL_Scancode>(sdlScancode));
}

int scancodeNamed(std::string_view name) {
    return static_cast<int>(SDL_GetScancodeFromName(std::string(name).c_str()));
}

} // namespace tintaro
