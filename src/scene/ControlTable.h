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
    Papir,
    Rubber,
    olovka,
    kapljica,
    PrintPict,
    Back,
    Ne,
    Da,
    Izlaz,
    Zatvori,
    Firma,
    visit_site,
    Registered,
    Galerija25,
    Galerija24,
    Galerija23,
    Galerija22,
    Galerija21,
    Galerija20,
    Galerija19,
    Galerija18,
    Galerija17,
    Galerija16,
    Galerija15,
    Galerija14,
    Galerija13,
    Galerija12,
    Galerija11,
    Galerija10,
    Galerija9,
    Galerija8,
    Galerija7,
    Galerija6,
    Galerija5,
    Galerija4,
    Galerija3,
    Galerija2,
    Galerija1,
    PaletaPink,
    PaletaCrna,
    PaletaPlava,
    PaletaBraon,
    PaletaTamnozuta,
    PaletaSiva,
    PaletaLjubicasta,
    PaletaOranz,
    PaletaSvPlava,
    PaletaZuta,
    PaletaZelena,
    PaletaCrvena,
    MoreImages,
    MuteWave,
    MusicOn,
    Slika,
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
