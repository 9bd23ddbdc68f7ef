// SPDX-License-Identifier: GPL-3.0-or-later

#include "FaceTable.h"

#include "colouring/ColourTable.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace artgen {

namespace {

using tintaro::ControlId;
using tintaro::ControlSpec;
using C = tintaro::ControlId;

// What the art of a control adds to its row: the template its faces are drawn from,
// and the picture's size where it is larger than the control.
struct ControlArt {
    ControlId control;
    const char* templateFile; // under art/ui/faces
    int pictureWidth = 0;     // 0: the control's own size
    int pictureHeight = 0;
};

constexpr ControlArt kArt[] = {
    {C::Papir, "blank_page.svg"},
    {C::Rubber, "eraser.svg"},
    {C::olovka, "pencil.svg"},
    {C::kapljica, "bucket.svg"},
    {C::Back, "back.svg"},
    {C::Ne, "no.svg"},
    {C::Da, "yes.svg"},
    {C::Zatvori, "close.svg"},
    {C::Firma, "maker.svg"},
    {C::visit_site, "visit.svg"},
    {C::MoreImages, "more_images.svg"},
    {C::MuteWave, "speaker.svg"},
    // The music button's pictures are one row taller than the control.
    {C::MusicOn, "music.svg", 78, 79},
    // The last palette picture is two columns wider than its control.
    {C::PaletaPink, "palette_disc.svg", 86, 85},
};

constexpr const char* kPaletteTemplate = "palette_disc.svg";

const tintaro::ColourRow* colourOf(ControlId id) {
    const auto it = std::find_if(tintaro::ColourTable.begin(), tintaro::ColourTable.end(),
                                 [&](const tintaro::ColourRow& row) { return row.control == id; });
    return it == tintaro::ColourTable.end() ? nullptr : &*it;
}

ControlArt artOf(const ControlSpec& row) {
    for (const ControlArt& art : kArt) {
        if (art.control == row.id) {
            return art;
        }
    }
    if (colourOf(row.id)) {
        return {row.id, kPaletteTemplate};
    }
    throw std::logic_error("control " + std::string(row.name) + " has faces but no art");
}

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

enum class DiscState { Normal, Hover, Selected };

Vars discVars(const tintaro::ColourRow& colour, int controlWidth, DiscState state) {
    const int red = static_cast<int>(colour.value & 0xFF);
    const int green = static_cast<int>((colour.value >> 8) & 0xFF);
    const int blue = static_cast<int>((colour.value >> 16) & 0xFF);
    // A darker rim of the disc's own colour; white and near-black get neutral rims.
    const bool pale = red + green + blue > 700;
    const bool dark = red + green + blue < 120;
    const std::string rim = pale   ? std::string("#b9aa92")
                            : dark ? std::string("#000000")
                                   : hex(red * 7 / 10, green * 7 / 10, blue * 7 / 10);
    const char* radius = state == DiscState::Normal ? "27" : state == DiscState::Hover ? "31" : "29";
    return {{"colour", hex(red, green, blue)},
            {"rim", rim},
            {"cx", std::to_string(controlWidth / 2.0)},
            {"r", radius},
            {"glow", state == DiscState::Hover ? "1" : "0"},
            {"sel", state == DiscState::Selected ? "1" : "0"}};
}

// The faces of one control, each with the variables its template is filled with.
std::vector<std::pair<std::string_view, Vars>> facesOf(const ControlSpec& row) {
    const tintaro::Faces& faces = row.faces;
    if (faces.flag != tintaro::FaceFlag::None) {
        const bool onWhenOne = tintaro::onValue(faces.flag) == 1;
        return {{faces.whenOne.resting, switchVars(onWhenOne, false)},
                {faces.whenOne.hover, switchVars(onWhenOne, true)},
                {faces.whenZero.resting, switchVars(!onWhenOne, false)},
                {faces.whenZero.hover, switchVars(!onWhenOne, true)}};
    }
    if (const tintaro::ColourRow* colour = colourOf(row.id)) {
        return {{faces.always.resting, discVars(*colour, row.rect.w, DiscState::Normal)},
                {faces.always.hover, discVars(*colour, row.rect.w, DiscState::Hover)},
                {faces.selected, discVars(*colour, row.rect.w, DiscState::Selected)}};
    }
    if (!faces.selected.empty()) {
        return {{faces.always.resting, toolVars(false)}, {faces.selected, toolVars(true)}};
    }
    return {{faces.always.resting, litVars(false)}, {faces.always.hover, litVars(true)}};
}

ScreenSpec panel(Screen screen, ControlId id, const char* baseTemplate) {
    const ControlSpec& row = tintaro::controlSpec(id);
    return {screen,    std::string(row.startPicture), baseTemplate, row.rect.x, row.rect.y, row.rect.w,
            row.rect.h};
}

} // namespace

const std::vector<ScreenSpec>& screenTable() {
    static const std::vector<ScreenSpec> table = {
        {Screen::Colouring, "GLAVNA.JPG", "main.svg", 0, 0, tintaro::kWindowWidth, tintaro::kWindowHeight},
        {Screen::Gallery, "GALERIJA.JPG", "gallery.svg", 0, 0, tintaro::kWindowWidth, tintaro::kWindowHeight},
        panel(Screen::ExitPanel, C::Izlaz, "exit_panel.svg"),
        panel(Screen::InfoPanel, C::Registered, "info_panel.svg"),
        panel(Screen::PrintPanel, C::PrintPict, "print_panel.svg"),
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
    std::vector<Face> out;
    for (std::size_t i = 0; i < tintaro::kControlTable.size(); ++i) {
        const ControlSpec& row = tintaro::kControlTable[i];
        if (!row.faces.any()) {
            continue;
        }
        const ControlArt art = artOf(row);
        for (auto& [file, vars] : facesOf(row)) {
            out.push_back(Face{std::string(file), std::string(row.name), row.place, row.rect.x, row.rect.y,
                               row.rect.w, row.rect.h, art.pictureWidth > 0 ? art.pictureWidth : row.rect.w,
                               art.pictureHeight > 0 ? art.pictureHeight : row.rect.h,
                               static_cast<int>(i) + 1, art.templateFile, std::move(vars),
                               file == row.startPicture});
        }
    }
    std::sort(out.begin(), out.end(), [](const Face& a, const Face& b) { return a.file < b.file; });
    return out;
}

} // namespace artgen
