// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

struct SDL_Window;

namespace tintaro {

// Asks a Wayland compositor to activate the window (xdg-activation) with a
// token that another program was given for it, such as the launcher's
// XDG_ACTIVATION_TOKEN handed on by a second start: desktops with focus
// stealing prevention (GNOME, KDE) bring a window forward only with one.
// False when there is no token, the window is not a Wayland window or the
// compositor does not offer the protocol.
bool activateWithToken(SDL_Window* window, const std::string& token);

} // namespace tintaro
