// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/Music.h"
#include "shell/EventLoop.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(Music, SwitchesOnAndOffWithFreshPerformances) {
    Harness h;
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 0);
    EXPECT_EQ(h.s.MusicPlaying, 1);
    EXPECT_TRUE(h.f.scene.timerEnabled);
    const std::vector<std::string> on{"create", "volume -3000", "load " + h.appDir + "/MUSIC/001.MID",
                                      "volume 150", "play"};
    EXPECT_EQ(h.fake.music.log, on);
    h.fake.music.log.clear();
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 1);
    EXPECT_EQ(h.s.MusicPlaying, 0);
    EXPECT_FALSE(h.f.scene.timerEnabled);
    EXPECT_EQ(h.fake.music.log, (std::vector<std::string>{"create", "volume -3000", "stop"}));
    h.fake.music.log.clear();
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.fake.music.log, on) << "the tune is loaded again and starts from the beginning";
}

TEST(Music, TimerRestartsTheTuneWithinOneTickOfItsEnd) {
    Harness h;
    h.clickOn(C::MusicOn);
    h.fake.music.log.clear();
    h.fake.music.playing = false; // the tune ends
    const double ended = h.fake.clock.now;
    deliverEvents(h.f, ended + 0.6);
    ASSERT_FALSE(h.fake.music.log.empty());
    EXPECT_EQ(h.fake.music.log.front(), "play");
    EXPECT_LE(h.fake.clock.now - ended, 0.6);
    EXPECT_TRUE(h.fake.music.playing);
}

TEST(Music, TimerDoesNothingWhilePlaying) {
    Harness h;
    h.clickOn(C::MusicOn);
    h.fake.music.log.clear();
    deliverEvents(h.f, h.fake.clock.now + 2.0);
    EXPECT_EQ(std::count(h.fake.music.log.begin(), h.fake.music.log.end(), "play"), 0);
}

TEST(Music, VolumeLevels) {
    Harness h;
    for (int level : {0, 75, 255}) {
        h.fake.music.volumes.clear();
        SetVolume(h.f, static_cast<std::uint8_t>(level));
        EXPECT_EQ(h.fake.music.volumes, std::vector<int>{level * 42 - 3000});
    }
}

TEST(Music, MissingTuneSwitchesTheFlagsWithoutSound) {
    Harness h;
    h.fake.files.remove(h.asset("MUSIC/001.MID"));
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 0);
    EXPECT_EQ(h.s.MusicPlaying, 1);
    EXPECT_FALSE(h.f.scene.timerEnabled);
    EXPECT_FALSE(h.fake.music.playing);
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 1);
    EXPECT_EQ(h.s.MusicPlaying, 0);
}

TEST(Music, WithoutAPlayerTheFlagsNeverChange) {
    Harness h;
    h.fake.music.available = false;
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 1);
    EXPECT_EQ(h.s.MusicPlaying, 0);
}

TEST(Music, StopMusicLeavesTheSwitchAndStopsTheTimer) {
    Harness h;
    h.clickOn(C::MusicOn);
    StopMusic(h.f);
    EXPECT_EQ(h.s.MusicPlaying, 0);
    EXPECT_EQ(h.s.MusicOnFlag, 0);
    EXPECT_FALSE(h.f.scene.timerEnabled);
}

// The flags at their start value 0, as before the start-up sets them.
TEST(Music, StartWithFlagsUnsetNeedsTwoClicks) {
    Harness h;
    h.s.MusicOnFlag = 0;
    h.clickOn(C::MusicOn);
    EXPECT_EQ(h.s.MusicOnFlag, 1);
    EXPECT_FALSE(h.fake.music.playing);
    h.clickOn(C::MusicOn);
    EXPECT_TRUE(h.fake.music.playing);
}

} // namespace
} // namespace tintaro::test
