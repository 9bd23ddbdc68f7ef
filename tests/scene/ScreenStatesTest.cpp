// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/ScreenStates.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <vector>

namespace tintaro::test {
namespace {

using C = ControlId;

struct ScreenView {
    int visible = 0;
    int enabled = 0;
};

ScreenView colouringView(Harness& h) {
    ScreenView v;
    for (auto id : kColouringScreen) {
        v.visible += h.f.scene.control(id).visible;
        v.enabled += h.f.scene.control(id).enabled;
    }
    return v;
}

TEST(ScreenStates, EachScreenHandlesItsControlsInItsOwnOrder) {
    const std::vector<ControlId> colouring{
        C::Slika,           C::MoreImages,    C::MuteWave,    C::MusicOn,          C::Rubber,
        C::Papir,           C::kapljica,      C::olovka,      C::PaletaCrvena,     C::PaletaZelena,
        C::PaletaZuta,      C::PaletaSvPlava, C::PaletaOranz, C::PaletaLjubicasta, C::PaletaSiva,
        C::PaletaTamnozuta, C::PaletaBraon,   C::PaletaPlava, C::PaletaCrna,       C::PaletaPink};
    EXPECT_EQ(std::vector<ControlId>(kColouringScreen.begin(), kColouringScreen.end()), colouring);
    std::vector<ControlId> gallery{C::Back};
    for (int n = 1; n <= 25; ++n) {
        gallery.push_back(galerija(n));
    }
    EXPECT_EQ(std::vector<ControlId>(kGalleryScreen.begin(), kGalleryScreen.end()), gallery);
}

TEST(ScreenStates, FreezingTheColouringScreenHidesPapirAndDisablesTheRest) {
    Harness h;
    h.moveOver(C::Rubber);
    ASSERT_TRUE(h.shows(C::Rubber, "GUMICA2.JPG"));
    glavni_ekran_zamrznut(h.f);
    glavni_ekran_zamrznut(h.f);
    EXPECT_FALSE(h.f.scene.control(C::Papir).visible);
    EXPECT_EQ(colouringView(h).visible, 19);
    EXPECT_EQ(colouringView(h).enabled, 1) << "only the hidden Papir keeps its enabled flag";
    // Pointer over Papir's place reaches the window, whose handler rests Rubber.
    h.move(960, 440);
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA1.JPG"));
    // Freezing twice and unfreezing once leaves the screen unfrozen.
    glavni_ekran_odmrznut(h.f);
    EXPECT_EQ(colouringView(h).visible, 20);
    EXPECT_EQ(colouringView(h).enabled, 20);
}

TEST(ScreenStates, FreezingTheGalleryDisablesBackAndThumbnailsWhichStayVisible) {
    Harness h;
    h.clickOn(C::MoreImages);
    galerijski_ekran_zamrznut(h.f);
    for (int n = 1; n <= 25; ++n) {
        EXPECT_TRUE(h.f.scene.control(galerija(n)).visible);
        EXPECT_FALSE(h.f.scene.control(galerija(n)).enabled);
    }
    EXPECT_FALSE(h.f.scene.control(C::Back).enabled);
    h.clickOn(C::Galerija3);
    EXPECT_EQ(h.s.GalleryActive, 1) << "a frozen thumbnail takes no click";
    galerijski_ekran_odmrznut(h.f);
    h.clickOn(C::Galerija3);
    EXPECT_EQ(h.s.CurrentPictureNo, 3);
}

TEST(ScreenStates, LeavingTheGalleryPutsTheMainBackgroundBackReadAnew) {
    Harness h;
    h.clickOn(C::MoreImages);
    const Image* gallery = h.f.scene.background();
    galerijski_ekran_ugasi(h.f);
    EXPECT_NE(h.f.scene.background(), gallery);
    EXPECT_TRUE(*h.f.scene.background() == *h.f.scene.pictures().load(h.asset("PICTURE/GLAVNA.JPG")));
    for (int n = 1; n <= 25; ++n) {
        EXPECT_FALSE(h.f.scene.control(galerija(n)).visible);
    }
}

TEST(ScreenStates, UnreadableMainBackgroundLeavesTheGalleryBackgroundBehind) {
    Harness h;
    h.clickOn(C::MoreImages);
    const Image* gallery = h.f.scene.background();
    h.fake.files.remove(h.asset("PICTURE/GLAVNA.JPG"));
    h.clickOn(C::Back);
    EXPECT_EQ(h.f.scene.background(), gallery);
    EXPECT_EQ(colouringView(h).visible, 20) << "the caller goes on with its next step";
    EXPECT_EQ(h.s.GalleryActive, 0);
}

} // namespace
} // namespace tintaro::test
