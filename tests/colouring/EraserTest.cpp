// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Eraser.h"
#include "colouring/WipePasses.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

using C = ControlId;
constexpr Colour kRed = rgb(255, 0, 0);

TEST(Eraser, PatternComesFromTheGeneratorAndTheSweepIsSeen) {
    struct Case {
        double r;
        int pattern;
        Point firstWhite; // whitened in the first frame
        Point stillRed;   // not yet whitened in the first frame
        double seconds;   // duration at one pass a second
    };
    const Case cases[] = {
        {0.12, 1, {0, 0}, {749, 599}, 1.0}, {0.23, 2, {0, 599}, {749, 0}, 1.0},
        {0.34, 3, {749, 599}, {0, 0}, 1.0}, {0.45, 4, {749, 599}, {0, 0}, 1.0},
        {0.56, 5, {0, 0}, {0, 1}, 1.5},     {0.90, 8, {749, 0}, {749, 1}, 1.5},
    };
    for (const auto& c : cases) {
        Harness h;
        h.fake.random.values = {0.05, c.r}; // the first draw gives 0 and is drawn again
        h.f.scene.setCanvasImage(Image(750, 600, kRed));
        int frames = 0;
        bool checked = false;
        h.fake.window.onPresent = [&] {
            if (++frames == 1) {
                const Image& shown = h.fake.window.shown;
                EXPECT_EQ(shown.at(30 + c.firstWhite.x, 29 + c.firstWhite.y), kWhite) << c.pattern;
                EXPECT_EQ(shown.at(30 + c.stillRed.x, 29 + c.stillRed.y), kRed) << c.pattern;
                checked = true;
            }
        };
        const double start = h.fake.clock.now;
        brisanje_slika(h.f);
        EXPECT_TRUE(checked);
        EXPECT_EQ(h.fake.random.reseeds, 2) << "re-seeded after every draw";
        EXPECT_NEAR(h.fake.clock.now - start, c.seconds, 0.02) << c.pattern;
        EXPECT_GE(frames, static_cast<int>(c.seconds * 55)) << "a frame at the display's rate";
        EXPECT_EQ(h.f.scene.canvas(), h.drawing(0)) << "then the blank page";
    }
}

TEST(Eraser, PapirWipesToTheBlankPageWithOneSound) {
    Harness h;
    h.f.scene.setCanvasImage(Image(750, 600, kRed));
    h.clickOn(C::Papir);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(0));
    EXPECT_EQ(h.fake.sound.played, std::vector<std::string>{h.appDir + "/SOUND/LJUBICASTA.WAV"});
}

TEST(Eraser, RubberBringsBackTheDrawingChosenLast) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.clickOn(C::Galerija7);
    h.canvasClick(3, 3);
    h.clickOn(C::Papir);
    h.clickOn(C::Rubber);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(7));
    EXPECT_EQ(h.s.CurrentPictureNo, 7);
}

TEST(Eraser, ClearingLeavesToolColourAndFacesAlone) {
    Harness h;
    h.clickOn(C::PaletaZuta);
    h.clickOn(C::olovka);
    h.fake.sound.played.clear();
    h.clickOn(C::MuteWave);
    h.clickOn(C::Rubber);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(1)) << "drawing 01 at start";
    EXPECT_EQ(h.s.CurrentColor, 65535);
    EXPECT_EQ(h.s.FillToolActive, 0);
    EXPECT_TRUE(h.shows(C::PaletaZuta, "BOJE3_03.JPG"));
    EXPECT_TRUE(h.fake.sound.played.empty()) << "effects off: a silent wipe";
}

TEST(Eraser, InputDuringTheWipeWaitsForItsEnd) {
    Harness h;
    h.fake.window.events.push_back(mouseMove(5, 5));
    h.clickOn(C::Papir);
    EXPECT_EQ(h.fake.window.events.size(), 1u) << "the wipe takes no event";
}

TEST(Eraser, UnreadableDrawingLeavesTheBlankPage) {
    Harness h;
    h.fake.files.remove(h.asset("PICTURE/01.GIF"));
    h.clickOn(C::Rubber);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(0));
}

} // namespace
} // namespace tintaro::test
