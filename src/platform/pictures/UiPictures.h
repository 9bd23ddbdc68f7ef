// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Our own interface pictures (the window icon, two pointer shapes and the
// companion's splash), rendered by tools/artgen into assets/UI and compiled
// into the programs at build time: no file beside a program can replace,
// damage or hang them.

#include <cstdint>
#include <span>

namespace tintaro {

std::span<const std::uint8_t> windowIconPicture();    // ICON32.png, 32 x 32
std::span<const std::uint8_t> paletteCursorPicture(); // PALETTE.png, 64 x 64
std::span<const std::uint8_t> dropCursorPicture();    // DROP.png, 32 x 32
std::span<const std::uint8_t> splashPicture();        // SPLASH.png

} // namespace tintaro
