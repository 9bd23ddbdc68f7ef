// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Harness.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(SoundEffects, SwitchTurnsEveryRequestOffAndOnAgain) {
    Harness h;
    h.clickOn(C::MuteWave);
    EXPECT_EQ(h.s.SoundOn, 0);
    EXPECT_EQ(h.s.SoundOnFlag, 0);
    h.clickOn(C::PaletaZelena);
    h.canvasClick(3, 3);
    h.canvasClick(3, 3, kRightButton);
    h.clickOn(C::Papir);
    EXPECT_TRUE(h.fake.sound.played.empty()) << "no request reaches the platform";
    h.clickOn(C::MuteWave);
    EXPECT_EQ(h.s.SoundOn, 1);
    EXPECT_EQ(h.s.SoundOnFlag, 1);
    h.clickOn(C::PaletaZelena);
    EXPECT_EQ(h.fake.sound.played, std::vector<std::string>{h.appDir + "/SOUND/ZELENA.WAV"});
}

TEST(SoundEffects, SwitchWithAnUnsetFlagDoesNothing) {
    Harness h;
    h.s.SoundOnFlag = 5;
    h.clickOn(C::MuteWave);
    EXPECT_EQ(h.s.SoundOn, 1);
    EXPECT_EQ(h.s.SoundOnFlag, 5);
}

} // namespace
} // namespace tintaro::test
