// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"
#include "platform/Platform.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace tintaro {

// The picture controls of the window, in stacking order from the topmost.
// The label lblPlay is never drawn and never receives events, and the timer
// tmrRepeat is a plain field of the scene, so neither appears here.
enum class ControlId : int {
    Papir,            // blank-page button ("paper"): wipes the canvas to the empty page
    Rubber,           // eraser button: wipes the canvas and reloads the current drawing
    olovka,           // pencil tool button ("pencil")
    kapljica,         // fill-bucket tool button ("droplet")
    PrintPict,        // printing notice panel, shown during the print pause
    Back,             // gallery screen: back to the colouring screen
    Ne,               // exit panel: "no", stay
    Da,               // exit panel: "yes", leave the program
    Izlaz,            // exit confirmation panel ("exit")
    Zatvori,          // information panel: close mark ("close")
    Firma,            // information panel: opens the maker's web page ("company")
    visit_site,       // information panel: opens the product's web page
    Registered,       // information panel picture
    Galerija25,       // gallery ("galerija") thumbnail 25: puts drawing 25 on the canvas
    Galerija24,       // gallery thumbnail 24: puts drawing 24 on the canvas
    Galerija23,       // gallery thumbnail 23: puts drawing 23 on the canvas
    Galerija22,       // gallery thumbnail 22: puts drawing 22 on the canvas
    Galerija21,       // gallery thumbnail 21: puts drawing 21 on the canvas
    Galerija20,       // gallery thumbnail 20: puts drawing 20 on the canvas
    Galerija19,       // gallery thumbnail 19: puts drawing 19 on the canvas
    Galerija18,       // gallery thumbnail 18: puts drawing 18 on the canvas
    Galerija17,       // gallery thumbnail 17: puts drawing 17 on the canvas
    Galerija16,       // gallery thumbnail 16: puts drawing 16 on the canvas
    Galerija15,       // gallery thumbnail 15: puts drawing 15 on the canvas
    Galerija14,       // gallery thumbnail 14: puts drawing 14 on the canvas
    Galerija13,       // gallery thumbnail 13: puts drawing 13 on the canvas
    Galerija12,       // gallery thumbnail 12: puts drawing 12 on the canvas
    Galerija11,       // gallery thumbnail 11: puts drawing 11 on the canvas
    Galerija10,       // gallery thumbnail 10: puts drawing 10 on the canvas
    Galerija9,        // gallery thumbnail 9: puts drawing 9 on the canvas
    Galerija8,        // gallery thumbnail 8: puts drawing 8 on the canvas
    Galerija7,        // gallery thumbnail 7: puts drawing 7 on the canvas
    Galerija6,        // gallery thumbnail 6: puts drawing 6 on the canvas
    Galerija5,        // gallery thumbnail 5: puts drawing 5 on the canvas
    Galerija4,        // gallery thumbnail 4: puts drawing 4 on the canvas
    Galerija3,        // gallery thumbnail 3: puts drawing 3 on the canvas
    Galerija2,        // gallery thumbnail 2: puts drawing 2 on the canvas
    Galerija1,        // gallery thumbnail 1: puts drawing 1 on the canvas
    PaletaPink,       // palette ("palette") 12: magenta
    PaletaCrna,       // palette 11: black (30, 30, 30), so it stays fillable
    PaletaPlava,      // palette 10: blue
    PaletaBraon,      // palette 9: brown
    PaletaTamnozuta,  // palette 8: named "dark yellow", but paints white
    PaletaSiva,       // palette 7: grey
    PaletaLjubicasta, // palette 6: violet
    PaletaOranz,      // palette 5: orange
    PaletaSvPlava,    // palette 4: light blue
    PaletaZuta,       // palette 3: yellow
    PaletaZelena,     // palette 2: green
    PaletaCrvena,     // palette 1: red
    MoreImages,       // colouring screen: opens the gallery
    MuteWave,         // sound-effects switch (the speaker)
    MusicOn,          // background-music switch
    Slika,            // the canvas ("picture"): 750 x 600, fill and pencil
};

constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Slika) + 1;

constexpr int index(ControlId id) {
    return static_cast<int>(id);
}
constexpr ControlId controlAt(int i) {
    return static_cast<ControlId>(i);
}

