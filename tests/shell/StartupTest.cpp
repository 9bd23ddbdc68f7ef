#include "shell/Startup.h"
#include "shell/AssetManifest.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(Startup, GivesTheStateItsStartValues) {
    Harness h;
    const auto& s = h.s;
    EXPECT_EQ(s.GalleryActive, 0);
    EXPECT_EQ(s.CurrentPictureNo, 1);
    EXPECT_EQ(s.CurrentColor, 255);
    EXPECT_EQ(s.FillToolActive, -1);
    EXPECT_EQ(s.SoundOn, 1);
    EXPECT_EQ(s.SoundOnFlag, 1);
    EXPECT_EQ(s.MusicOnFlag, 1);
    EXPECT_EQ(s.MusicPlaying, 0);
    EXPECT_EQ(s.HighlightedThumbnail, 0);
    EXPECT_TRUE(
        std::all_of(s.PaletteSelected.begin(), s.PaletteSelected.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(s.KeyboardHookHandle, 7);
    // The directory is kept as it is; only the asset names are upper case.
    EXPECT_EQ(s.AppPath, h.appDir);
    EXPECT_EQ(s.AppDir, h.appDir + "/");
    EXPECT_EQ(h.fake.files.currentDirectory, h.appDir);
    EXPECT_FALSE(h.f.scene.timerEnabled);
}

TEST(Startup, RunsItsStepsInOrderWithTwoThreeSecondPauses) {
    Harness h(false);
    const double begin = h.fake.clock.now;
    h.start();
    EXPECT_EQ(h.fake.guard.installs, 1);
    EXPECT_EQ(h.fake.processes.started, std::vector<std::string>{h.appDir + "\\COLORS.EXE"});
    const std::vector<std::string> expected{"create", "hide", "show", "fullscreen", "show"};
    EXPECT_EQ(h.fake.window.log, expected);
    EXPECT_GE(h.fake.clock.now - begin, 6.0);
    EXPECT_LT(h.fake.clock.now - begin, 6.1);
    EXPECT_EQ(h.fake.files.lengthQueries.size(), AssetManifest.size());
    EXPECT_TRUE(h.fake.window.visible);
    EXPECT_TRUE(h.f.displaySwitched);
}

TEST(Startup, WithoutTheCompanionShowsTheWindowAtOnceWithStateUnset) {
    Harness h(false);
    h.fake.processes.companionPresent = false;
    const double begin = h.fake.clock.now;
    h.start();
    EXPECT_EQ(h.fake.clock.now, begin) << "no pauses";
    EXPECT_TRUE(h.fake.files.lengthQueries.empty()) << "no asset check";
    EXPECT_FALSE(h.fake.window.fullScreen);
    EXPECT_TRUE(h.fake.window.visible);
    EXPECT_EQ(h.s.SoundOn, 0);
    EXPECT_EQ(h.s.MusicOnFlag, 0);
    EXPECT_EQ(h.s.CurrentColor, 0);
    EXPECT_EQ(h.s.FillToolActive, -1) << "set before the companion";
}

TEST(Startup, ClickDuringTheSecondPauseIsHandledBeforeTheSequenceReturns) {
    Harness h(false);
    const auto& music = h.f.scene.control(C::MusicOn).rect;
    Event e;
    e.x = static_cast<float>(music.x + 10);
    e.y = static_cast<float>(music.y + 10);
    e.button = kLeftButton;
    e.type = EventType::MouseDown;
    h.fake.window.scheduled.push_back({h.fake.clock.now + 4.0, e});
    e.type = EventType::MouseUp;
    h.fake.window.scheduled.push_back({h.fake.clock.now + 4.1, e});
    h.start();
    EXPECT_EQ(h.s.MusicPlaying, 1);
    EXPECT_EQ(h.fake.music.log.back(), "play");
    EXPECT_TRUE(h.f.scene.timerEnabled);
}

struct AssetCase {
    const char* file;
    bool remove;
    std::size_t measured; // files measured before the end
    bool guardRemoved;
};

class AssetCheck : public ::testing::TestWithParam<AssetCase> {};

TEST_P(AssetCheck, EndsTheProgramBeforeTheDisplayChanges) {
    const auto& c = GetParam();
    Harness h(false);
    const std::string path = h.asset(std::string("PICTURE/") + c.file);
    if (c.remove) {
        h.fake.files.remove(path);
    } else {
        auto bytes = *h.fake.files.read(path);
        bytes.push_back(0);
        h.fake.files.replace(path, bytes);
    }
    try {
        h.start();
        FAIL() << "the program went on";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.status, 1);
    }
    EXPECT_EQ(h.fake.files.lengthQueries.size(), c.measured);
    EXPECT_FALSE(h.fake.window.fullScreen);
    EXPECT_EQ(std::count(h.fake.window.log.begin(), h.fake.window.log.end(), "fullscreen"), 0);
    EXPECT_EQ(h.fake.guard.removals.size(), c.guardRemoved ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, AssetCheck,
                         ::testing::Values(AssetCase{"01.GIF", true, 1, false},
                                           AssetCase{"ZVUCNIK2.JPG", false, 147, true},
                                           AssetCase{"BOJE3_08.JPG", false, 116, true}));

TEST(Shutdown, SystemCloseRunsOnlyTheUnloadHandler) {
    Harness h;
    h.clickOn(C::MusicOn);
    Event quit;
    quit.type = EventType::Quit;
    EXPECT_THROW(h.send(quit), ProgramEnd);
    EXPECT_EQ(h.fake.guard.removals, std::vector<int>{7});
    EXPECT_EQ(h.fake.music.log.back(), "close down");
    EXPECT_EQ(h.fake.window.log.back(), "destroy");
    EXPECT_EQ(std::count(h.fake.window.log.begin(), h.fake.window.log.end(), "leave fullscreen"), 0);
}

} // namespace
} // namespace tintaro::test
