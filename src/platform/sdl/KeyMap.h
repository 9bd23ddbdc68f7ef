// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

namespace tintaro {

// Windows virtual-key codes for SDL keys: the codes the key handlers and the
// keyboard filter test. Letters follow the keyboard layout when it types a
// Latin letter (Q on an AZERTY keyboard's A key is 65) and the key's position
// otherwise (a Cyrillic layout still gives the letters of a US keyboard).
// Shift, Ctrl and Alt on either side give the side-neutral 16, 17 and 18, as
// a window's key events do. 0 for a key without a code.
int virtualKeyFor(int sdlScancode, int sdlKeycode);

// The SDL scancode of a key by its SDL name ("Left Shift", "F5"); 0 when
// unknown. For tests and diagnostics.
int scancodeNamed(std::string_view name);

} // namespace tintaro
