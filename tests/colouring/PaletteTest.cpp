// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Palette.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

#include <string>

namespace tintaro::test {
namespace {

using C = ControlId;

std::string face(int phase, int k) {
    return "BOJE" + std::to_string(phase) + "_" + (k < 10 ? "0" : "") + std::to_string(k) + ".JPG";
}

// The faces of the twelve buttons as phases: 1 normal, 2 hover, 3 selected.
std::string phases(Harness& h) {
    std::string out;
    for (int k = 1; k <= 12; ++k) {
        char p = '?';
        for (int phase = 1; phase <= 3; ++phase) {
            if (h.shows(ColourTable[k - 1].control, face(phase, k))) {
                p = static_cast<char>('0' + phase);
            }
        }
        out += p;
    }
    return out;
}

TEST(Palette, ClickChoosesColourSoundAndSelectedFace) {
    for (int k = 1; k <= 12; ++k) {
        Harness h;
        h.clickOn(ColourTable[k - 1].control);
        EXPECT_EQ(h.s.CurrentColor, static_cast<std::int32_t>(ColourTable[k - 1].value));
        EXPECT_EQ(h.fake.sound.played.back(), h.appDir + "/SOUND/" + std::string(ColourTable[k - 1].sound));
        std::string expected(12, '1');
        expected[k - 1] = '3';
        EXPECT_EQ(phases(h), expected);
        EXPECT_EQ(h.s.PaletteSelected[k - 1], 1);
    }
}

TEST(Palette, TableHoldsTheSurprisingValues) {
    EXPECT_EQ(ColourTable[7].value, 16777215u) << "PaletaTamnozuta paints white";
    EXPECT_EQ(ColourTable[10].value, 1973790u) << "the black is (30, 30, 30), so black paint stays fillable";
    EXPECT_EQ(ColourTable[11].value, 16711935u) << "PaletaPink is magenta";
    EXPECT_EQ(ColourTable[1].value, 6802484u);
    EXPECT_EQ(ColourTable[8].value, 3368908u);
}

TEST(Palette, FacesFollowThePointerAndTheChoice) {
    Harness h;
    EXPECT_EQ(phases(h), "111111111111") << "at start red is current but nothing is selected";
    h.moveOver(C::PaletaOranz);
    h.moveOver(C::PaletaLjubicasta);
    EXPECT_EQ(phases(h), "111112111111") << "Oranz and Siva rest, Ljubicasta lights";
    h.moveOver(C::PaletaZuta);
    h.moveOver(C::PaletaSiva);
    EXPECT_EQ(phases(h), "112111211111") << "a jump leaves Zuta lit until the background";
    h.move(600, 740 + 25);
    EXPECT_EQ(phases(h), "111111111111");
    h.clickOn(C::PaletaSiva);
    h.moveOver(C::PaletaSiva);
    EXPECT_EQ(phases(h), "111111311111") << "a selected button shows no hover face";
    h.moveOver(C::PaletaTamnozuta);
    EXPECT_EQ(phases(h), "111111321111") << "the selected neighbour rests in its selected face";
    h.clickOn(C::PaletaCrvena);
    EXPECT_EQ(phases(h), "311111111111");
    EXPECT_EQ(h.s.PaletteSelected, (std::array<std::int16_t, 12>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Palette, ColumnsAtTheSeams) {
    Harness h;
    h.move(176, 700); // Zelena and Zuta overlap here; Zuta is higher
    EXPECT_EQ(phases(h), "112111111111");
    h.move(260, 700); // one column of background between Zuta and SvPlava
    EXPECT_EQ(phases(h), "111111111111");
}

TEST(Palette, WithEffectsOffAClickIsSilentButStillChooses) {
    Harness h;
    h.clickOn(C::MuteWave);
    h.clickOn(C::PaletaZuta);
    EXPECT_TRUE(h.fake.sound.played.empty());
    EXPECT_EQ(h.s.CurrentColor, 65535);
    EXPECT_EQ(phases(h), "113111111111");
}

TEST(Palette, UnreadableFaceStillChoosesTheColour) {
    Harness h;
    h.fake.files.remove(h.asset("PICTURE/BOJE1_01.JPG"));
    h.clickOn(C::PaletaZuta);
    EXPECT_EQ(h.s.CurrentColor, 65535);
    EXPECT_EQ(h.s.PaletteSelected[2], 1);
    // The face loop ended at the first button (whose file the test cannot read either: '?').
    EXPECT_EQ(phases(h), "?11111111111");
}

} // namespace
} // namespace tintaro::test
