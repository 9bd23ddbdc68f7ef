// SPDX-License-Identifier: GPL-3.0-or-later

#include "Composer.h"

#include "FaceTable.h"
#include "JpegWriter.h"
#include "SvgRenderer.h"
#include "Template.h"

#include <algorithm>

namespace artgen {

namespace {

Surface renderTemplate(const std::filesystem::path& source, Vars vars, int width, int height) {
    vars.push_back({"w", std::to_string(width)});
    vars.push_back({"h", std::to_string(height)});
    return renderSvg(fillTemplate(readText(source), vars, source.string()), width, height, source.string());
}

} // namespace

InterfaceArt renderInterface(const std::filesystem::path& artDir, const std::filesystem::path& pictureDir) {
    const std::filesystem::path uiDir = artDir / "ui";
    const std::vector<Face> faces = faceTable();
    InterfaceArt art;

    for (const ScreenSpec& spec : screenTable()) {
        // Screens are opaque: whatever the SVG leaves transparent becomes white.
        Surface base(spec.width, spec.height);
        base.fill(1, 1, 1);
        base.paint(renderTemplate(uiDir / "screens" / spec.baseTemplate, {}, spec.width, spec.height), 0, 0);

        std::vector<const Face*> starts;
        for (const Face& f : faces) {
            if (f.screen != spec.screen) {
                continue;
            }
            Surface picture = base.crop(f.left - spec.left, f.top - spec.top, f.width, f.height);
            picture.paint(renderTemplate(uiDir / "faces" / f.templateFile, f.vars, f.width, f.height), 0, 0);
            writeJpeg(pictureDir / f.file, picture);
            art.faces.push_back({f.file, std::move(picture)});
            if (f.startPicture) {
                starts.push_back(&f);
            }
        }

        // Paint from the bottom of the stacking order up, each face cut to its control,
        // exactly as the window will draw the controls over this picture.
        std::sort(starts.begin(), starts.end(),
                  [](const Face* a, const Face* b) { return a->stack > b->stack; });
        Surface composed = base.crop(0, 0, spec.width, spec.height);
        for (const Face* f : starts) {
            const auto it = std::find_if(art.faces.begin(), art.faces.end(),
                                         [&](const Picture& p) { return p.file == f->file; });
            composed.paint(it->surface, f->left - spec.left, f->top - spec.top, f->controlWidth,
                           f->controlHeight);
        }
        writeJpeg(pictureDir / spec.file, composed);
        art.screens.push_back({spec.file, std::move(composed)});
    }
    return art;
}

} // namespace artgen
