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

std::string tunePath(const FormaMain& f) {
    return joinPath(f.state.AppDir, "\\MUSIC\\001.MID");
}

void play(FormaMain& f) {
    require(f.platform.music.play());
    f.music.MusicSegmentState = true;
}

void clickMusicOn(FormaMain& f) {
    auto& s = f.state;
    auto& player = f.platform.music;
    f.music.DxRoot = true;
    // Every click prepares a new performance, replacing the previous one.
    require(player.createPerformance());
    f.music.MusicPerformance = true;
    SetVolume(f, kPreparingLevel);

    if (s.MusicOnFlag == 1) {
        s.MusicPlaying = 1;
        s.MusicOnFlag = 0;
        f.music.MusicSegment = false;
        require(player.load(tunePath(f)));
        f.music.MusicSegment = true;
        SetVolume(f, kPlayingLevel);
        play(f);
        f.enableTimer(true);
    } else if (s.MusicOnFlag == 0) {
        require(player.stop());
        f.enableTimer(false);
        s.MusicPlaying = 0;
        s.MusicOnFlag = 1;
    }
}

// Restarts the tune from its beginning once the player says it has ended.
void tick(FormaMain& f) {
    if (!f.music.MusicSegment) {
        return;
    }
    if (f.platform.music.isPlaying()) {
        return;
    }
    play(f);
}

} // namespace

void SetVolume(FormaMain& f, std::uint8_t nVolume) {
    trapped([&] { require(f.platform.music.setMasterVolume(int{nVolume} * 42 - 3000)); });
}

void StopMusic(FormaMain& f) {
    trapped([&] {
        require(f.platform.music.stop());
        f.enableTimer(false);
        f.state.MusicPlaying = 0;
    });
}

void closeDownMusic(FormaMain& f) {
    if (f.music.MusicPerformance) {
        f.platform.music.closeDown();
    }
}

void registerMusic(FormaMain& f) {
    f.handlers[ControlId::MusicOn].click = [&f] { trapped([&] { clickMusicOn(f); }); };
    f.handlers.timer = [&f] { trapped([&] { tick(f); }); };
}

} // namespace tintaro