// Thumbnail n (1..25).
constexpr ControlId galerija(int n) {
    return controlAt(index(ControlId::Galerija1) - (n - 1));
}

// Where a control belongs: one of the two screens, or one of the three panels.
// The art tool cuts a control's faces from the picture of its place.
enum class Place { Colouring, Gallery, ExitPanel, InfoPanel, PrintPanel };

// A button's resting face, and the face it shows while the pointer is over it.
struct FacePair {
    std::string_view resting;
    std::string_view hover;
};

// The flag a switch button's faces follow.
enum class FaceFlag { None, SoundOnFlag, MusicOnFlag };

// The flag value at which the switched thing is on: SoundOnFlag is 1 while the
// effects play, but MusicOnFlag is 0 while the music plays.
constexpr int onValue(FaceFlag flag) {
    return flag == FaceFlag::MusicOnFlag ? 0 : 1;
}

// The picture files of a control's faces, all in PICTURE.
struct Faces {
    FacePair always{};           // a button without a switch
    std::string_view selected{}; // a palette button's chosen colour, the active tool
    FaceFlag flag = FaceFlag::None;
    FacePair whenOne{};  // a switch button while its flag is 1
    FacePair whenZero{}; // and while it is 0

    // The pair to show now; a switch button has none for any other flag value.
    constexpr std::optional<FacePair> current(int flagValue) const {
        if (flag == FaceFlag::None) {
            return always.resting.empty() ? std::nullopt : std::optional<FacePair>(always);
        }
        if (flagValue == 1) {
            return whenOne;
        }
        if (flagValue == 0) {
            return whenZero;
        }
        return std::nullopt;
    }
    constexpr bool any() const { return !always.resting.empty() || flag != FaceFlag::None; }
};

// A few controls, in order; a list longer than its room does not compile.
struct ControlList {
    std::array<ControlId, 5> ids{};
    std::size_t size = 0;

    constexpr ControlList() = default;
    constexpr ControlList(std::initializer_list<ControlId> list) {
        for (ControlId id : list) {
            ids[size++] = id;
        }
    }
    constexpr const ControlId* begin() const { return ids.data(); }
    constexpr const ControlId* end() const { return ids.data() + size; }
};

// What pointer movement over the control does to the faces: it lights the control
// itself, then rests the others in order. The canvas's handler is the canvas's own
// and rests its group from there; palette buttons and thumbnails have handlers of
// their own and no group.
struct HoverGroup {
    bool lights = false;
    ControlList rests{};

    constexpr bool any() const { return lights || rests.size > 0; }
};

// One control, all it is at design time.
struct ControlSpec {
    ControlId id;
    std::string_view name;
    Rect rect; // window pixels
    bool visible;
    int tabIndex;
    CursorKind cursor;
    std::string_view startPicture; // file in PICTURE, empty for none
    Place place;
    int screenOrder; // where the screen procedures handle it, from 1; 0 on a panel
    Faces faces;
    HoverGroup hover;
};

namespace control_rows {

using C = ControlId;
constexpr auto A = CursorKind::Arrow;
constexpr auto H = CursorKind::Hand;
constexpr auto P = CursorKind::Palette;
constexpr auto D = CursorKind::Drop;
constexpr auto S = CursorKind::SystemDefault;
constexpr auto Colouring = Place::Colouring;
constexpr auto Gallery = Place::Gallery;
constexpr auto Exit = Place::ExitPanel;
constexpr auto Info = Place::InfoPanel;
constexpr auto Print = Place::PrintPanel;

constexpr Faces lit(std::string_view resting, std::string_view hover) {
    return {.always = {resting, hover}};
}
constexpr Faces tool(std::string_view unselected, std::string_view selected) {
    return {.always = {unselected, {}}, .selected = selected};
}
constexpr Faces disc(std::string_view normal, std::string_view hover, std::string_view selected) {
    return {.always = {normal, hover}, .selected = selected};
}
constexpr Faces switched(FaceFlag flag, FacePair whenOne, FacePair whenZero) {
    return {.flag = flag, .whenOne = whenOne, .whenZero = whenZero};
}
constexpr HoverGroup lights(ControlList rests = {}) {
    return {true, rests};
}
constexpr HoverGroup rests(ControlList rests) {
    return {false, rests};
}
constexpr Faces none{};
constexpr HoverGroup still{};

constexpr ControlSpec thumbnail(ControlId id, std::string_view name, int left, int top, int tab, int n) {
    return {id, name, {left, top, 131, 122}, false, tab, A, "", Gallery, n + 1, none, still};
}

} // namespace control_rows

