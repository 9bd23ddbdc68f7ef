// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Template.h"

#include "scene/ControlTable.h"

#include <string>
#include <vector>

namespace artgen {

// The pictures that carry controls, one for each place of the control table: each is
// rendered from one SVG under art/ui/, and the faces of its controls are cut from it,
// so a face always matches what lies around it.
using Screen = tintaro::Place;

struct ScreenSpec {
    Screen screen;
    std::string file;         // the composed picture, in PICTURE
    const char* baseTemplate; // under art/ui/screens
    int left;                 // where the picture lies in the window, for the panels
    int top;
    int width;
    int height;
};

const std::vector<ScreenSpec>& screenTable();
const ScreenSpec& screenSpec(Screen screen);

struct Face {
    std::string file;    // e.g. "GUMICA1.JPG"
    std::string control; // the control that shows it
    Screen screen;
    int left; // the control's rectangle in window pixels
    int top;
    int controlWidth;
    int controlHeight;
    int width; // the picture's own size (a picture may be larger than its control)
    int height;
    int stack;                // row of the control in the stacking order; 1 is topmost
    std::string templateFile; // under art/ui/faces
    Vars vars;
    bool startPicture; // part of the screen picture: the face the control carries at start
};

// Every face of every control, with the place, geometry and files of its row in the
// program's control table; sorted by file, as the manifest's neighbours are easiest to read.
std::vector<Face> faceTable();

} // namespace artgen
