#pragma once

#include "scene/FormaMain.h"

#include <cstdint>

namespace tintaro {

void registerMusic(FormaMain& f);

// Master volume nVolume * 42 - 3000 hundredths of a decibel; absorbs its own failure.
void SetVolume(FormaMain& f, std::uint8_t nVolume);
void StopMusic(FormaMain& f);
// Closes the performance down when the window unloads.
void closeDownMusic(FormaMain& f);

} // namespace tintaro
