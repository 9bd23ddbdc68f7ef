// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/Effects.h"

#include <string_view>

namespace tintaro {

// The request rule: nothing at all reaches the platform while effects are off.
void playEffect(SceneContext& f, std::string_view file);

// The MuteWave switch, and the request rule as the scene's sound hook.
void registerSoundSwitch(SceneContext& f);

} // namespace tintaro
