// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <memory>

namespace tintaro {

// Opens the audio device once; effects and music share it. Without a device
// or a soundfont both still exist and simply make no sound.
struct AudioSystem {
    std::unique_ptr<SoundEffects> effects;
    std::unique_ptr<MusicPlayer> music;
};

// The effects and the music read their files through `files`, which outlives them.
AudioSystem openAudio(Files& files);

} // namespace tintaro
