// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

#include <string_view>

namespace tintaro {

// Every sound effect the program makes outside the palette, each file of
// SOUND once; the palette's own sounds stand in its colour table.
namespace SoundEffectTable {
inline constexpr std::string_view Fill = "SVPLAVA.WAV";
inline constexpr std::string_view Wipe = "LJUBICASTA.WAV";
} // namespace SoundEffectTable

// Asks for an effect by its file in SOUND; the audio decides whether it plays.
inline void requestEffect(SceneContext& f, std::string_view file) {
    if (f.hooks.soundEffect) {
        f.hooks.soundEffect(file);
    }
}

} // namespace tintaro
