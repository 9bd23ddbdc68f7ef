// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Tools.h"

#include "scene/AssetPaths.h"

#include <string>

namespace tintaro {

namespace {

struct ToolRow {
    std::int16_t fillToolActive; // -1 for the bucket
    ControlId button;
    const char* canvasCursor;
};

constexpr ToolRow kBucket{-1, ControlId::kapljica, "KANTICA8.ICO"};
constexpr ToolRow kPencil{0, ControlId::olovka, "CETKA.ICO"};

// The tool's button takes its selected face, the other button its unselected one.
std::string toolFace(ControlId id, const ToolRow& tool) {
    const Faces& faces = controlSpec(id).faces;
    return std::string(id == tool.button ? faces.selected : faces.always.resting);
}

void selectTool(SceneContext& f, const ToolRow& tool) {
    f.state.FillToolActive = tool.fillToolActive;
    f.scene.assignPicture(ControlId::olovka, picturePath(toolFace(ControlId::olovka, tool)));
    f.scene.assignPicture(ControlId::kapljica, picturePath(toolFace(ControlId::kapljica, tool)));
    f.scene.setCanvasCursor(picturePath(tool.canvasCursor));
}

} // namespace

void registerTools(SceneContext& f) {
    f.handlers[ControlId::kapljica].click = [&f] { selectTool(f, kBucket); };
    f.handlers[ControlId::olovka].click = [&f] { selectTool(f, kPencil); };
}

} // namespace tintaro
