// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/ScreenStates.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>

namespace tintaro::test {
namespace {

using C = ControlId;

TEST(Scene, EveryControlStartsWithItsDesignPicture) {
    Harness h;
    for (const auto& spec : kControlTable) {
        const auto& c = h.f.scene.control(spec.id);
        EXPECT_EQ(c.visible, spec.visible) << spec.name;
        EXPECT_EQ(c.rect, spec.rect) << spec.name;
        if (!spec.startPicture.empty() && spec.id != C::Slika) {
            EXPECT_TRUE(h.shows(spec.id, std::string(spec.startPicture))) << spec.name;
        }
    }
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(1));
    EXPECT_EQ(h.fake.window.title, "Tintaro - Zibbo 10  by Quelvan Studio");
}

TEST(Scene, TheFrameShowsBackgroundControlsAndCanvasCutAtTheirEdges) {
    Harness h;
    const Image& shown = h.fake.window.shown;
    // The canvas at (30, 29).
    const Image one = h.drawing(1);
    EXPECT_EQ(shown.at(30 + 100, 29 + 200), one.at(100, 200));
    EXPECT_EQ(shown.at(30 + 749, 29 + 599), one.at(749, 599));
    // PaletaPink is 84 wide, its picture 86: column 1016 belongs to the background again.
    const auto pink = h.f.scene.control(C::PaletaPink).picture;
    ASSERT_TRUE(pink);
    EXPECT_EQ(pink->width, 86);
    EXPECT_EQ(shown.at(932 + 83, 700), pink->at(83, 700 - 675));
    EXPECT_EQ(shown.at(932 + 84, 700), h.f.scene.background()->at(932 + 84, 700));
}

TEST(Scene, OverlapColumnBelongsToTheTopmostControl) {
    Harness h;
    h.move(936, 440);
    EXPECT_TRUE(h.shows(C::Papir, "PAPIR2.JPG"));
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA1.JPG"));
    h.move(935, 440);
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA2.JPG"));
    EXPECT_TRUE(h.shows(C::Papir, "PAPIR1.JPG"));
}

TEST(Scene, DisabledControlPassesThePointerToTheWindowNotToWhatLiesBeneath) {
    Harness h;
    h.moveOver(C::PaletaZuta);
    ASSERT_TRUE(h.shows(C::PaletaZuta, "BOJE2_03.JPG"));
    h.key('X', kCtrl); // exit panel: the colouring screen is frozen
    h.moveOver(C::PaletaSiva);
    // The window's own movement handler ran: every palette button rests.
    EXPECT_TRUE(h.shows(C::PaletaSiva, "BOJE1_07.JPG"));
    EXPECT_TRUE(h.shows(C::PaletaZuta, "BOJE1_03.JPG"));
    // A click on the frozen palette reaches no palette handler.
    h.clickOn(C::PaletaZelena);
    EXPECT_EQ(h.s.CurrentColor, 255);
}

TEST(Scene, ClickIsPressAndReleaseOverTheSameControlWithLeftOrRightButton) {
    struct Case {
        int button;
        bool releaseElsewhere;
        bool counts;
    };
    const Case cases[] = {{kLeftButton, false, true},
                          {kRightButton, false, true},
                          {kMiddleButton, false, false},
                          {kLeftButton, true, false}};
    for (const auto& c : cases) {
        Harness h;
        const auto& zuta = h.f.scene.control(C::PaletaZuta).rect;
        h.press(zuta.x + 10, zuta.y + 10, c.button);
        h.release(c.releaseElsewhere ? 600 : zuta.x + 10, zuta.y + 10, c.button);
        EXPECT_EQ(h.s.CurrentColor == 65535, c.counts)
            << "button " << c.button << " elsewhere " << c.releaseElsewhere;
    }
}

TEST(Scene, PressedControlKeepsThePointerUntilRelease) {
    Harness h;
    h.clickOn(C::olovka);
    h.press(30 + 700, 29 + 300);
    // Leaves the canvas to the right, over the buttons; the canvas still draws.
    h.move(30 + 900, 29 + 300, kLeftButton);
    EXPECT_EQ(h.s.LastCanvasX, 900);
    EXPECT_EQ(h.f.scene.canvas().at(749, 300), rgb(255, 0, 0));
    EXPECT_TRUE(h.shows(C::MoreImages, "MOREIMAGES1.JPG")) << "the button under the pointer gets no movement";
}

TEST(Scene, PressOnTheFrameKeepsThePointerForTheWindowUntilRelease) {
    Harness h;
    h.clickOn(C::olovka);
    h.press(30 + 100, 29 + 100);
    h.move(30 + 200, 29 + 100, kLeftButton);
    h.release(30 + 200, 29 + 100);
    const Image afterStroke = h.f.scene.canvas();
    ASSERT_NE(afterStroke, h.drawing(1)) << "the stroke itself draws";

    h.press(10, 300); // the wooden frame left of the canvas
    h.move(30 + 300, 29 + 300, kLeftButton);
    h.move(30 + 400, 29 + 350, kLeftButton);
    h.move(881, 442, kLeftButton); // over Rubber
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA1.JPG")) << "no control sees the held pointer";
    h.release(30 + 400, 29 + 350);
    EXPECT_EQ(h.f.scene.canvas(), afterStroke);
    EXPECT_EQ(h.s.LastCanvasX, 200) << "the canvas saw nothing of the drag";

    // After the release the pointer belongs to what lies under it again.
    h.moveOver(C::Rubber);
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA2.JPG"));
}

TEST(Scene, ControlShownAgainKeepsItsLastPicture) {
    Harness h;
    h.moveOver(C::MoreImages);
    ASSERT_TRUE(h.shows(C::MoreImages, "MOREIMAGES2.JPG"));
    h.clickOn(C::MoreImages);
    h.clickOn(C::Back);
    EXPECT_TRUE(h.f.scene.control(C::MoreImages).visible);
    EXPECT_TRUE(h.shows(C::MoreImages, "MOREIMAGES2.JPG"));
}

TEST(Scene, PanelButtonsDrawOverTheirPanelAndTheNoticeOverBoth) {
    Harness h;
    h.key('X', kCtrl);
    h.key('R', kCtrl);
    const Image& shown = h.fake.window.shown;
    const auto yes = h.f.scene.control(C::Da).picture;
    EXPECT_EQ(shown.at(368 + 5, 409 + 5), yes->at(5, 5));
    h.f.scene.setVisible(C::PrintPict, true);
    h.f.scene.present();
    const auto notice = h.f.scene.control(C::PrintPict).picture;
    EXPECT_EQ(shown.at(368 + 5, 409 + 5), notice->at(368 + 5 - 312, 409 + 5 - 259));
}

TEST(Scene, KeysGoToTheFocusedControlAndToTheWindowWhenItCannotHoldIt) {
    Harness h;
    ASSERT_EQ(h.f.router.focus(), C::Slika);
    h.clickOn(C::MoreImages); // the gallery: MoreImages, which took the focus, is hidden now
    EXPECT_FALSE(h.f.router.focus().has_value());
    h.key('X', kCtrl);
    EXPECT_TRUE(h.f.scene.control(C::Izlaz).visible) << "the window's handler takes the shortcut";
}

TEST(Scene, ThumbnailFocusSwallowsShortcuts) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.press(54 + 10, 48 + 10); // press on Galerija1 takes the focus...
    h.release(400, 740);       // ...released elsewhere, so no click
    ASSERT_EQ(h.f.router.focus(), C::Galerija1);
    h.key('X', kCtrl);
    EXPECT_FALSE(h.f.scene.control(C::Izlaz).visible);
}

