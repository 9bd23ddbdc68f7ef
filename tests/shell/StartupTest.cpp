// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Startup.h"
#include "shell/AssetManifest.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

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
    EXPECT_EQ(s.AppDir(), h.appDir + "/");
    EXPECT_EQ(h.fake.files.currentDirectory, h.appDir);
    EXPECT_FALSE(h.f.scene.timerEnabled);
}

TEST(Startup, RunsItsStepsInOrderWithTwoThreeSecondPauses) {
    Harness h(false);
    const double begin = h.fake.clock.now;
    h.start();
    EXPECT_EQ(h.fake.guard.installs, 1);
    EXPECT_EQ(h.fake.processes.started, std::vector<std::string>{h.appDir + "/COLORS.EXE"});
    const std::vector<std::string> expected{"create", "hide", "show", "fullscreen", "show"};
    EXPECT_EQ(h.fake.window.log, expected);
    EXPECT_GE(h.fake.clock.now - begin, 6.0);
    EXPECT_LT(h.fake.clock.now - begin, 6.1);
    EXPECT_EQ(h.fake.files.lengthQueries.size(), AssetManifest.size());
    EXPECT_TRUE(h.fake.window.visible);
    EXPECT_TRUE(h.f.displaySwitched);
}

// The splash is decoration: a companion that cannot start (missing, not
// executable, built for another machine) skips nothing of the start-up, so
// the window goes full screen and a fill paints red, not black.
TEST(Startup, WithoutTheCompanionTheStartUpRunsInFull) {
    Harness h(false);
    h.fake.processes.companionPresent = false;
    const double begin = h.fake.clock.now;
    h.start();
    EXPECT_GE(h.fake.clock.now - begin, 6.0) << "both pauses";
    EXPECT_EQ(h.fake.files.lengthQueries.size(), AssetManifest.size());
    EXPECT_TRUE(h.fake.window.fullScreen);
    EXPECT_TRUE(h.fake.window.visible);
    EXPECT_EQ(h.s.SoundOn, 1);
    EXPECT_EQ(h.s.MusicOnFlag, 1);
    EXPECT_EQ(h.s.CurrentColor, 255);
    EXPECT_TRUE(h.shows(C::MuteWave, "ZVUCNIK1.JPG"));
    h.canvasClick(150, 150);
    EXPECT_EQ(h.f.scene.canvas().at(150, 150), 255u) << "the fill paints red";
}

TEST(Startup, ClickDuringTheSecondPauseIsHandledBeforeTheSequenceReturns) {
    Harness h(false);
    const auto& music = h.f.scene.control(C::MusicOn).rect;
    const auto x = static_cast<float>(music.x + 10);
    const auto y = static_cast<float>(music.y + 10);
    h.fake.window.scheduled.push_back({h.fake.clock.now + 4.0, mouseDown(x, y)});
    h.fake.window.scheduled.push_back({h.fake.clock.now + 4.1, mouseUp(x, y)});
    h.start();
    EXPECT_EQ(h.s.MusicPlaying, 1);
    EXPECT_EQ(h.fake.music.log.back(), "play");
    EXPECT_TRUE(h.f.scene.timerEnabled);
}

