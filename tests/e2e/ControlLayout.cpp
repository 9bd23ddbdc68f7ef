// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the layout of the controls as shell variables for the end-to-end tests,
// from the program's own tables, so that a control moved in the control table is
// moved in the tests too.
//   control_layout FILE

#include "colouring/ColourTable.h"
#include "gallery/GalleryGrid.h"
#include "scene/ControlTable.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace tintaro;

std::string upper(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string rgb(Colour value) {
    std::ostringstream out;
    out << (value & 0xFF) << ' ' << ((value >> 8) & 0xFF) << ' ' << ((value >> 16) & 0xFF);
    return out.str();
}

std::string layout() {
    std::ostringstream out;
    out << "# The controls' places in window pixels, written by control_layout from the\n"
           "# program's tables at build time; do not edit.\n"
           "# NAME_X NAME_Y NAME_W NAME_H: a control's design rectangle; NAME_C: its centre.\n";
    for (const ControlSpec& row : kControlTable) {
        const std::string name = upper(row.name);
        const Rect& r = row.rect;
        out << name << "_X=" << r.x << ' ' << name << "_Y=" << r.y << ' ' << name << "_W=" << r.w << ' '
            << name << "_H=" << r.h << ' ' << name << "_C=\"" << r.x + r.w / 2 << ' ' << r.y + r.h / 2
            << "\"\n";
    }

    out << "# The palette, index 1 to 12 from the left: each button's place and colour (\"R G B\").\n";
    out << "PALETTE_LEFT=(0";
    for (const ColourRow& colour : ColourTable) {
        out << ' ' << controlSpec(colour.control).rect.x;
    }
    out << ")\nPALETTE_TOP=(0";
    for (const ColourRow& colour : ColourTable) {
        out << ' ' << controlSpec(colour.control).rect.y;
    }
    out << ")\nPALETTE_RGB=(\"\"";
    for (const ColourRow& colour : ColourTable) {
        out << " \"" << rgb(colour.value) << '"';
    }
    out << ")\n";

    out << "# The gallery's grid: thumbnail N (1..25) lies at column (N - 1) % 5 and row\n"
           "# (N - 1) / 5; its pictures carry the number THUMBNAIL_PICTURE[N].\n";
    out << "THUMBNAIL_COLUMN_LEFT=(";
    for (std::size_t i = 0; i < kThumbnailColumnLeft.size(); ++i) {
        out << (i ? " " : "") << kThumbnailColumnLeft[i];
    }
    out << ")\nTHUMBNAIL_ROW_TOP=(";
    for (std::size_t i = 0; i < kThumbnailRowTop.size(); ++i) {
        out << (i ? " " : "") << kThumbnailRowTop[i];
    }
    out << ")\nTHUMBNAIL_PICTURE=(0";
    for (int n = 1; n <= 25; ++n) {
        out << ' ' << thumbnailPictureNumber(n);
    }
    out << ")\n";

    out << "# The colouring screen's controls that show a start picture, the canvas aside,\n"
           "# each with what of it shows at start: NAME LEFT TOP WIDTH HEIGHT PICTURE.\n"
           "START_PICTURES='";
    for (const ControlId id : screenControls<Place::Colouring>()) {
        const ControlSpec& row = controlSpec(id);
        if (id == ControlId::Slika || !row.visible || row.startPicture.empty()) {
            continue;
        }
        const Rect r = uncoveredPart(id);
        out << row.name << ' ' << r.x << ' ' << r.y << ' ' << r.w << ' ' << r.h << ' ' << row.startPicture
            << '\n';
    }
    out << "'\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: control_layout FILE\n";
        return 2;
    }
    std::ofstream file(argv[1]);
    file << layout();
    file.close();
    if (!file) {
        std::cerr << "control_layout: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
