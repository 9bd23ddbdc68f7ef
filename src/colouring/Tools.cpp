#include "colouring/Tools.h"

namespace tintaro {

namespace {

struct ToolRow {
    std::int16_t fillToolActive;
    const char* olovkaFace;
    const char* kapljicaFace;
    const char* canvasCursor;
};

constexpr ToolRow kBucket{-1, "OLOVKA2.JPG", "KAPLJICA1.JPG", "KANTICA8.ICO"};
constexpr ToolRow kPencil{0, "OLOVKA1.JPG", "KAPLJICA2.JPG", "CETKA.ICO"};

void selectTool(SceneContext& f, const ToolRow& tool) {
    f.state.FillToolActive = tool.fillToolActive;
    f.scene.assignPicture(ControlId::olovka, picturePath(tool.olovkaFace));
    f.scene.assignPicture(ControlId::kapljica, picturePath(tool.kapljicaFace));
    f.scene.setCanvasCursor(picturePath(tool.canvasCursor));
}

} // namespace

void registerTools(SceneContext& f) {
    f.handlers[ControlId::kapljica].click = [&f] { selectTool(f, kBucket); };
    f.handlers[ControlId::olovka].click = [&f] { selectTool(f, kPencil); };
}

} // namespace tintaro
