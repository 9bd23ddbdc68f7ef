// SPDX-License-Identifier: GPL-3.0-or-later

#include "panels/Printing.h"
#include "colouring/Palette.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

namespace tintaro::test {
namespace {

using C = ControlId;

// Colours a canvas with all twelve palette colours, a pencil line and the outlines.
void colourEverything(Harness& h) {
    for (int k = 1; k <= 12; ++k) {
        h.clickOn(ColourTable[k - 1].control);
        h.canvasClick(5.0f + 10 * k, 590);
    }
    h.clickOn(C::olovka);
    h.press(30 + 20, 29 + 20);
    h.move(30 + 700, 29 + 580, kLeftButton);
    h.release(30 + 700, 29 + 580);
}

TEST(Printing, SavesTheCanvasLosslesslyShowsTheNoticeThenPrints) {
    Harness h;
    colourEverything(h);
    const Image before = h.f.scene.canvas();
    bool noticeDuringPause = false;
    double pauseStart = h.fake.clock.now;
    h.fake.window.onPresent = [&] {
        if (h.f.scene.control(C::PrintPict).visible) {
            noticeDuringPause = true;
        }
    };
    h.key('P', kCtrl);
    EXPECT_TRUE(noticeDuringPause);
    EXPECT_FALSE(h.f.scene.control(C::PrintPict).visible);
    EXPECT_GE(h.fake.clock.now - pauseStart, 3.0);
    const std::string scratch = h.appDir + "/MY_PICTURE/01.GIF";
    ASSERT_TRUE(h.fake.files.written.count(scratch));
    const auto reloaded = h.fake.codec.decode(h.fake.files.written[scratch]);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(*reloaded, before) << "the scratch file holds the canvas exactly";
    EXPECT_EQ(h.f.scene.canvas(), before) << "the canvas looks the same after printing";
    ASSERT_EQ(h.fake.printer.printed.size(), 1u);
    EXPECT_EQ(h.fake.printer.printed[0], before);
}

// A fill made while the notice shows stays on the canvas but is not on the
// page: the page is the picture read back from the scratch file at Ctrl+P.
TEST(Printing, PrintsWhatWasOnScreenAtCtrlP) {
    Harness h;
    const Image atCtrlP = h.f.scene.canvas();
    const int x = 5, y = 590; // a white area of drawing 1 near the bottom left corner
    ASSERT_EQ(atCtrlP.at(x, y), kWhite);
    for (EventType type : {EventType::MouseDown, EventType::MouseUp}) {
        h.fake.window.scheduled.push_back(
            {h.fake.clock.now + 1.0,
             pointerEvent(type, static_cast<float>(30 + x), static_cast<float>(29 + y), kLeftButton)});
    }
    h.key('P', kCtrl);
    ASSERT_TRUE(h.fake.window.scheduled.empty()) << "the fill came during the notice";
    ASSERT_EQ(h.fake.printer.printed.size(), 1u);
    EXPECT_EQ(h.fake.printer.printed[0], atCtrlP);
    EXPECT_EQ(h.f.scene.canvas().at(x, y), static_cast<Colour>(h.s.CurrentColor))
        << "the canvas keeps the fill";
    const auto scratch = h.fake.codec.decode(h.fake.files.written[h.appDir + "/MY_PICTURE/01.GIF"]);
    ASSERT_TRUE(scratch);
    EXPECT_EQ(*scratch, atCtrlP) << "the scratch file holds the picture of Ctrl+P";
}

TEST(Printing, CtrlPDuringThePauseIsIgnored) {
    Harness h;
    h.fake.window.scheduled.push_back({h.fake.clock.now + 1.0, keyDown('P', kCtrl)});
    h.key('P', kCtrl);
    EXPECT_EQ(h.fake.printer.printed.size(), 1u);
    h.key('P', kCtrl);
    EXPECT_EQ(h.fake.printer.printed.size(), 2u) << "a print after the first has finished prints again";
}

TEST(Printing, UnwritableApplicationDirectoryFallsBackToTheUserCache) {
    Harness h;
    h.fake.files.writable.clear();
    h.key('P', kCtrl);
    EXPECT_TRUE(h.fake.files.written.count("/home/child/.cache/tintaro/MY_PICTURE/01.GIF"));
    EXPECT_EQ(h.fake.printer.printed.size(), 1u);
}

TEST(Printing, FailuresEndThePrintSilently) {
    {
        Harness h; // nowhere to write: no notice, no page
        h.fake.files.writable.clear();
        h.fake.files.canMakeDirectories = false;
        int noticeShown = 0;
        h.fake.window.onPresent = [&] { noticeShown += h.f.scene.control(C::PrintPict).visible; };
        h.key('P', kCtrl);
        EXPECT_EQ(noticeShown, 0);
        EXPECT_TRUE(h.fake.printer.printed.empty());
        EXPECT_FALSE(h.f.panels.printing);
    }
    {
        Harness h; // no printer: notice shown and hidden, nothing printed, the program goes on
        h.fake.printer.works = false;
        h.key('P', kCtrl);
        EXPECT_FALSE(h.f.scene.control(C::PrintPict).visible);
        EXPECT_FALSE(h.f.panels.printing);
        h.key('X', kCtrl);
        EXPECT_TRUE(h.f.scene.control(C::Izlaz).visible);
    }
}

} // namespace
} // namespace tintaro::test
