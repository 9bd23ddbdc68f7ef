#include "scene/ControlTable.h"

namespace tintaro {

namespace {
constexpr auto A = CursorKind::Arrow;
constexpr auto H = CursorKind::Hand;
constexpr auto P = CursorKind::Palette;
constexpr auto D = CursorKind::Drop;
constexpr auto S = CursorKind::SystemDefault;
using C = ControlId;
} // namespace

// Design-time geometry of every picture control, topmost first.
const std::array<ControlSpec, kControlCount> kControlTable{{
    {C::Papir, "Papir", {936, 412, 63, 61}, true, 54, A, "PAPIR1.JPG"},
    {C::Rubber, "Rubber", {825, 412, 112, 61}, true, 53, A, "GUMICA1.JPG"},
    {C::olovka, "olovka", {804, 571, 62, 81}, true, 52, H, "OLOVKA2.JPG"},
    {C::kapljica, "kapljica", {871, 571, 58, 81}, true, 51, H, "KAPLJICA1.JPG"},
    {C::PrintPict, "PrintPict", {312, 259, 400, 250}, false, 49, A, "PRINTING.JPG"},
    {C::Back, "Back", {30, 0, 192, 40}, false, 48, A, "BACK1.JPG"},
    {C::Ne, "Ne", {568, 409, 85, 50}, false, 47, A, "NO1.JPG"},
    {C::Da, "Da", {368, 409, 107, 50}, false, 46, A, "YES1.JPG"},
    {C::Izlaz, "Izlaz", {312, 259, 400, 250}, false, 45, S, "CTRLX.JPG"},
    {C::Zatvori, "Zatvori", {632, 269, 73, 27}, false, 44, A, "CLOSE1.JPG"},
    {C::Firma, "Firma", {459, 462, 110, 35}, false, 43, A, "CTRLR5821.JPG"},
    {C::visit_site, "visit_site", {346, 395, 330, 62}, false, 42, A, "VISIT1.JPG"},
    {C::Registered, "Registered", {312, 259, 400, 250}, false, 41, A, "CTRL-R.JPG"},
    {C::Galerija25, "Galerija25", {96, 248, 131, 122}, false, 40, A, ""},
    {C::Galerija24, "Galerija24", {64, 232, 131, 122}, false, 39, A, ""},
    {C::Galerija23, "Galerija23", {40, 216, 131, 122}, false, 38, A, ""},
    {C::Galerija22, "Galerija22", {24, 208, 131, 122}, false, 37, A, ""},
    {C::Galerija21, "Galerija21", {8, 200, 131, 122}, false, 36, A, ""},
    {C::Galerija20, "Galerija20", {432, 48, 131, 122}, false, 35, A, ""},
    {C::Galerija19, "Galerija19", {440, 32, 131, 122}, false, 34, A, ""},
    {C::Galerija18, "Galerija18", {456, 24, 131, 122}, false, 33, A, ""},
    {C::Galerija17, "Galerija17", {472, 8, 131, 122}, false, 32, A, ""},
    {C::Galerija16, "Galerija16", {496, 0, 131, 122}, false, 31, A, ""},
    {C::Galerija15, "Galerija15", {144, 64, 131, 122}, false, 30, A, ""},
    {C::Galerija14, "Galerija14", {160, 40, 131, 122}, false, 29, A, ""},
    {C::Galerija13, "Galerija13", {168, 24, 131, 122}, false, 28, A, ""},
    {C::Galerija12, "Galerija12", {176, 8, 131, 122}, false, 27, A, ""},
    {C::Galerija11, "Galerija11", {192, 0, 131, 122}, false, 26, A, ""},
    {C::Galerija10, "Galerija10", {1008, 448, 131, 122}, false, 25, A, ""},
    {C::Galerija9, "Galerija9", {1000, 440, 131, 122}, false, 24, A, ""},
    {C::Galerija8, "Galerija8", {1000, 168, 131, 122}, false, 23, A, ""},
    {C::Galerija7, "Galerija7", {1008, 296, 131, 122}, false, 22, A, ""},
    {C::Galerija6, "Galerija6", {1000, 344, 131, 122}, false, 21, A, ""},
    {C::Galerija5, "Galerija5", {832, 32, 131, 122}, false, 20, A, ""},
    {C::Galerija4, "Galerija4", {824, 24, 131, 122}, false, 19, A, ""},
    {C::Galerija3, "Galerija3", {816, 16, 131, 122}, false, 18, A, ""},
    {C::Galerija2, "Galerija2", {808, 8, 131, 122}, false, 17, A, ""},
    {C::Galerija1, "Galerija1", {800, 0, 131, 122}, false, 16, A, ""},
    {C::PaletaPink, "PaletaPink", {932, 675, 84, 85}, true, 15, P, "BOJE1_12.JPG"},
    {C::PaletaCrna, "PaletaCrna", {848, 675, 84, 85}, true, 14, P, "BOJE1_11.JPG"},
    {C::PaletaPlava, "PaletaPlava", {764, 675, 84, 85}, true, 13, P, "BOJE1_10.JPG"},
    {C::PaletaBraon, "PaletaBraon", {680, 675, 84, 85}, true, 12, P, "BOJE1_09.JPG"},
    {C::PaletaTamnozuta, "PaletaTamnozuta", {596, 675, 84, 85}, true, 11, P, "BOJE1_08.JPG"},
    {C::PaletaSiva, "PaletaSiva", {513, 675, 83, 85}, true, 10, P, "BOJE1_07.JPG"},
    {C::PaletaLjubicasta, "PaletaLjubicasta", {428, 675, 85, 85}, true, 9, P, "BOJE1_06.JPG"},
    {C::PaletaOranz, "PaletaOranz", {345, 675, 83, 85}, true, 8, P, "BOJE1_05.JPG"},
    {C::PaletaSvPlava, "PaletaSvPlava", {261, 675, 84, 85}, true, 7, P, "BOJE1_04.JPG"},
    {C::PaletaZuta, "PaletaZuta", {176, 675, 84, 85}, true, 6, P, "BOJE1_03.JPG"},
    {C::PaletaZelena, "PaletaZelena", {93, 675, 84, 85}, true, 5, P, "BOJE1_02.JPG"},
    {C::PaletaCrvena, "PaletaCrvena", {8, 675, 85, 85}, true, 4, P, "BOJE1_01.JPG"},
    {C::MoreImages, "MoreImages", {832, 241, 160, 169}, true, 3, A, "MOREIMAGES1.JPG"},
    {C::MuteWave, "MuteWave", {835, 485, 78, 79}, true, 2, A, "ZVUCNIK1.JPG"},
    {C::MusicOn, "MusicOn", {919, 485, 78, 78}, true, 1, A, "MUSICOFF2.JPG"},
    {C::Slika, "Slika", {30, 29, 750, 600}, true, 0, D, "01.GIF"},
}};

} // namespace tintaro
