// SPDX-License-Identifier: GPL-3.0-or-later

#include "feedback/HoverFaces.h"

#include "scene/AssetPaths.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tintaro {

namespace {

using C = ControlId;

int flagValue(const SceneContext& f, FaceFlag flag) {
    switch (flag) {
    case FaceFlag::SoundOnFlag:
        return f.state.SoundOnFlag;
    case FaceFlag::MusicOnFlag:
        return f.state.MusicOnFlag;
    case FaceFlag::None:
        break;
    }
    return 0;
}

// A button's two faces from its row; the speaker's and the music button's follow
// their switches, and for any other flag value they have none.
std::optional<FacePair> facesOf(const SceneContext& f, ControlId id) {
    const Faces& faces = controlSpec(id).faces;
    return faces.current(flagValue(f, faces.flag));
}

enum class Op { Rest, Hover, RestPalette, RestHighlightedThumbnail };

struct Step {
    Op op;
    ControlId id = C::Slika;
};

Step rest(ControlId id) {
    return {Op::Rest, id};
}
Step hover(ControlId id) {
    return {Op::Hover, id};
}

// Assigns the faces one after another; the first that cannot be read ends the handler.
void run(SceneContext& f, std::span<const Step> steps) {
    for (const auto& step : steps) {
        switch (step.op) {
        case Op::Rest:
        case Op::Hover:
            if (auto faces = facesOf(f, step.id)) {
                const std::string_view file = step.op == Op::Rest ? faces->resting : faces->hover;
                f.scene.assignPicture(step.id, picturePath(std::string(file)));
            }
            break;
        case Op::RestPalette:
            callHook(f.hooks.restPalette);
            break;
        case Op::RestHighlightedThumbnail:
            if (f.state.GalleryActive == 1) {
                callHook(f.hooks.restHighlightedThumbnail);
            }
            break;
        }
    }
}

void moveOverBackground(SceneContext& f) {
    const Step steps[] = {rest(C::MoreImages), {Op::RestPalette}, rest(C::Rubber),
                          rest(C::Papir),      rest(C::Back),     {Op::RestHighlightedThumbnail},
                          rest(C::MuteWave),   rest(C::MusicOn)};
    run(f, steps);
}

// A control's hover group as steps: its own hover face first, then the faces it rests.
std::vector<Step> groupSteps(const ControlSpec& row) {
    std::vector<Step> steps;
    if (row.hover.lights) {
        steps.push_back(hover(row.id));
    }
    for (const ControlId id : row.hover.rests) {
        steps.push_back(rest(id));
    }
    return steps;
}

} // namespace

void restAroundCanvas(SceneContext& f) {
    static const std::vector<Step> steps = groupSteps(controlSpec(C::Slika));
    run(f, steps);
}

void restWebButtons(SceneContext& f) {
    const Step steps[] = {rest(C::visit_site), rest(C::Firma)};
    run(f, steps);
}

void registerHoverFaces(SceneContext& f) {
    f.hooks.restAroundCanvas = [&f] { restAroundCanvas(f); };
    f.handlers.window.mouseMove = [&f](const MouseArgs&) { moveOverBackground(f); };
    for (const auto& row : kControlTable) {
        // The canvas's movement handler is the canvas's own; it calls restAroundCanvas.
        if (!row.hover.any() || row.id == C::Slika) {
            continue;
        }
        f.handlers[row.id].mouseMove = [&f, steps = groupSteps(row)](const MouseArgs&) { run(f, steps); };
    }
}

} // namespace tintaro
