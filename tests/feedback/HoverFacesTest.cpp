// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Harness.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tintaro::test {
namespace {

using C = ControlId;

// Resting and hover faces with effects on and music off.
const std::map<ControlId, std::pair<std::string, std::string>> kFaces{
    {C::MoreImages, {"MOREIMAGES1.JPG", "MOREIMAGES2.JPG"}},
    {C::Rubber, {"GUMICA1.JPG", "GUMICA2.JPG"}},
    {C::Papir, {"PAPIR1.JPG", "PAPIR2.JPG"}},
    {C::Back, {"BACK1.JPG", "BACK2.JPG"}},
    {C::MuteWave, {"ZVUCNIK1.JPG", "ZVUCNIK2.JPG"}},
    {C::MusicOn, {"MUSICOFF2.JPG", "MUSICOFF1.JPG"}},
    {C::Da, {"YES1.JPG", "YES2.JPG"}},
    {C::Ne, {"NO1.JPG", "NO2.JPG"}},
    {C::Zatvori, {"CLOSE1.JPG", "CLOSE2.JPG"}},
    {C::Firma, {"CTRLR5821.JPG", "CTRLR5822.JPG"}},
    {C::visit_site, {"VISIT1.JPG", "VISIT2.JPG"}},
};

enum class Panel { None, Exit, Info };

struct Row {
    const char* over;
    Panel panel;
    float x, y;
    std::set<ControlId> rested;
    ControlId lit; // Slika: none
};

void openPanel(Harness& h, Panel panel) {
    if (panel == Panel::Exit) {
        h.key('X', kCtrl);
    } else if (panel == Panel::Info) {
        h.key('R', kCtrl);
    }
}

TEST(HoverFaces, EachRowAssignsItsOwnSetOfFaces) {
    const Row rows[] = {
        {"background",
         Panel::None,
         800,
         150,
         {C::MoreImages, C::Rubber, C::Papir, C::Back, C::MuteWave, C::MusicOn},
         C::Slika},
        {"canvas",
         Panel::None,
         300,
         300,
         {C::MoreImages, C::Rubber, C::Papir, C::MuteWave, C::MusicOn},
         C::Slika},
        {"MoreImages", Panel::None, 900, 300, {C::Rubber, C::Papir, C::MuteWave}, C::MoreImages},
        {"MuteWave", Panel::None, 870, 520, {C::Rubber, C::Papir}, C::MuteWave},
        {"MusicOn", Panel::None, 950, 520, {C::Rubber, C::Papir, C::MuteWave}, C::MusicOn},
        {"Rubber", Panel::None, 880, 440, {C::Papir}, C::Rubber},
        {"Papir", Panel::None, 960, 440, {C::Rubber}, C::Papir},
        {"olovka", Panel::None, 830, 600, {}, C::Slika},
        {"Izlaz", Panel::Exit, 330, 280, {C::Da, C::Ne}, C::Slika},
        {"Da", Panel::Exit, 400, 430, {}, C::Da},
        {"Ne", Panel::Exit, 600, 430, {}, C::Ne},
        {"Registered", Panel::Info, 330, 280, {C::Zatvori, C::Firma, C::visit_site}, C::Slika},
        {"Zatvori", Panel::Info, 650, 280, {}, C::Zatvori},
        {"Firma", Panel::Info, 500, 475, {}, C::Firma},
        {"visit_site", Panel::Info, 500, 420, {}, C::visit_site},
    };
    for (const auto& row : rows) {
        // Every face lit first: what the movement rests shows.
        {
            Harness h;
            openPanel(h, row.panel);
            for (const auto& [id, faces] : kFaces) {
                h.f.scene.assignPicture(id, picturePath(faces.second));
            }
            h.move(row.x, row.y);
            for (const auto& [id, faces] : kFaces) {
                const bool rested = row.rested.count(id) > 0;
                EXPECT_TRUE(h.shows(id, rested ? faces.first : faces.second))
                    << row.over << ": " << kControlTable[index(id)].name
                    << (rested ? " should rest" : " should stay lit");
            }
        }
        // Every face resting first: what the movement lights shows.
        {
            Harness h;
            openPanel(h, row.panel);
            for (const auto& [id, faces] : kFaces) {
                h.f.scene.assignPicture(id, picturePath(faces.first));
            }
            h.move(row.x, row.y);
            for (const auto& [id, faces] : kFaces) {
                const bool lit = id == row.lit;
                EXPECT_TRUE(h.shows(id, lit ? faces.second : faces.first))
                    << row.over << ": " << kControlTable[index(id)].name
                    << (lit ? " should light" : " should stay resting");
            }
        }
    }
}

TEST(HoverFaces, SpeakerAndMusicFacesFollowTheirSwitchesAtTheNextMovement) {
    Harness h;
    h.clickOn(C::MuteWave);
    EXPECT_TRUE(h.shows(C::MuteWave, "ZVUCNIK1.JPG")) << "the click itself changes no face";
    h.moveOver(C::MuteWave);
    EXPECT_TRUE(h.shows(C::MuteWave, "SOUNDOFF1.JPG"));
    h.move(800, 150);
    EXPECT_TRUE(h.shows(C::MuteWave, "SOUNDOFF2.JPG"));
    h.clickOn(C::MusicOn);
    h.moveOver(C::MusicOn);
    EXPECT_TRUE(h.shows(C::MusicOn, "MUZIKA2.JPG"));
    h.move(800, 150);
    EXPECT_TRUE(h.shows(C::MusicOn, "MUZIKA1.JPG"));
}

TEST(HoverFaces, PanelButtonKeepsItsFaceWhenThePanelOpensAgain) {
    Harness h;
    h.key('X', kCtrl);
    h.moveOver(C::Ne);
    h.clickOn(C::Ne);
    h.key('X', kCtrl);
    EXPECT_TRUE(h.shows(C::Ne, "NO2.JPG"));
}

// A web button sends the window away lit; whichever way it comes back, both
// web buttons rest, and the panel's other faces are left alone.
TEST(HoverFaces, WebButtonsRestWhenTheWindowComesBack) {
    for (const EventType back : {EventType::Restored, EventType::FocusGained}) {
        Harness h;
        h.key('R', kCtrl);
        h.moveOver(C::Zatvori);
        h.moveOver(C::visit_site);
        h.clickOn(C::visit_site);
        ASSERT_TRUE(h.shows(C::visit_site, "VISIT2.JPG"));
        Event e;
        e.type = back;
        h.send(e);
        EXPECT_TRUE(h.shows(C::visit_site, "VISIT1.JPG"));
        EXPECT_TRUE(h.shows(C::Firma, "CTRLR5821.JPG"));
        EXPECT_TRUE(h.shows(C::Zatvori, "CLOSE2.JPG"));
    }
}

TEST(HoverFaces, PencilDragChangesNoFace) {
    Harness h;
    h.clickOn(C::olovka);
    h.moveOver(C::Rubber);
    h.press(100, 100);
    h.move(200, 200, kLeftButton);
    EXPECT_TRUE(h.shows(C::Rubber, "GUMICA2.JPG"));
}

} // namespace
} // namespace tintaro::test
