#pragma once

#include "scene/FormaMain.h"

#include <string_view>

namespace tintaro {

// Every sound effect the program makes, each file of SOUND once.
namespace SoundEffectTable {
inline constexpr std::string_view Fill = "SVPLAVA.WAV";
inline constexpr std::string_view Wipe = "LJUBICASTA.WAV";
} // namespace SoundEffectTable

// The request rule: nothing at all reaches the platform while effects are off.
void requestEffect(FormaMain& f, std::string_view file);

void registerSoundSwitch(FormaMain& f);

} // namespace tintaro