// The canvas lets go of its pixels while a chosen drawing is read: when the
// file cannot be read, the colouring comes back exactly as it was.
TEST(Scene, ADrawingThatCannotBeReadLeavesTheColouringAsItWas) {
    Harness h;
    h.clickOn(C::PaletaZuta);
    h.canvasClick(5, 5);
    h.clickOn(C::PaletaPlava);
    h.canvasClick(375, 300);
    h.clickOn(C::olovka);
    h.press(30 + 100, 29 + 100);
    h.move(30 + 600, 29 + 500, kLeftButton);
    h.release(30 + 600, 29 + 500);
    const Image coloured = h.f.scene.canvas();
    ASSERT_NE(coloured, h.drawing(1));
    h.fake.files.replace(h.asset("PICTURE/05.GIF"), Bytes{'G', 'I', 'F', '8', '9', 'a'});
    h.clickOn(C::MoreImages);
    h.clickOn(C::Galerija5);
    EXPECT_EQ(h.s.GalleryActive, 1);
    EXPECT_EQ(h.f.scene.canvas(), coloured);
    h.clickOn(C::Galerija7);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(7));
}

// The background being left is let go before the next one is read: when
// that read fails, even by an exception, the old one comes back.
TEST(Scene, ABackgroundThatFailsToLoadLeavesTheOldOne) {
    Harness h;
    h.clickOn(C::MoreImages);
    const Image gallery = *h.f.scene.background();
    h.fake.files.failWith(h.asset("PICTURE/GLAVNA.JPG"), std::make_exception_ptr(std::bad_alloc()));
    h.clickOn(C::Back);
    ASSERT_NE(h.f.scene.background(), nullptr);
    EXPECT_EQ(*h.f.scene.background(), gallery);
    EXPECT_EQ(h.s.GalleryActive, 0);
}

TEST(Scene, UnchangedFacesAreNotDrawnAgain) {
    Harness h;
    h.move(900, 100);
    const int before = h.fake.window.presents;
    h.move(901, 101);
    EXPECT_EQ(h.fake.window.presents, before) << "a background movement that changes no face redraws nothing";
    h.moveOver(C::Rubber);
    ASSERT_EQ(h.fake.window.presents, before + 1);
    ASSERT_EQ(h.fake.window.lastDirty.size(), 1u);
    EXPECT_EQ(h.fake.window.lastDirty[0], h.f.scene.control(C::Rubber).rect);
}

} // namespace
} // namespace tintaro::test
