// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Palette.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <deque>

namespace tintaro::test {
namespace {

using C = ControlId;
constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kPaletteBlack = rgb(30, 30, 30);

void box(Image& img, int x0, int y0, int x1, int y1, Colour c, int thickness = 3) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const bool edge =
                x < x0 + thickness || x > x1 - thickness || y < y0 + thickness || y > y1 - thickness;
            if (edge) {
                img.at(x, y) = c;
            }
        }
    }
}

// White page with: a black box (100..200), a box outlined in value 9 (250..350)
// with an inner area of value 10, a black box cut by a one-pixel diagonal
// (400..500), and a box painted in the palette's black (550..650).
Image fixture() {
    Image img(750, 600, kWhite);
    box(img, 100, 100, 200, 200, kBlack);
    box(img, 250, 100, 350, 200, 9);
    for (int y = 120; y <= 180; ++y) {
        for (int x = 270; x <= 330; ++x) {
            img.at(x, y) = 10;
        }
    }
    box(img, 400, 100, 500, 200, kBlack);
    for (int i = 403; i <= 497; ++i) {
        img.at(i, i - 300) = kBlack;
    }
    box(img, 550, 100, 650, 200, kBlack);
    for (int y = 103; y <= 197; ++y) {
        for (int x = 553; x <= 647; ++x) {
            img.at(x, y) = kPaletteBlack;
        }
    }
    return img;
}