TEST(Startup, FromAFolderWithABackslashInItsNameFindsEveryFile) {
    namespace fs = std::filesystem;
    const fs::path parent = fs::temp_directory_path() / ("tintaro-backslash-" + std::to_string(::getpid()));
    fs::remove_all(parent);
    fs::create_directories(parent);
    const fs::path app = parent / "a\\b";
    fs::create_directory_symlink(TINTARO_ASSETS, app);
    {
        Harness h(app.string());
        EXPECT_EQ(h.s.AppPath, app.string());
        EXPECT_EQ(h.fake.processes.started, std::vector<std::string>{app.string() + "/COLORS.EXE"});
        EXPECT_EQ(h.fake.files.lengthQueries.size(), AssetManifest.size()) << "every picture was measured";
        EXPECT_TRUE(h.f.displaySwitched) << "the check passed and the start-up went on";
        // The colouring screen, not a bare window: background, buttons and drawing 1.
        ASSERT_NE(h.f.scene.background(), nullptr);
        EXPECT_EQ(h.fake.window.shown.at(900, 100), h.f.scene.background()->at(900, 100));
        EXPECT_TRUE(h.shows(C::PaletaCrvena, "BOJE1_01.JPG"));
        EXPECT_EQ(h.f.scene.canvas(), h.drawing(1));
        h.clickOn(C::PaletaZelena);
        EXPECT_EQ(h.fake.sound.played, std::vector<std::string>{app.string() + "/SOUND/ZELENA.WAV"});
        h.clickOn(C::MusicOn);
        EXPECT_EQ(h.fake.music.log.at(2), "load " + app.string() + "/MUSIC/001.MID");
    }
    fs::remove_all(parent);
}

struct AssetCase {
    const char* file;
    bool remove;
    std::size_t measured; // files measured before the end
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
    // Whatever failed, the keyboard is free before the message shows: the
    // parent must be able to answer it, and to use the desktop.
    EXPECT_EQ(h.fake.guard.removals, std::vector<int>{7});
    EXPECT_EQ(h.fake.window.keyboardHeldAtMessage, std::vector<bool>{false});
    // The window goes, and a message window names the file; the end comes
    // only once it was closed (the fake returns at once, as a closed one).
    ASSERT_EQ(h.fake.window.messages.size(), 1u);
    const auto& [title, text] = h.fake.window.messages[0];
    const std::string file = std::string("PICTURE/") + c.file;
    EXPECT_EQ(title, "Tintaro cannot start: " + file);
    EXPECT_EQ(text.rfind(file, 0), 0u) << text;
    EXPECT_NE(text.find(c.remove ? "missing" : "bytes, expected"), std::string::npos) << text;
    EXPECT_FALSE(h.fake.window.visible);
    EXPECT_EQ(h.fake.window.log.back(), "message");
}

INSTANTIATE_TEST_SUITE_P(Rows, AssetCheck,
                         ::testing::Values(AssetCase{"01.GIF", true, 1},
                                           AssetCase{"ZVUCNIK2.JPG", false, 147},
                                           AssetCase{"BOJE3_08.JPG", false, 116}));

TEST(Shutdown, SystemCloseRunsOnlyTheUnloadHandler) {
    Harness h;
    h.clickOn(C::MusicOn);
    EXPECT_THROW(h.send(quitEvent()), ProgramEnd);
    EXPECT_EQ(h.fake.guard.removals, std::vector<int>{7});
    EXPECT_EQ(h.fake.music.log.back(), "close down");
    EXPECT_EQ(h.fake.window.log.back(), "destroy");
    EXPECT_EQ(std::count(h.fake.window.log.begin(), h.fake.window.log.end(), "leave fullscreen"), 0);
}

TEST(Shutdown, UnloadClosesTheMusicDownEvenWhenTheGuardRemovalFails) {
    for (bool throughExitPanel : {false, true}) {
        Harness h;
        h.clickOn(C::MusicOn);
        h.fake.guard.held = false; // the guard is already gone: every removal fails
        if (throughExitPanel) {
            h.key('X', kCtrl);
            EXPECT_THROW(h.clickOn(C::Da), ProgramEnd);
        } else {
            EXPECT_THROW(h.send(quitEvent()), ProgramEnd);
        }
        EXPECT_FALSE(h.fake.guard.removals.empty()) << throughExitPanel;
        EXPECT_EQ(h.fake.music.log.back(), "close down") << throughExitPanel;
        EXPECT_EQ(h.fake.window.log.back(), "destroy") << throughExitPanel;
    }
}

} // namespace
} // namespace tintaro::test
