// SPDX-License-Identifier: GPL-3.0-or-later

#include "panels/InfoPanel.h"
#include "scene/ScreenStates.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tintaro::test {
namespace {

using C = ControlId;

int visibleCount(Harness& h, std::initializer_list<ControlId> ids) {
    int n = 0;
    for (auto id : ids) {
        n += h.f.scene.control(id).visible;
    }
    return n;
}

bool colouringUsable(Harness& h) {
    return std::all_of(kColouringScreen.begin(), kColouringScreen.end(), [&](ControlId id) {
        return h.f.scene.control(id).visible && h.f.scene.control(id).enabled;
    });
}

TEST(ExitPanel, FreezesTheActiveScreenAndNoReturnsToIt) {
    for (bool gallery : {false, true}) {
        Harness h;
        if (gallery) {
            h.clickOn(C::MoreImages);
        }
        h.key('X', kCtrl);
        EXPECT_EQ(visibleCount(h, {C::Izlaz, C::Da, C::Ne}), 3);
        EXPECT_EQ(h.f.scene.control(C::Back).enabled, !gallery);
        EXPECT_EQ(h.f.scene.control(C::Papir).visible, false);
        h.clickOn(C::Ne);
        EXPECT_EQ(visibleCount(h, {C::Izlaz, C::Da, C::Ne}), 0);
        if (gallery) {
            EXPECT_TRUE(h.f.scene.control(C::Back).enabled);
            EXPECT_TRUE(h.f.scene.control(C::Galerija13).enabled);
            EXPECT_FALSE(h.f.scene.control(C::Papir).visible);
        } else {
            EXPECT_TRUE(colouringUsable(h));
        }
    }
}

TEST(ExitPanel, NeUnfreezesTheScreenActiveAtTheMomentOfTheClick) {
    Harness h;
    h.key('X', kCtrl);
    h.s.GalleryActive = 1;
    h.clickOn(C::Ne);
    EXPECT_FALSE(h.f.scene.control(C::Slika).enabled) << "the colouring screen stays frozen";
    EXPECT_EQ(visibleCount(h, {C::Izlaz, C::Da, C::Ne}), 0);
}

TEST(ExitPanel, DaEndsTheProgramInOrder) {
    for (bool music : {false, true}) {
        Harness h;
        if (music) {
            h.clickOn(C::MusicOn);
        }
        h.fake.music.log.clear();
        h.key('X', kCtrl);
        try {
            h.clickOn(C::Da);
            FAIL() << "the program went on";
        } catch (const ProgramEnd& end) {
            EXPECT_EQ(end.status, 0);
        }
        const std::vector<std::string> withMusic{"stop", "close down"};
        const std::vector<std::string> without{};
        EXPECT_EQ(h.fake.music.log, music ? withMusic : without) << "stop only when playing";
        const auto& log = h.fake.window.log;
        EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
                  (std::vector<std::string>{"leave fullscreen", "destroy"}));
        EXPECT_EQ(h.fake.guard.removals, (std::vector<int>{7, 7}))
            << "removed by the unload, then tried again";
        EXPECT_FALSE(h.fake.window.fullScreen);
    }
}

TEST(ExitPanel, DaWithoutADisplaySwitchStillRemovesTheGuardAndEnds) {
    Harness h(false);
    h.fake.window.fullScreenWorks = false;
    h.start();
    h.key('X', kCtrl);
    EXPECT_THROW(h.clickOn(C::Da), ProgramEnd);
    EXPECT_EQ(h.fake.guard.removals, std::vector<int>{7});
    EXPECT_EQ(std::count(h.fake.window.log.begin(), h.fake.window.log.end(), "destroy"), 0);
}

TEST(InfoPanel, OpensOverEitherScreenAndZatvoriCloses) {
    for (bool gallery : {false, true}) {
        Harness h;
        if (gallery) {
            h.clickOn(C::MoreImages);
        }
        h.key('R', kCtrl);
        EXPECT_EQ(visibleCount(h, {C::Registered, C::visit_site, C::Firma, C::Zatvori}), 4);
        h.clickOn(C::Zatvori);
        EXPECT_EQ(visibleCount(h, {C::Registered, C::visit_site, C::Firma, C::Zatvori}), 0);
        EXPECT_EQ(h.s.GalleryActive, gallery ? 1 : 0);
        if (!gallery) {
            EXPECT_TRUE(colouringUsable(h));
        } else {
            EXPECT_TRUE(h.f.scene.control(C::Galerija1).enabled);
        }
    }
}

TEST(InfoPanel, PageButtonsMinimiseFirstThenOpenTheirPage) {
    Harness h;
    h.key('R', kCtrl);
    h.clickOn(C::visit_site);
    h.clickOn(C::Firma);
    h.clickOn(C::visit_site);
    EXPECT_EQ(h.fake.processes.urls,
              (std::vector<std::string>{std::string(ProductPageUrl), std::string(MakerPageUrl),
                                        std::string(ProductPageUrl)}));
    EXPECT_EQ(std::count(h.fake.window.log.begin(), h.fake.window.log.end(), "minimise"), 3);
    EXPECT_EQ(visibleCount(h, {C::Registered, C::visit_site, C::Firma, C::Zatvori}), 4)
        << "the panel stays open";
    EXPECT_FALSE(h.fake.guard.removals.size());
}

TEST(Panels, OpeningWithAnUnknownScreenShowsNothing) {
    Harness h;
    h.s.GalleryActive = 3;
    h.key('X', kCtrl);
    h.key('R', kCtrl);
    EXPECT_EQ(visibleCount(h, {C::Izlaz, C::Registered}), 0);
    EXPECT_TRUE(colouringUsable(h));
}

} // namespace
} // namespace tintaro::test