// The pixels that a correct fill from (x, y) changes, found the slow way.
int regionSize(const Image& img, int x, int y) {
    const Colour seed = img.at(x, y);
    std::vector<char> seen(img.pixels.size(), 0);
    std::deque<std::pair<int, int>> todo{{x, y}};
    int count = 0;
    while (!todo.empty()) {
        auto [px, py] = todo.front();
        todo.pop_front();
        if (!img.contains(px, py) || seen[py * img.width + px] || img.at(px, py) != seed) {
            continue;
        }
        seen[py * img.width + px] = 1;
        ++count;
        todo.insert(todo.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    return count;
}

int changedPixels(const Image& a, const Image& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        n += a.pixels[i] != b.pixels[i];
    }
    return n;
}

TEST(CanvasPress, FillTable) {
    struct Case {
        const char* what;
        int x, y, button;
        bool pencil, effectsOff;
        int changed; // -1: the region around the press
        bool sound;
    };
    const Case cases[] = {
        {"white area in a box", 150, 150, kLeftButton, false, false, -1, true},
        {"outline value 0", 101, 150, kLeftButton, false, false, 0, false},
        {"outline value 9", 251, 150, kLeftButton, false, false, 0, false},
        {"area of value 10", 300, 150, kLeftButton, false, false, -1, true},
        {"palette black is paint", 600, 150, kLeftButton, false, false, -1, true},
        {"diagonal gap holds", 480, 120, kLeftButton, false, false, -1, true},
        {"background", 5, 5, kLeftButton, false, false, -1, true},
        {"right button sounds only", 150, 150, kRightButton, false, false, 0, true},
        {"middle button sounds only", 150, 150, kMiddleButton, false, false, 0, true},
        {"pencil presses only anchor", 150, 150, kLeftButton, true, false, 0, false},
        {"effects off fills silently", 150, 150, kLeftButton, false, true, -1, false},
    };
    for (const auto& c : cases) {
        Harness h;
        h.f.scene.setCanvasImage(fixture());
        if (c.pencil) {
            h.clickOn(C::olovka);
        }
        if (c.effectsOff) {
            h.clickOn(C::MuteWave);
        }
        const Image before = h.f.scene.canvas();
        const auto soundsBefore = h.fake.sound.played.size();
        h.canvasClick(static_cast<float>(c.x), static_cast<float>(c.y), c.button);
        const int expected = c.changed < 0 ? regionSize(before, c.x, c.y) : 0;
        EXPECT_EQ(changedPixels(before, h.f.scene.canvas()), expected) << c.what;
        if (expected > 0) {
            EXPECT_EQ(h.f.scene.canvas().at(c.x, c.y), kRed) << c.what;
            EXPECT_EQ(h.fake.window.shown.at(30 + c.x, 29 + c.y), kRed) << c.what << ": shown at once";
        }
        const bool sounded = h.fake.sound.played.size() > soundsBefore;
        EXPECT_EQ(sounded, c.sound) << c.what;
        if (sounded) {
            EXPECT_EQ(h.fake.sound.played.back(), h.appDir + "/SOUND/SVPLAVA.WAV");
        }
        EXPECT_EQ(h.s.LastCanvasX, c.x) << c.what;
        EXPECT_EQ(h.s.LastCanvasY, c.y) << c.what;
    }
}

TEST(CanvasPress, SameColourAgainChangesNothingButSounds) {
    Harness h;
    h.f.scene.setCanvasImage(fixture());
    h.canvasClick(150, 150);
    const Image once = h.f.scene.canvas();
    h.canvasClick(150, 150);
    EXPECT_EQ(h.f.scene.canvas(), once);
    EXPECT_EQ(h.fake.sound.played.size(), 2u);
}

TEST(CanvasPress, PositionRoundsHalfToEven) {
    Harness h;
    h.press(30 + 100.5f, 29 + 101.5f);
    EXPECT_EQ(h.s.LastCanvasX, 100);
    EXPECT_EQ(h.s.LastCanvasY, 102);
}

TEST(CanvasPress, FillsAnAreaOfTheRealDrawing) {
    Harness h;
    const Image before = h.f.scene.canvas();
    h.canvasClick(3, 3);
    const int region = regionSize(before, 3, 3);
    EXPECT_GT(region, 1000);
    EXPECT_EQ(changedPixels(before, h.f.scene.canvas()), region);
}

Image pencilStroke(std::initializer_list<std::pair<float, float>> points, int buttons = kLeftButton,
                   bool pencil = true) {
    Harness h;
    h.f.scene.setCanvasImage(Image(750, 600, kWhite));
    if (pencil) {
        h.clickOn(C::olovka);
    }
    auto it = points.begin();
    h.press(30 + it->first, 29 + it->second, buttons == kRightButton ? kRightButton : kLeftButton);
    for (++it; it != points.end(); ++it) {
        h.move(30 + it->first, 29 + it->second, buttons);
    }
    return h.f.scene.canvas();
}

TEST(Pencil, DrawsAThreePixelLineFromThePressPoint) {
    const Image img = pencilStroke({{10, 10}, {110, 10}});
    for (int x = 9; x <= 111; ++x) {
        EXPECT_EQ(img.at(x, 8), kWhite);
        EXPECT_EQ(img.at(x, 9), kRed);
        EXPECT_EQ(img.at(x, 10), kRed);
        EXPECT_EQ(img.at(x, 11), kRed);
        EXPECT_EQ(img.at(x, 12), kWhite);
    }
    EXPECT_EQ(img.at(8, 10), kWhite);
    EXPECT_EQ(img.at(112, 10), kWhite);
}

TEST(Pencil, DrawsOnlyWithTheLeftButtonAloneAndThePencilActive) {
    const Image blank(750, 600, kWhite);
    EXPECT_EQ(pencilStroke({{10, 10}}), blank) << "press and release without movement";
    EXPECT_EQ(pencilStroke({{10, 10}, {50, 50}}, kRightButton), blank);
    EXPECT_EQ(pencilStroke({{10, 10}, {50, 50}}, kLeftButton | kRightButton), blank);
    EXPECT_NE(pencilStroke({{10, 10}, {50, 50}}), blank);
}

TEST(Pencil, BucketDragDrawsNothing) {
    Harness h;
    Image page(750, 600, kWhite);
    page.at(10, 10) = kBlack; // the press lands on an outline, so it fills nothing either
    h.f.scene.setCanvasImage(page);
    h.press(30 + 10, 29 + 10);
    h.move(30 + 50, 29 + 50, kLeftButton);
    EXPECT_EQ(h.f.scene.canvas(), page);
}

TEST(Pencil, FastStrokeHasNoGapsAndLeavingTheCanvasCutsIt) {
    const Image img = pencilStroke({{10, 300}, {400, 300}, {400, 700}, {700, 500}});
    for (int x = 10; x <= 400; ++x) {
        EXPECT_EQ(img.at(x, 300), kRed) << x;
    }
    for (int y = 300; y <= 599; ++y) {
        EXPECT_EQ(img.at(400, y), kRed) << y;
    }
}

TEST(Pencil, UsesTheColourChosenBetweenStrokes) {
    Harness h;
    h.f.scene.setCanvasImage(Image(750, 600, kWhite));
    h.clickOn(C::olovka);
    h.press(30 + 10, 29 + 10);
    h.move(30 + 60, 29 + 10, kLeftButton);
    h.release(30 + 60, 29 + 10);
    h.clickOn(C::PaletaPlava);
    EXPECT_EQ(h.s.FillToolActive, 0) << "choosing a colour keeps the pencil";
    h.press(30 + 10, 29 + 50);
    h.move(30 + 60, 29 + 50, kLeftButton);
    EXPECT_EQ(h.f.scene.canvas().at(30, 10), kRed);
    EXPECT_EQ(h.f.scene.canvas().at(30, 50), rgb(0, 0, 255));
}

TEST(Tools, SwapFacesAndCanvasCursor) {
    Harness h;
    EXPECT_EQ(h.f.scene.cursorOf(C::Slika), CursorKind::Drop);
    h.clickOn(C::olovka);
    EXPECT_EQ(h.s.FillToolActive, 0);
    EXPECT_TRUE(h.shows(C::olovka, "OLOVKA1.JPG"));
    EXPECT_TRUE(h.shows(C::kapljica, "KAPLJICA2.JPG"));
    h.moveOver(C::Slika);
    EXPECT_EQ(h.fake.window.cursor, CursorKind::Custom);
    EXPECT_EQ(h.fake.window.cursorPath, h.appDir + "/PICTURE/CETKA.ICO");
    h.clickOn(C::kapljica);
    EXPECT_EQ(h.s.FillToolActive, -1);
    EXPECT_TRUE(h.shows(C::olovka, "OLOVKA2.JPG"));
    EXPECT_TRUE(h.shows(C::kapljica, "KAPLJICA1.JPG"));
    h.moveOver(C::Slika);
    EXPECT_EQ(h.fake.window.cursorPath, h.appDir + "/PICTURE/KANTICA8.ICO");
}

TEST(Tools, MissingCursorFileLeavesTheToolChangedAndTheProgramRunning) {
    Harness h;
    h.fake.files.remove(h.asset("PICTURE/CETKA.ICO"));
    h.clickOn(C::olovka);
    EXPECT_EQ(h.s.FillToolActive, 0);
    EXPECT_TRUE(h.shows(C::olovka, "OLOVKA1.JPG"));
    EXPECT_EQ(h.f.scene.cursorOf(C::Slika), CursorKind::Drop);
}

} // namespace
} // namespace tintaro::test
