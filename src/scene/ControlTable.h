#pragma once

#include "platform/Image.h"
#include "platform/Platform.h"

#include <array>
#include <cstddef>
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

struct ControlSpec {
    ControlId id;
    std::string_view name;
    Rect rect; // window pixels
    bool visible;
    int tabIndex;
    CursorKind cursor;
    std::string_view startPicture; // file in PICTURE, empty for none
};

extern const std::array<ControlSpec, kControlCount> kControlTable;

constexpr int index(ControlId id) {
    return static_cast<int>(id);
}
constexpr ControlId controlAt(int i) {
    return static_cast<ControlId>(i);
}

// Thumbnail n (1..25) and palette button k (1..12, PaletaCrvena first).
constexpr ControlId galerija(int n) {
    return controlAt(index(ControlId::Galerija1) - (n - 1));
}
constexpr int galerijaNumber(ControlId id) {
    return index(ControlId::Galerija1) - index(id) + 1;
}
constexpr bool isGalerija(ControlId id) {
    return index(id) >= index(ControlId::Galerija25) && index(id) <= index(ControlId::Galerija1);
}
constexpr ControlId paleta(int k) {
    return controlAt(index(ControlId::PaletaCrvena) - (k - 1));
}
constexpr int paletaIndex(ControlId id) {
    return index(ControlId::PaletaCrvena) - index(id) + 1;
}
constexpr bool isPaleta(ControlId id) {
    return index(id) >= index(ControlId::PaletaPink) && index(id) <= index(ControlId::PaletaCrvena);
}

constexpr Rect kCanvasRect{30, 29, 750, 600};
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

constexpr std::string_view kWindowCaption = "Tintaro - Zibbo 10  by Quelvan Studio";

} // namespace tintaro
