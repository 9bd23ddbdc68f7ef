// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace tintaro {

// Windows virtual-key codes for the keys of a Wayland keyboard, as
// platform/sdl/KeyMap.h gives them for SDL's: letters follow the layout
// when it types a Latin letter and the key's place on a US keyboard
// otherwise; both sides of Shift, Ctrl and Alt give 16, 17 and 18. 0 for a
// key without a code. `evdevKey` is the kernel's key code, `keysym` what the
// layout makes of it.
int virtualKeyForEvdev(std::uint32_t evdevKey, std::uint32_t keysym);

// The keyboard's layout and modifiers as the compositor describes them.
class WaylandKeys {
  public:
    WaylandKeys();
    ~WaylandKeys();
    WaylandKeys(const WaylandKeys&) = delete;
    WaylandKeys& operator=(const WaylandKeys&) = delete;

    // The keymap the compositor sent (a file of `size` bytes); the
    // descriptor is the caller's to close.
    bool setKeymap(int fd, std::uint32_t size);
    void setModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                      std::uint32_t group);
    int virtualKey(std::uint32_t evdevKey) const;
    // ShiftMask bits (platform/Platform.h).
    int shiftMask() const;
    bool altHeld() const;

  private:
    bool active(const char* modifier) const;

    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
};

} // namespace tintaro
