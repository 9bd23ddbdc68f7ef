// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile pictures of the right length, and failures of the
// standard library inside handlers, through the real scene with the real
// decoders: each ends the step that met it silently, and the screen goes on
// working.

#include "support/DamagedFiles.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace tintaro::test {
namespace {

using C = ControlId;

struct Damage {
    const char* name;
    std::function<Bytes(Bytes)> apply;
};

// The cases of a damaged or hostile file that keeps its length.
const Damage kHostileSizes[] = {
    {"claims 60000 x 60000", [](Bytes b) { return claimingSize(std::move(b), 60000, 60000); }},
    {"claims 8000 x 8000", [](Bytes b) { return claimingSize(std::move(b), 8000, 8000); }},
    {"claims 0 x 0", [](Bytes b) { return claimingSize(std::move(b), 0, 0); }},
};

const Damage kDamage[] = {
    kHostileSizes[0],
    kHostileSizes[1],
    kHostileSizes[2],
    {"1% of the bits flipped", [](Bytes b) { return flippedBits(std::move(b), 7, 0.01); }},
    {"the first half zeroed",
     [](Bytes b) {
         std::fill(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(b.size() / 2), 0);
         return b;
     }},
};

// A harness whose start pictures are read after `relative` was damaged.
std::unique_ptr<Harness> startedWith(const std::string& relative, const Damage& damage) {
    return std::make_unique<Harness>(true, [&](Harness& h) {
        h.fake.files.replace(h.asset(relative), damage.apply(assetBytes(relative)));
    });
}

// A fill paints, the palette chooses, and the exit panel opens and closes.
void expectTheScreenWorks(Harness& h, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(h.fake.window.visible);
    EXPECT_TRUE(h.fake.window.fullScreen) << "the start-up ran to its end";
    h.clickOn(C::PaletaZuta);
    EXPECT_EQ(h.s.CurrentColor, 65535);
    const Image before = h.f.scene.canvas();
    h.canvasClick(5, 5);
    EXPECT_NE(h.f.scene.canvas(), before) << "the fill painted nothing";
    h.key('X', kCtrl);
    EXPECT_TRUE(h.f.scene.control(C::Izlaz).visible);
    h.clickOn(C::Ne);
    EXPECT_FALSE(h.f.scene.control(C::Izlaz).visible);
}

TEST(DamagedPictures, StartPicturesOfTheRightLengthLeaveAWorkingScreen) {
    for (const char* file :
         {"PICTURE/GLAVNA.JPG", "PICTURE/01.GIF", "PICTURE/BOJE1_03.JPG", "PICTURE/MOREIMAGES1.JPG"}) {
        for (const auto& damage : kDamage) {
            auto h = startedWith(file, damage);
            expectTheScreenWorks(*h, std::string(file) + " " + damage.name);
        }
    }
}

TEST(DamagedPictures, HostileSizesAreNotShown) {
    for (const auto& damage : kHostileSizes) {
        SCOPED_TRACE(damage.name);
        // The window shows its own grey where the background would be.
        auto h = startedWith("PICTURE/GLAVNA.JPG", damage);
        EXPECT_EQ(h->f.scene.background(), nullptr);
        EXPECT_EQ(h->fake.window.shown.at(900, 20), rgb(240, 240, 240));
        // The canvas stays the blank page it was created as.
        h = startedWith("PICTURE/01.GIF", damage);
        EXPECT_EQ(h->f.scene.canvas(), Image(750, 600, kWhite));
    }
}

TEST(DamagedPictures, AChosenDrawingThatCannotBeReadKeepsTheGalleryOpen) {
    for (const auto& damage : kHostileSizes) {
        SCOPED_TRACE(damage.name);
        Harness h;
        h.fake.files.replace(h.asset("PICTURE/05.GIF"), damage.apply(assetBytes("PICTURE/05.GIF")));
        h.clickOn(C::MoreImages);
        h.clickOn(C::Galerija5);
        EXPECT_EQ(h.s.GalleryActive, 1);
        EXPECT_EQ(h.s.CurrentPictureNo, 1);
        EXPECT_EQ(h.f.scene.canvas(), h.drawing(1));
        h.clickOn(C::Galerija7);
        EXPECT_EQ(h.s.CurrentPictureNo, 7) << "the next choice works";
        EXPECT_EQ(h.f.scene.canvas(), h.drawing(7));
    }
}

TEST(DamagedPictures, AHostileCursorLeavesTheToolChangedAndTheProgramRunning) {
    for (const auto& damage : kHostileSizes) {
        SCOPED_TRACE(damage.name);
        Harness h;
        h.fake.files.replace(h.asset("PICTURE/CETKA.ICO"), damage.apply(assetBytes("PICTURE/CETKA.ICO")));
        h.clickOn(C::olovka);
        EXPECT_EQ(h.s.FillToolActive, 0);
        EXPECT_TRUE(h.shows(C::olovka, "OLOVKA1.JPG"));
        EXPECT_EQ(h.f.scene.cursorOf(C::Slika), CursorKind::Drop);
        h.clickOn(C::kapljica);
        h.moveOver(C::Slika);
        EXPECT_EQ(h.fake.window.cursorPath, h.appDir + "/PICTURE/KANTICA8.ICO");
    }
}

TEST(DamagedPictures, AHostileHoverFaceKeepsTheRestingFace) {
    for (const auto& damage : kHostileSizes) {
        SCOPED_TRACE(damage.name);
        Harness h;
        h.fake.files.replace(h.asset("PICTURE/MOREIMAGES2.JPG"),
                             damage.apply(assetBytes("PICTURE/MOREIMAGES2.JPG")));
        h.moveOver(C::MoreImages);
        EXPECT_TRUE(h.shows(C::MoreImages, "MOREIMAGES1.JPG"));
        h.moveOver(C::Rubber);
        EXPECT_TRUE(h.shows(C::Rubber, "GUMICA2.JPG")) << "the next hover works";
    }
}

struct Failure {
    const char* name;
    std::exception_ptr error;
};

const Failure kFailures[] = {
    {"an allocation that cannot be met", std::make_exception_ptr(std::bad_alloc())},
    {"a length beyond what a container holds", std::make_exception_ptr(std::length_error("vector"))},
    {"a failure of the system",
     std::make_exception_ptr(std::system_error(std::make_error_code(std::errc::io_error)))},
};

TEST(HandlerTrap, AFailureOfTheStandardLibraryEndsTheStepNotTheProgram) {
    for (const auto& failure : kFailures) {
        SCOPED_TRACE(failure.name);
        Harness h;
        // A drawing chosen in the gallery: the gallery stays open.
        h.fake.files.failWith(h.asset("PICTURE/05.GIF"), failure.error);
        h.clickOn(C::MoreImages);
        h.clickOn(C::Galerija5);
        EXPECT_EQ(h.s.GalleryActive, 1);
        EXPECT_EQ(h.s.CurrentPictureNo, 1);
        h.clickOn(C::Back);
        EXPECT_EQ(h.s.GalleryActive, 0);
        // A hover face: the resting face stays.
        h.fake.files.failWith(h.asset("PICTURE/MOREIMAGES2.JPG"), failure.error);
        h.moveOver(C::MoreImages);
        EXPECT_TRUE(h.shows(C::MoreImages, "MOREIMAGES1.JPG"));
        // The music switch: the flags change, nothing plays.
        h.fake.files.failWith(h.asset("MUSIC/001.MID"), failure.error);
        h.clickOn(C::MusicOn);
        EXPECT_EQ(h.s.MusicOnFlag, 0);
        EXPECT_FALSE(h.fake.music.playing);
        expectTheScreenWorks(h, "after the failures");
    }
}

} // namespace
} // namespace tintaro::test