// Every picture control, topmost first: row i is control i.
inline constexpr std::array<ControlSpec, kControlCount> kControlTable = [] {
    using namespace control_rows;
    // clang-format off
    return std::array<ControlSpec, kControlCount>{{
        {C::Papir, "Papir", {936, 412, 63, 61}, true, 54, A, "PAPIR1.JPG", Colouring, 6,
         lit("PAPIR1.JPG", "PAPIR2.JPG"), lights({C::Rubber})},
        {C::Rubber, "Rubber", {825, 412, 112, 61}, true, 53, A, "GUMICA1.JPG", Colouring, 5,
         lit("GUMICA1.JPG", "GUMICA2.JPG"), lights({C::Papir})},
        {C::olovka, "olovka", {804, 571, 62, 81}, true, 52, H, "OLOVKA2.JPG", Colouring, 8,
         tool("OLOVKA2.JPG", "OLOVKA1.JPG"), still},
        {C::kapljica, "kapljica", {871, 571, 58, 81}, true, 51, H, "KAPLJICA1.JPG", Colouring, 7,
         tool("KAPLJICA2.JPG", "KAPLJICA1.JPG"), still},
        {C::PrintPict, "PrintPict", {312, 259, 400, 250}, false, 49, A, "PRINTING.JPG", Print, 0,
         none, still},
        {C::Back, "Back", {30, 0, 192, 40}, false, 48, A, "BACK1.JPG", Gallery, 1,
         lit("BACK1.JPG", "BACK2.JPG"), lights()},
        {C::Ne, "Ne", {568, 409, 85, 50}, false, 47, A, "NO1.JPG", Exit, 0,
         lit("NO1.JPG", "NO2.JPG"), lights()},
        {C::Da, "Da", {368, 409, 107, 50}, false, 46, A, "YES1.JPG", Exit, 0,
         lit("YES1.JPG", "YES2.JPG"), lights()},
        {C::Izlaz, "Izlaz", {312, 259, 400, 250}, false, 45, S, "CTRLX.JPG", Exit, 0,
         none, rests({C::Da, C::Ne})},
        {C::Zatvori, "Zatvori", {632, 269, 73, 27}, false, 44, A, "CLOSE1.JPG", Info, 0,
         lit("CLOSE1.JPG", "CLOSE2.JPG"), lights()},
        {C::Firma, "Firma", {459, 462, 110, 35}, false, 43, A, "CTRLR5821.JPG", Info, 0,
         lit("CTRLR5821.JPG", "CTRLR5822.JPG"), lights()},
        {C::visit_site, "visit_site", {346, 395, 330, 62}, false, 42, A, "VISIT1.JPG", Info, 0,
         lit("VISIT1.JPG", "VISIT2.JPG"), lights()},
        {C::Registered, "Registered", {312, 259, 400, 250}, false, 41, A, "CTRL-R.JPG", Info, 0,
         none, rests({C::Zatvori, C::Firma, C::visit_site})},
        // The gallery places the thumbnails before it shows them; these places are never seen.
        thumbnail(C::Galerija25, "Galerija25", 96, 248, 40, 25),
        thumbnail(C::Galerija24, "Galerija24", 64, 232, 39, 24),
        thumbnail(C::Galerija23, "Galerija23", 40, 216, 38, 23),
        thumbnail(C::Galerija22, "Galerija22", 24, 208, 37, 22),
        thumbnail(C::Galerija21, "Galerija21", 8, 200, 36, 21),
        thumbnail(C::Galerija20, "Galerija20", 432, 48, 35, 20),
        thumbnail(C::Galerija19, "Galerija19", 440, 32, 34, 19),
        thumbnail(C::Galerija18, "Galerija18", 456, 24, 33, 18),
        thumbnail(C::Galerija17, "Galerija17", 472, 8, 32, 17),
        thumbnail(C::Galerija16, "Galerija16", 496, 0, 31, 16),
        thumbnail(C::Galerija15, "Galerija15", 144, 64, 30, 15),
        thumbnail(C::Galerija14, "Galerija14", 160, 40, 29, 14),
        thumbnail(C::Galerija13, "Galerija13", 168, 24, 28, 13),
        thumbnail(C::Galerija12, "Galerija12", 176, 8, 27, 12),
        thumbnail(C::Galerija11, "Galerija11", 192, 0, 26, 11),
        thumbnail(C::Galerija10, "Galerija10", 1008, 448, 25, 10),
        thumbnail(C::Galerija9, "Galerija9", 1000, 440, 24, 9),
        thumbnail(C::Galerija8, "Galerija8", 1000, 168, 23, 8),
        thumbnail(C::Galerija7, "Galerija7", 1008, 296, 22, 7),
        thumbnail(C::Galerija6, "Galerija6", 1000, 344, 21, 6),
        thumbnail(C::Galerija5, "Galerija5", 832, 32, 20, 5),
        thumbnail(C::Galerija4, "Galerija4", 824, 24, 19, 4),
        thumbnail(C::Galerija3, "Galerija3", 816, 16, 18, 3),
        thumbnail(C::Galerija2, "Galerija2", 808, 8, 17, 2),
        thumbnail(C::Galerija1, "Galerija1", 800, 0, 16, 1),
        // Palette buttons: 1 normal, 2 hover, 3 selected; their movement is the palette's.
        {C::PaletaPink, "PaletaPink", {932, 675, 84, 85}, true, 15, P, "BOJE1_12.JPG", Colouring, 20,
         disc("BOJE1_12.JPG", "BOJE2_12.JPG", "BOJE3_12.JPG"), still},
        {C::PaletaCrna, "PaletaCrna", {848, 675, 84, 85}, true, 14, P, "BOJE1_11.JPG", Colouring, 19,
         disc("BOJE1_11.JPG", "BOJE2_11.JPG", "BOJE3_11.JPG"), still},
        {C::PaletaPlava, "PaletaPlava", {764, 675, 84, 85}, true, 13, P, "BOJE1_10.JPG", Colouring, 18,
         disc("BOJE1_10.JPG", "BOJE2_10.JPG", "BOJE3_10.JPG"), still},
        {C::PaletaBraon, "PaletaBraon", {680, 675, 84, 85}, true, 12, P, "BOJE1_09.JPG", Colouring, 17,
         disc("BOJE1_09.JPG", "BOJE2_09.JPG", "BOJE3_09.JPG"), still},
        {C::PaletaTamnozuta, "PaletaTamnozuta", {596, 675, 84, 85}, true, 11, P, "BOJE1_08.JPG",
         Colouring, 16, disc("BOJE1_08.JPG", "BOJE2_08.JPG", "BOJE3_08.JPG"), still},
        {C::PaletaSiva, "PaletaSiva", {513, 675, 83, 85}, true, 10, P, "BOJE1_07.JPG", Colouring, 15,
         disc("BOJE1_07.JPG", "BOJE2_07.JPG", "BOJE3_07.JPG"), still},
        {C::PaletaLjubicasta, "PaletaLjubicasta", {428, 675, 85, 85}, true, 9, P, "BOJE1_06.JPG",
         Colouring, 14, disc("BOJE1_06.JPG", "BOJE2_06.JPG", "BOJE3_06.JPG"), still},
        {C::PaletaOranz, "PaletaOranz", {345, 675, 83, 85}, true, 8, P, "BOJE1_05.JPG", Colouring, 13,
         disc("BOJE1_05.JPG", "BOJE2_05.JPG", "BOJE3_05.JPG"), still},
        {C::PaletaSvPlava, "PaletaSvPlava", {261, 675, 84, 85}, true, 7, P, "BOJE1_04.JPG", Colouring, 12,
         disc("BOJE1_04.JPG", "BOJE2_04.JPG", "BOJE3_04.JPG"), still},
        {C::PaletaZuta, "PaletaZuta", {176, 675, 84, 85}, true, 6, P, "BOJE1_03.JPG", Colouring, 11,
         disc("BOJE1_03.JPG", "BOJE2_03.JPG", "BOJE3_03.JPG"), still},
        {C::PaletaZelena, "PaletaZelena", {93, 675, 84, 85}, true, 5, P, "BOJE1_02.JPG", Colouring, 10,
         disc("BOJE1_02.JPG", "BOJE2_02.JPG", "BOJE3_02.JPG"), still},
        {C::PaletaCrvena, "PaletaCrvena", {8, 675, 85, 85}, true, 4, P, "BOJE1_01.JPG", Colouring, 9,
         disc("BOJE1_01.JPG", "BOJE2_01.JPG", "BOJE3_01.JPG"), still},
        {C::MoreImages, "MoreImages", {832, 241, 160, 169}, true, 3, A, "MOREIMAGES1.JPG", Colouring, 2,
         lit("MOREIMAGES1.JPG", "MOREIMAGES2.JPG"), lights({C::Rubber, C::Papir, C::MuteWave})},
        {C::MuteWave, "MuteWave", {835, 485, 78, 79}, true, 2, A, "ZVUCNIK1.JPG", Colouring, 3,
         switched(FaceFlag::SoundOnFlag, {"ZVUCNIK1.JPG", "ZVUCNIK2.JPG"},
                  {"SOUNDOFF2.JPG", "SOUNDOFF1.JPG"}),
         lights({C::Rubber, C::Papir})},
        {C::MusicOn, "MusicOn", {919, 485, 78, 78}, true, 1, A, "MUSICOFF2.JPG", Colouring, 4,
         switched(FaceFlag::MusicOnFlag, {"MUSICOFF2.JPG", "MUSICOFF1.JPG"},
                  {"MUZIKA1.JPG", "MUZIKA2.JPG"}),
         lights({C::Rubber, C::Papir, C::MuteWave})},
        {C::Slika, "Slika", {30, 29, 750, 600}, true, 0, D, "01.GIF", Colouring, 1,
         none, rests({C::MoreImages, C::Rubber, C::Papir, C::MuteWave, C::MusicOn})},
    }};
    // clang-format on
}();

