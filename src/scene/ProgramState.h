// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tintaro {

// The shared variables through which the parts of the program meet. Every
// field starts as 0 or empty; the start-up sequence gives some of them their
// working values. Flags hold 1 or 0 and are tested for the exact value a
// handler needs, so a flag the start-up never set makes that handler do nothing.
struct ProgramState {
    // Program-wide.
    std::string AppPath;               // the application directory as the system gave it
    std::int16_t GalleryActive = 0;    // 0 colouring screen, 1 gallery screen
    std::int16_t CurrentPictureNo = 0; // 1..25, the drawing on the canvas
    std::int32_t CurrentColor = 0;     // colour value of the fill bucket and the pencil
    std::int16_t SoundOnFlag = 0;      // mirrors SoundOn; chooses the speaker's faces
    // Reads backwards: 1 while the music is OFF (the next MusicOn click
    // starts it), 0 while it plays. It chooses MusicOn's faces.
    std::int16_t MusicOnFlag = 0;
    std::int32_t LastCanvasX = 0; // the canvas pixel of the last press or pencil point
    std::int32_t LastCanvasY = 0;

    // Held by the window.
    // The application directory with a trailing separator; kept as AppPath alone.
    std::string AppDir() const { return AppPath.ends_with('/') ? AppPath : AppPath + "/"; }
    std::int32_t KeyboardHookHandle = 0; // the keyboard guard's handle, 0 without one
    // True is -1, not 1: -1 while the bucket (kapljica) is the tool, 0 for
    // the pencil (olovka). The canvas tests it against 0 only.
    std::int16_t FillToolActive = 0;
    std::array<std::int16_t, 12> PaletteSelected{}; // 1 for the colour chosen last, in palette order
    std::int16_t SoundOn = 0;                       // 1: effects play; the request rule reads it
    std::int16_t MusicPlaying = 0;                  // 1 while the tune plays
    std::int16_t HighlightedThumbnail = 0;          // 1..25, the thumbnail shown highlighted last
};

} // namespace tintaro
