// SPDX-License-Identifier: GPL-3.0-or-later
// artgen: renders the sources under art/ into the shipped asset tree.
//
//   artgen --art art --out assets [--manifest src/shell] [--icons packaging/icons]
//          [--contact-sheet sheet.png]
//
// The output is committed, so an ordinary build never runs this tool.

#include "Composer.h"
#include "ContactSheet.h"
#include "Drawings.h"
#include "GifReader.h"
#include "Icons.h"
#include "Manifest.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <iterator>
#include <optional>

namespace {

struct Options {
    std::filesystem::path art;
    std::filesystem::path out;
    std::filesystem::path manifest;
    std::filesystem::path icons;
    std::optional<std::filesystem::path> contactSheet;
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--art") == 0 && hasValue) {
            options.art = argv[++i];
        } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
            options.out = argv[++i];
        } else if (std::strcmp(argv[i], "--manifest") == 0 && hasValue) {
            options.manifest = argv[++i];
        } else if (std::strcmp(argv[i], "--icons") == 0 && hasValue) {
            options.icons = argv[++i];
        } else if (std::strcmp(argv[i], "--contact-sheet") == 0 && hasValue) {
            options.contactSheet = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (options.art.empty() || options.out.empty()) {
        return std::nullopt;
    }
    if (options.manifest.empty()) {
        // The art folder sits at the top of the source tree, beside src/.
        options.manifest = options.art.parent_path() / "src" / "shell";
    }
    if (options.icons.empty()) {
        options.icons = options.art.parent_path() / "packaging" / "icons";
    }
    return options;
}

// A drawing's GIF as a surface, for the contact sheet.
std::optional<artgen::Picture> drawingPicture(const std::filesystem::path& gif, const std::string& name) {
    const auto grey = artgen::readGifGrey(gif);
    if (!grey) {
        return std::nullopt;
    }
    artgen::Surface surface(grey->width, grey->height);
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < grey->height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < grey->width; ++x) {
            const std::uint32_t v = grey->pixels[static_cast<std::size_t>(y) * grey->width + x];
            row[x] = 0xFF000000u | (v << 16) | (v << 8) | v;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return artgen::Picture{name, std::move(surface)};
}

int run(const Options& options) {
    const std::filesystem::path pictureDir = options.out / "PICTURE";
    std::filesystem::create_directories(pictureDir);

    const artgen::DrawingReport drawingReport = artgen::renderDrawings(options.art, pictureDir);
    const std::vector<int>& missing = drawingReport.missing;
    for (const std::string& failure : drawingReport.failed) {
        std::cerr << "artgen: drawing not rendered: " << failure << '\n';
    }
    for (int n : missing) {
        std::cerr << "artgen: art/drawings/" << artgen::twoDigits(n)
                  << ".svg is missing; its GIF was left as it is\n";
    }
    std::vector<artgen::Thumbnail> thumbnails = artgen::renderThumbnails(options.art, pictureDir);
    artgen::InterfaceArt ui = artgen::renderInterface(options.art, pictureDir);
    std::vector<artgen::Picture> icons = artgen::renderIcons(options.art, options.out);
    artgen::renderDesktopIcons(options.art, options.icons);

    const std::vector<std::string> unmeasured = artgen::writeManifest(pictureDir, options.manifest);
    for (const std::string& file : unmeasured) {
        std::cerr << "artgen: PICTURE/" << file << " does not exist; the manifest lists it with length 0\n";
    }

    if (options.contactSheet) {
        std::vector<artgen::Picture> drawings;
        for (int n = 0; n <= artgen::kDrawingCount; ++n) {
            const std::string name = artgen::twoDigits(n) + ".GIF";
            if (auto picture = drawingPicture(pictureDir / name, name)) {
                drawings.push_back(std::move(*picture));
            }
        }
        std::vector<artgen::Picture> cards;
        for (auto& t : thumbnails) {
            cards.push_back({t.file, std::move(t.surface)});
        }
        auto pointers = [](const std::vector<artgen::Picture>& pictures) {
            std::vector<const artgen::Picture*> out;
            for (const auto& p : pictures) {
                out.push_back(&p);
            }
            return out;
        };
        // Cursors are tiny: show them three times their size.
        std::vector<const artgen::Picture*> cursors;
        std::vector<const artgen::Picture*> artwork;
        for (const auto& icon : icons) {
            (icon.surface.width() <= 64 ? cursors : artwork).push_back(&icon);
        }
        std::vector<const artgen::Picture*> panels;
        std::vector<const artgen::Picture*> backgrounds;
        for (const auto& screen : ui.screens) {
            (screen.surface.width() > 400 ? backgrounds : panels).push_back(&screen);
        }
        artgen::writeContactSheet(*options.contactSheet, {{"Drawings", pointers(drawings), 0.3},
                                                          {"Backgrounds", backgrounds, 0.8},
                                                          {"Panels", panels, 1.0},
                                                          {"Faces", pointers(ui.faces), 1.0},
                                                          {"Thumbnails", pointers(cards), 1.0},
                                                          {"Cursors and small icons (x3)", cursors, 3.0},
                                                          {"Window icon and splash", artwork, 1.0}});
    }
    std::cout << "artgen: " << (artgen::kDrawingCount - missing.size() - drawingReport.failed.size())
              << " drawings, " << thumbnails.size() << " thumbnails, " << ui.faces.size() << " faces, "
              << ui.screens.size() << " screens, " << icons.size() << " icons, "
              << std::size(artgen::kDesktopIconSizes) << " menu icon sizes\n";
    // A broken drawing is an error worth a failing exit; a drawing not yet written is not.
    return drawingReport.failed.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::cerr << "usage: artgen --art DIR --out DIR [--manifest DIR] [--icons DIR] [--contact-sheet "
                     "FILE.png]\n";
        return 2;
    }
    try {
        return run(*options);
    } catch (const std::exception& error) {
        std::cerr << "artgen: " << error.what() << '\n';
        return 1;
    }
}