constexpr const ControlSpec& controlSpec(ControlId id) {
    return kControlTable[static_cast<std::size_t>(index(id))];
}

// What of a control shows while its place is shown: the controls of the same place
// above it cut away the edges they cover over its whole height or width.
constexpr Rect uncoveredPart(ControlId id) {
    const ControlSpec& row = controlSpec(id);
    Rect r = row.rect;
    for (int i = 0; i < index(id); ++i) {
        const ControlSpec& above = kControlTable[static_cast<std::size_t>(i)];
        if (above.place != row.place) {
            continue;
        }
        const Rect& a = above.rect;
        if (a.y <= r.y && a.y + a.h >= r.y + r.h) {
            if (a.x > r.x && a.x < r.x + r.w && a.x + a.w >= r.x + r.w) {
                r.w = a.x - r.x;
            } else if (a.x <= r.x && a.x + a.w > r.x && a.x + a.w < r.x + r.w) {
                r.w -= a.x + a.w - r.x;
                r.x = a.x + a.w;
            }
        }
        if (a.x <= r.x && a.x + a.w >= r.x + r.w) {
            if (a.y > r.y && a.y < r.y + r.h && a.y + a.h >= r.y + r.h) {
                r.h = a.y - r.y;
            } else if (a.y <= r.y && a.y + a.h > r.y && a.y + a.h < r.y + r.h) {
                r.h -= a.y + a.h - r.y;
                r.y = a.y + a.h;
            }
        }
    }
    return r;
}

// The controls of a screen in the order its procedures handle them.
constexpr std::size_t countOn(Place place) {
    std::size_t n = 0;
    for (const auto& row : kControlTable) {
        n += row.place == place ? 1 : 0;
    }
    return n;
}
template <Place place> constexpr std::array<ControlId, countOn(place)> screenControls() {
    std::array<ControlId, countOn(place)> out{};
    for (const auto& row : kControlTable) {
        if (row.place == place) {
            out[static_cast<std::size_t>(row.screenOrder - 1)] = row.id;
        }
    }
    return out;
}

constexpr Rect kCanvasRect = controlSpec(ControlId::Slika).rect;
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

constexpr std::string_view kWindowCaption = "Tintaro - Zibbo 10  by Quelvan Studio";

} // namespace tintaro
