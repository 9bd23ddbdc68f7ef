// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

#include <cstdint>

namespace tintaro {

// The music player's objects as the window holds them: which exist yet.
struct MusicObjects {
    bool DxRoot = false;
    bool MusicPerformance = false;
    bool MusicSegment = false;
    bool MusicSegmentState = false;
};

// The MusicOn click and tmrRepeat's tick, working on `music`.
void registerMusic(SceneContext& f, MusicObjects& music);

// Master volume nVolume * 42 - 3000 hundredths of a decibel; absorbs its own failure.
void SetVolume(SceneContext& f, std::uint8_t nVolume);
void StopMusic(SceneContext& f);
// Closes the performance down when the window unloads.
void closeDownMusic(SceneContext& f, const MusicObjects& music);

} // namespace tintaro
