// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/Music.h"

#include "scene/StepFailed.h"

namespace tintaro {

namespace {

constexpr std::uint8_t kPreparingLevel = 0;
constexpr std::uint8_t kPlayingLevel = 75;

void require(bool ok) {
    if (!ok) {
        throw StepFailed{};
    }
}

std::string tunePath(const SceneContext& f) {
    return f.localPath(assetPath(AssetFolder::Music, kTuneFile));
}

void play(SceneContext& f, MusicObjects& music) {
    require(f.platform.music.play());
    music.MusicSegmentState = true;
}

void clickMusicOn(SceneContext& f, MusicObjects& music) {
    auto& s = f.state;
    auto& player = f.platform.music;
    music.DxRoot = true;
    // Every click prepares a new performance, replacing the previous one.
    require(player.createPerformance());
    music.MusicPerformance = true;
    SetVolume(f, kPreparingLevel);

    if (s.MusicOnFlag == 1) {
        s.MusicPlaying = 1;
        s.MusicOnFlag = 0;
        music.MusicSegment = false;
        require(player.load(tunePath(f)));
        music.MusicSegment = true;
        SetVolume(f, kPlayingLevel);
        play(f, music);
        f.scene.enableTimer(true);
    } else if (s.MusicOnFlag == 0) {
        require(player.stop());
        f.scene.enableTimer(false);
        s.MusicPlaying = 0;
        s.MusicOnFlag = 1;
    }
}

// Restarts the tune from its beginning once the player says it has ended.
void tick(SceneContext& f, MusicObjects& music) {
    if (!music.MusicSegment) {
        return;
    }
    if (f.platform.music.isPlaying()) {
        return;
    }
    play(f, music);
}

} // namespace

void SetVolume(SceneContext& f, std::uint8_t nVolume) {
    trapped([&] { require(f.platform.music.setMasterVolume(int{nVolume} * 42 - 3000)); });
}

void StopMusic(SceneContext& f) {
    trapped([&] {
        require(f.platform.music.stop());
        f.scene.enableTimer(false);
        f.state.MusicPlaying = 0;
    });
}

void closeDownMusic(SceneContext& f, const MusicObjects& music) {
    if (music.MusicPerformance) {
        f.platform.music.closeDown();
    }
}

void registerMusic(SceneContext& f, MusicObjects& music) {
    f.handlers[ControlId::MusicOn].click = [&f, &music] { trapped([&] { clickMusicOn(f, music); }); };
    f.handlers.timer = [&f, &music] { trapped([&] { tick(f, music); }); };
}

} // namespace tintaro
