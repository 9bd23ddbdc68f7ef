#include "FaceTable.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace artgen {

namespace {

struct Control {
    const char* name;
    Screen screen;
    int left;
    int top;
    int width;
    int height;
    int stack;
};

struct PaletteColour {
    const char* control;
    int left;
    int width;
    int red;
    int green;
    int blue;
};

// The twelve colours of the palette, left to right, with their controls' places.
constexpr PaletteColour kPalette[] = {
    {"PaletaCrvena", 8, 85, 255, 0, 0},     {"PaletaZelena", 93, 84, 52, 204, 103},
    {"PaletaZuta", 176, 84, 255, 255, 0},   {"PaletaSvPlava", 261, 84, 0, 204, 255},
    {"PaletaOranz", 345, 83, 255, 102, 0},  {"PaletaLjubicasta", 428, 85, 204, 51, 255},
    {"PaletaSiva", 513, 83, 178, 178, 178}, {"PaletaTamnozuta", 596, 84, 255, 255, 255},
    {"PaletaBraon", 680, 84, 204, 103, 51}, {"PaletaPlava", 764, 84, 0, 0, 255},
    {"PaletaCrna", 848, 84, 30, 30, 30},    {"PaletaPink", 932, 84, 255, 0, 255},
};

std::string hex(int r, int g, int b) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
    return text;
}

Vars litVars(bool lit) {
    return {{"lit", lit ? "1" : "0"}, {"rest", lit ? "0" : "1"}};
}

Vars switchVars(bool on, bool lit) {
    Vars vars = litVars(lit);
    vars.push_back({"on", on ? "1" : "0"});
    vars.push_back({"off", on ? "0" : "1"});
    return vars;
}

Vars toolVars(bool selected) {
    return {{"sel", selected ? "1" : "0"}, {"unsel", selected ? "0" : "1"}};
}

Face face(const Control& c, std::string file, std::string templateFile, Vars vars, bool start, int width = -1,
          int height = -1) {
    return Face{std::move(file),
                c.name,
                c.screen,
                c.left,
                c.top,
                c.width,
                c.height,
                width < 0 ? c.width : width,
                height < 0 ? c.height : height,
                c.stack,
                std::move(templateFile),
                std::move(vars),
                start};
}

enum class DiscState { Normal, Hover, Selected };

Vars discVars(const PaletteColour& colour, DiscState state) {
    // A darker rim of the disc's own colour; white and near-black get neutral rims.
    const bool pale = colour.red + colour.green + colour.blue > 700;
    const bool dark = colour.red + colour.green + colour.blue < 120;
    const std::string rim = pale   ? std::string("#b9aa92")
                            : dark ? std::string("#000000")
                                   : hex(colour.red * 7 / 10, colour.green * 7 / 10, colour.blue * 7 / 10);
    const char* radius = state == DiscState::Normal ? "27" : state == DiscState::Hover ? "31" : "29";
    return {{"colour", hex(colour.red, colour.green, colour.blue)},
            {"rim", rim},
            {"cx", std::to_string(colour.width / 2.0)},
            {"r", radius},
            {"glow", state == DiscState::Hover ? "1" : "0"},
            {"sel", state == DiscState::Selected ? "1" : "0"}};
}

} // namespace

const std::vector<ScreenSpec>& screenTable() {
    static const std::vector<ScreenSpec> table = {
        {Screen::Main, "GLAVNA.JPG", "main.svg", 0, 0, 1024, 768},
        {Screen::Gallery, "GALERIJA.JPG", "gallery.svg", 0, 0, 1024, 768},
        {Screen::ExitPanel, "CTRLX.JPG", "exit_panel.svg", 312, 259, 400, 250},
        {Screen::InfoPanel, "CTRL-R.JPG", "info_panel.svg", 312, 259, 400, 250},
        {Screen::PrintPanel, "PRINTING.JPG", "print_panel.svg", 312, 259, 400, 250},
    };
    return table;
}

const ScreenSpec& screenSpec(Screen screen) {
    const auto& table = screenTable();
    const auto it =
        std::find_if(table.begin(), table.end(), [&](const ScreenSpec& s) { return s.screen == screen; });
    if (it == table.end()) {
        throw std::logic_error("screen without a picture");
    }
    return *it;
}

