// SPDX-License-Identifier: GPL-3.0-or-later

#include "Icons.h"

#include "IcoWriter.h"
#include "PngWriter.h"
#include "SvgRenderer.h"
#include "Template.h"

#include <string>

namespace artgen {

namespace {

Surface render(const std::filesystem::path& source, int width, int height) {
    return renderSvg(readText(source), width, height, source.string());
}

} // namespace

std::vector<Picture> renderIcons(const std::filesystem::path& artDir, const std::filesystem::path& outDir) {
    const std::filesystem::path ui = artDir / "ui";
    std::filesystem::create_directories(outDir / "UI");
    std::vector<Picture> out;

    struct Icon {
        const char* source;
        const char* file;
        int size;
    };
    // Both canvas cursors put their working point (pencil tip, the drop leaving the
    // bucket) on the icon's centre, because the cursor's hot spot is the centre.
    for (const Icon& icon :
         {Icon{"cursors/pencil.svg", "CETKA.ICO", 32}, Icon{"cursors/bucket.svg", "KANTICA8.ICO", 32}}) {
        Surface s = render(ui / icon.source, icon.size, icon.size);
        writeIco(outDir / "PICTURE" / icon.file, s);
        out.push_back({icon.file, std::move(s)});
    }

    struct Png {
        const char* source;
        const char* file;
        int width;
        int height;
    };
    const Png pngs[] = {
        {"icon.svg", "ICON.png", 256, 256},
        {"icon.svg", "ICON32.png", 32, 32},
        {"cursors/palette.svg", "PALETTE.png", 64, 64},
        {"cursors/drop.svg", "DROP.png", 32, 32},
        {"splash.svg", "SPLASH.png", 600, 400},
    };
    for (const Png& png : pngs) {
        Surface s = render(ui / png.source, png.width, png.height);
        writePng(outDir / "UI" / png.file, s);
        out.push_back({png.file, std::move(s)});
    }
    return out;
}

void renderDesktopIcons(const std::filesystem::path& artDir, const std::filesystem::path& iconDir) {
    std::filesystem::create_directories(iconDir);
    for (const int size : kDesktopIconSizes) {
        writePng(iconDir / ("tintaro-" + std::to_string(size) + ".png"),
                 render(artDir / "ui" / "icon.svg", size, size));
    }
}

} // namespace artgen
