// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/wayland/WaylandKeys.h"

#include "platform/Platform.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <xkbcommon/xkbcommon.h>

#include <string_view>

namespace tintaro {

namespace {

// A run of kernel key codes whose virtual keys count up from the first.
struct KeyRun {
    std::uint32_t first;
    std::uint32_t last;
    int firstKey;
};

constexpr KeyRun kRuns[] = {
    {KEY_1, KEY_9, '1'},    {KEY_F1, KEY_F10, 112},  {KEY_F11, KEY_F12, 122}, {KEY_F13, KEY_F24, 124},
    {KEY_KP1, KEY_KP3, 97}, {KEY_KP4, KEY_KP6, 100}, {KEY_KP7, KEY_KP9, 103},
};

// The letters' places on a US keyboard, row by row.
struct LetterRow {
    std::uint32_t first;
    std::string_view letters;
};

constexpr LetterRow kLetterRows[] = {{KEY_Q, "QWERTYUIOP"}, {KEY_A, "ASDFGHJKL"}, {KEY_Z, "ZXCVBNM"}};

struct KeyRow {
    std::uint32_t key;
    int virtualKey;
};

constexpr KeyRow kKeys[] = {
    {KEY_0, '0'},          {KEY_KP0, 96},         {KEY_BACKSPACE, 8},   {KEY_TAB, 9},
    {KEY_CLEAR, 12},       {KEY_ENTER, 13},       {KEY_KPENTER, 13},    {KEY_LEFTSHIFT, 16},
    {KEY_RIGHTSHIFT, 16},  {KEY_LEFTCTRL, 17},    {KEY_RIGHTCTRL, 17},  {KEY_LEFTALT, 18},
    {KEY_RIGHTALT, 18},    {KEY_PAUSE, 19},       {KEY_CAPSLOCK, 20},   {KEY_ESC, 27},
    {KEY_SPACE, 32},       {KEY_PAGEUP, 33},      {KEY_PAGEDOWN, 34},   {KEY_END, 35},
    {KEY_HOME, 36},        {KEY_LEFT, 37},        {KEY_UP, 38},         {KEY_RIGHT, 39},
    {KEY_DOWN, 40},        {KEY_SELECT, 41},      {KEY_SYSRQ, 44},      {KEY_INSERT, 45},
    {KEY_DELETE, 46},      {KEY_HELP, 47},        {KEY_LEFTMETA, 91},   {KEY_RIGHTMETA, 92},
    {KEY_COMPOSE, 93},     {KEY_MENU, 93},        {KEY_SLEEP, 95},      {KEY_KPASTERISK, 106},
    {KEY_KPPLUS, 107},     {KEY_KPMINUS, 109},    {KEY_KPDOT, 110},     {KEY_KPSLASH, 111},
    {KEY_NUMLOCK, 144},    {KEY_SCROLLLOCK, 145}, {KEY_SEMICOLON, 186}, {KEY_EQUAL, 187},
    {KEY_COMMA, 188},      {KEY_MINUS, 189},      {KEY_DOT, 190},       {KEY_SLASH, 191},
    {KEY_GRAVE, 192},      {KEY_LEFTBRACE, 219},  {KEY_BACKSLASH, 220}, {KEY_RIGHTBRACE, 221},
    {KEY_APOSTROPHE, 222}, {KEY_102ND, 226},
};

int byPlace(std::uint32_t key) {
    for (const LetterRow& row : kLetterRows) {
        if (key >= row.first && key < row.first + row.letters.size()) {
            return row.letters[key - row.first];
        }
    }
    for (const KeyRun& run : kRuns) {
        if (key >= run.first && key <= run.last) {
            return run.firstKey + static_cast<int>(key - run.first);
        }
    }
    for (const KeyRow& row : kKeys) {
        if (row.key == key) {
            return row.virtualKey;
        }
    }
    return 0;
}

} // namespace

int virtualKeyForEvdev(std::uint32_t evdevKey, std::uint32_t keysym) {
    const std::uint32_t lower = xkb_keysym_to_lower(keysym);
    if (lower >= XKB_KEY_a && lower <= XKB_KEY_z) {
        return 'A' + static_cast<int>(lower - XKB_KEY_a);
    }
    return byPlace(evdevKey);
}

WaylandKeys::WaylandKeys() : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

WaylandKeys::~WaylandKeys() {
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

bool WaylandKeys::setKeymap(int fd, std::uint32_t size) {
    if (m_context == nullptr || size == 0) {
        return false;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text == MAP_FAILED) {
        return false;
    }
    // The map is a string with its terminating zero inside `size`.
    xkb_keymap* keymap = xkb_keymap_new_from_buffer(m_context, static_cast<const char*>(text), size - 1,
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    xkb_state* state = keymap != nullptr ? xkb_state_new(keymap) : nullptr;
    if (state == nullptr) {
        xkb_keymap_unref(keymap);
        return false;
    }
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = state;
    return true;
}

void WaylandKeys::setModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                               std::uint32_t group) {
    if (m_state != nullptr) {
        xkb_state_update_mask(m_state, depressed, latched, locked, 0, 0, group);
    }
}

int WaylandKeys::virtualKey(std::uint32_t evdevKey) const {
    // xkb numbers keys as X does, 8 above the kernel's codes.
    const xkb_keysym_t sym =
        m_state != nullptr ? xkb_state_key_get_one_sym(m_state, evdevKey + 8) : XKB_KEY_NoSymbol;
    return virtualKeyForEvdev(evdevKey, sym);
}

bool WaylandKeys::active(const char* modifier) const {
    return m_state != nullptr &&
           xkb_state_mod_name_is_active(m_state, modifier, XKB_STATE_MODS_EFFECTIVE) > 0;
}

int WaylandKeys::shiftMask() const {
    int mask = 0;
    if (active(XKB_MOD_NAME_SHIFT)) {
        mask |= kShift;
    }
    if (active(XKB_MOD_NAME_CTRL)) {
        mask |= kCtrl;
    }
    if (active(XKB_MOD_NAME_ALT)) {
        mask |= kAlt;
    }
    return mask;
}

bool WaylandKeys::altHeld() const {
    return active(XKB_MOD_NAME_ALT);
}

} // namespace tintaro