std::vector<Face> faceTable() {
    const Control papir{"Papir", Screen::Main, 936, 412, 63, 61, 1};
    const Control rubber{"Rubber", Screen::Main, 825, 412, 112, 61, 2};
    const Control olovka{"olovka", Screen::Main, 804, 571, 62, 81, 3};
    const Control kapljica{"kapljica", Screen::Main, 871, 571, 58, 81, 4};
    const Control back{"Back", Screen::Gallery, 30, 0, 192, 40, 6};
    const Control ne{"Ne", Screen::ExitPanel, 568, 409, 85, 50, 7};
    const Control da{"Da", Screen::ExitPanel, 368, 409, 107, 50, 8};
    const Control zatvori{"Zatvori", Screen::InfoPanel, 632, 269, 73, 27, 10};
    const Control firma{"Firma", Screen::InfoPanel, 459, 462, 110, 35, 11};
    const Control visit{"visit_site", Screen::InfoPanel, 346, 395, 330, 62, 12};
    const Control moreImages{"MoreImages", Screen::Main, 832, 241, 160, 169, 51};
    const Control muteWave{"MuteWave", Screen::Main, 835, 485, 78, 79, 52};
    const Control musicOn{"MusicOn", Screen::Main, 919, 485, 78, 78, 53};

    std::vector<Face> faces = {
        face(moreImages, "MOREIMAGES1.JPG", "more_images.svg", litVars(false), true),
        face(moreImages, "MOREIMAGES2.JPG", "more_images.svg", litVars(true), false),
        face(kapljica, "KAPLJICA1.JPG", "bucket.svg", toolVars(true), true),
        face(kapljica, "KAPLJICA2.JPG", "bucket.svg", toolVars(false), false),
        face(olovka, "OLOVKA1.JPG", "pencil.svg", toolVars(true), false),
        face(olovka, "OLOVKA2.JPG", "pencil.svg", toolVars(false), true),
    };

    // Palette faces: 1 normal, 2 hover, 3 selected. Their pictures are 85 high and as wide
    // as the control, except the last, whose picture is two columns wider than its control.
    const DiscState states[] = {DiscState::Normal, DiscState::Hover, DiscState::Selected};
    for (int phase = 1; phase <= 3; ++phase) {
        for (int i = 0; i < 12; ++i) {
            const PaletteColour& colour = kPalette[i];
            const Control control{colour.control, Screen::Main, colour.left, 675, colour.width, 85, 50 - i};
            char file[16];
            std::snprintf(file, sizeof file, "BOJE%d_%02d.JPG", phase, i + 1);
            faces.push_back(face(control, file, "palette_disc.svg", discVars(colour, states[phase - 1]),
                                 phase == 1, i == 11 ? 86 : colour.width, 85));
        }
    }

    const std::vector<Face> rest = {
        face(back, "BACK1.JPG", "back.svg", litVars(false), true),
        face(back, "BACK2.JPG", "back.svg", litVars(true), false),
        face(zatvori, "CLOSE1.JPG", "close.svg", litVars(false), true),
        face(zatvori, "CLOSE2.JPG", "close.svg", litVars(true), false),
        face(firma, "CTRLR5821.JPG", "maker.svg", litVars(false), true),
        face(firma, "CTRLR5822.JPG", "maker.svg", litVars(true), false),
        face(visit, "VISIT1.JPG", "visit.svg", litVars(false), true),
        face(visit, "VISIT2.JPG", "visit.svg", litVars(true), false),
        face(rubber, "GUMICA1.JPG", "eraser.svg", litVars(false), true),
        face(rubber, "GUMICA2.JPG", "eraser.svg", litVars(true), false),
        face(papir, "PAPIR1.JPG", "blank_page.svg", litVars(false), true),
        face(papir, "PAPIR2.JPG", "blank_page.svg", litVars(true), false),
        // The music button's pictures are one row taller than the control.
        face(musicOn, "MUSICOFF1.JPG", "music.svg", switchVars(false, true), false, 78, 79),
        face(musicOn, "MUSICOFF2.JPG", "music.svg", switchVars(false, false), true, 78, 79),
        face(musicOn, "MUZIKA1.JPG", "music.svg", switchVars(true, false), false, 78, 79),
        face(musicOn, "MUZIKA2.JPG", "music.svg", switchVars(true, true), false, 78, 79),
        face(ne, "NO1.JPG", "no.svg", litVars(false), true),
        face(ne, "NO2.JPG", "no.svg", litVars(true), false),
        face(muteWave, "SOUNDOFF1.JPG", "speaker.svg", switchVars(false, true), false),
        face(muteWave, "SOUNDOFF2.JPG", "speaker.svg", switchVars(false, false), false),
        face(da, "YES1.JPG", "yes.svg", litVars(false), true),
        face(da, "YES2.JPG", "yes.svg", litVars(true), false),
        face(muteWave, "ZVUCNIK1.JPG", "speaker.svg", switchVars(true, false), true),
        face(muteWave, "ZVUCNIK2.JPG", "speaker.svg", switchVars(true, true), false),
    };
    faces.insert(faces.end(), rest.begin(), rest.end());
    return faces;
}

} // namespace artgen
