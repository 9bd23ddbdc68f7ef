// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/SoundEffects.h"

#include <string>

namespace tintaro {

void playEffect(SceneContext& f, std::string_view file) {
    if (f.state.SoundOn == 0) {
        return;
    }
    f.platform.sound.play(f.localPath(assetPath(AssetFolder::Sound, file)));
}

namespace {

void clickMuteWave(SceneContext& f) {
    auto& s = f.state;
    if (s.SoundOnFlag == 1) {
        s.SoundOn = 0;
        s.SoundOnFlag = 0;
    } else if (s.SoundOnFlag == 0) {
        s.SoundOn = 1;
        s.SoundOnFlag = 1;
    }
}

} // namespace

void registerSoundSwitch(SceneContext& f) {
    f.handlers[ControlId::MuteWave].click = [&f] { clickMuteWave(f); };
    f.hooks.soundEffect = [&f](std::string_view file) { playEffect(f, file); };
}

} // namespace tintaro
