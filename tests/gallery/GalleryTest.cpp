// SPDX-License-Identifier: GPL-3.0-or-later

#include "gallery/GalleryGrid.h"
#include "gallery/GalleryTable.h"
#include "scene/ScreenStates.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tintaro::test {
namespace {

using C = ControlId;

std::string thumb(const char* kind, int p) {
    char file[40];
    std::snprintf(file, sizeof file, "GALERIJA1%s_%02d.JPG", kind, p);
    return file;
}

// Which thumbnails show their highlighted picture, as a string of 25 flags.
std::string highlighted(Harness& h) {
    std::string out;
    for (int n = 1; n <= 25; ++n) {
        out += h.shows(galerija(n), thumb("ZUTE", thumbnailPictureNumber(n))) ? 'Z' : '.';
    }
    return out;
}

void expectGalleryShown(Harness& h) {
    EXPECT_EQ(h.s.GalleryActive, 1);
    EXPECT_TRUE(h.f.scene.control(C::Back).visible);
    for (auto id : kColouringScreen) {
        EXPECT_FALSE(h.f.scene.control(id).visible);
    }
    for (int n = 1; n <= 25; ++n) {
        const auto& c = h.f.scene.control(galerija(n));
        EXPECT_TRUE(c.visible) << n;
        const Rect size = controlSpec(galerija(n)).rect;
        EXPECT_EQ(c.rect, (Rect{thumbnailLeft(n), thumbnailTop(n), size.w, size.h})) << n;
        EXPECT_TRUE(h.shows(galerija(n), thumb("BELE", thumbnailPictureNumber(n)))) << n;
    }
    EXPECT_TRUE(*h.f.scene.background() == *h.f.scene.pictures().load(h.asset("PICTURE/GALERIJA.JPG")));
}

TEST(Gallery, OpensWithTheGridOfPlainThumbnails) {
    Harness h;
    h.clickOn(C::MoreImages);
    expectGalleryShown(h);
    EXPECT_EQ(galleryEntry(3).left, 341);
    EXPECT_EQ(galleryEntry(4).left, 485);
    EXPECT_EQ(galleryEntry(25).plainPicture, "\\PICTURE\\GALERIJA1BELE_81.JPG");
    EXPECT_EQ(galleryEntry(25).drawing, "\\PICTURE\\25.GIF");
}

TEST(Gallery, ReopeningAfterBackGivesTheSameScreen) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.moveOver(C::Galerija7);
    const Image canvas = h.f.scene.canvas();
    h.clickOn(C::Back);
    EXPECT_EQ(h.s.GalleryActive, 0);
    EXPECT_EQ(h.s.CurrentPictureNo, 1);
    EXPECT_EQ(h.f.scene.canvas(), canvas);
    h.clickOn(C::MoreImages);
    expectGalleryShown(h);
    EXPECT_EQ(h.s.HighlightedThumbnail, 7);
}

TEST(Gallery, ThumbnailClickPutsItsDrawingOnTheCanvas) {
    for (int n : {1, 7, 25}) {
        Harness h;
        h.canvasClick(3, 3);
        h.clickOn(C::MoreImages);
        h.clickOn(galerija(n));
        EXPECT_EQ(h.s.CurrentPictureNo, n);
        EXPECT_EQ(h.s.GalleryActive, 0);
        EXPECT_EQ(h.f.scene.canvas(), h.drawing(n)) << n;
        EXPECT_TRUE(h.f.scene.control(C::Slika).visible);
        EXPECT_FALSE(h.f.scene.control(galerija(n)).visible);
        EXPECT_TRUE(h.fake.sound.played.size() == 1u) << "only the fill sounded";
    }
}

TEST(Gallery, ThumbnailClickWithGalleryNotActiveOnlyLeaves) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.s.GalleryActive = 2;
    h.clickOn(C::Galerija9);
    EXPECT_EQ(h.s.CurrentPictureNo, 1);
    EXPECT_EQ(h.f.scene.canvas(), h.drawing(1));
    EXPECT_TRUE(h.f.scene.control(C::Slika).visible);
    EXPECT_EQ(h.s.GalleryActive, 2);
}

TEST(Gallery, UnreadableDrawingKeepsTheGalleryOpen) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.fake.files.remove(h.asset("PICTURE/05.GIF"));
    h.clickOn(C::Galerija5);
    EXPECT_EQ(h.s.GalleryActive, 1);
    EXPECT_EQ(h.s.CurrentPictureNo, 1);
    EXPECT_TRUE(h.f.scene.control(C::Galerija5).visible);
}

TEST(Gallery, UnreadablePlainPictureStopsTheThumbnailsThere) {
    Harness h;
    h.fake.files.remove(h.asset("PICTURE/GALERIJA1BELE_37.JPG")); // thumbnail 11
    h.clickOn(C::MoreImages);
    EXPECT_EQ(h.s.GalleryActive, 1);
    EXPECT_TRUE(h.f.scene.control(C::Galerija10).visible);
    EXPECT_FALSE(h.f.scene.control(C::Galerija11).visible);
    EXPECT_FALSE(h.f.scene.control(C::Galerija25).visible);
}

TEST(ThumbnailHighlight, Sequences) {
    Harness h;
    h.clickOn(C::MoreImages);
    const std::string none(25, '.');
    auto only = [&](int n) {
        std::string s = none;
        s[n - 1] = 'Z';
        return s;
    };
    h.moveOver(C::Galerija1);
    EXPECT_EQ(highlighted(h), only(1));
    EXPECT_EQ(h.s.HighlightedThumbnail, 1);
    h.moveOver(C::Galerija3);
    h.moveOver(C::Galerija4); // straight across
    EXPECT_EQ(highlighted(h), only(4));
    h.move(800, 300); // the background rests the last one
    EXPECT_EQ(highlighted(h), none);
    EXPECT_EQ(h.s.HighlightedThumbnail, 4);
    h.moveOver(C::Galerija2);
    h.moveOver(C::Back); // straight onto Back: 2 stays lit
    EXPECT_EQ(highlighted(h), only(2));
    EXPECT_TRUE(h.shows(C::Back, "BACK2.JPG"));
}

TEST(ThumbnailHighlight, FrozenGalleryPassesMovementToTheBackground) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.moveOver(C::Galerija6);
    h.key('X', kCtrl);
    h.moveOver(C::Galerija6);
    EXPECT_EQ(highlighted(h), std::string(25, '.'));
}

TEST(ThumbnailHighlight, ColouringScreenBackgroundTouchesNoThumbnail) {
    Harness h;
    h.clickOn(C::MoreImages);
    h.moveOver(C::Galerija6);
    h.clickOn(C::Back);
    h.move(800, 150);
    EXPECT_TRUE(h.shows(C::Galerija6, thumb("ZUTE", 19))) << "hidden, still highlighted";
}

} // namespace
} // namespace tintaro::test
