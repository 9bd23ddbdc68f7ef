// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Canvas.h"

#include "colouring/FloodFill.h"
#include "colouring/PencilLine.h"
#include "scene/Effects.h"

#include <cmath>

namespace tintaro {

namespace {

// Pure black and the nine darkest reds are the outlines of the drawings,
// which can never be filled.
constexpr Colour kLastOutlineValue = 9;

void pressSlika(SceneContext& f, const MouseArgs& a) {
    auto& s = f.state;
    const int x = toCanvasPixel(a.x);
    const int y = toCanvasPixel(a.y);
    s.LastCanvasX = x;
    s.LastCanvasY = y;
    if (s.FillToolActive == 0) {
        return; // the press only anchors the pencil's next segment
    }
    if (a.button == kLeftButton) {
        auto& canvas = f.scene.canvas();
        const Colour fill = static_cast<Colour>(s.CurrentColor);
        if (canvas.contains(x, y)) {
            if (canvas.at(x, y) <= kLastOutlineValue) {
                return;
            }
            f.scene.canvasChanged(floodFill(canvas, x, y, fill));
        }
    }
    requestEffect(f, SoundEffectTable::Fill);
}

void moveSlika(SceneContext& f, const MouseArgs& a) {
    auto& s = f.state;
    if (a.button == kLeftButton && s.FillToolActive == 0) {
        const int x = toCanvasPixel(a.x);
        const int y = toCanvasPixel(a.y);
        const auto changed = drawPencilSegment(f.scene.canvas(), static_cast<float>(s.LastCanvasX),
                                               static_cast<float>(s.LastCanvasY), static_cast<float>(x),
                                               static_cast<float>(y), static_cast<Colour>(s.CurrentColor));
        f.scene.canvasChanged(changed);
        s.LastCanvasX = x;
        s.LastCanvasY = y;
        return;
    }
    callHook(f.hooks.restAroundCanvas);
}

} // namespace

int toCanvasPixel(float v) {
    return static_cast<int>(std::lrint(v));
}

void registerCanvas(SceneContext& f) {
    f.handlers[ControlId::Slika].mouseDown = [&f](const MouseArgs& a) { pressSlika(f, a); };
    f.handlers[ControlId::Slika].mouseMove = [&f](const MouseArgs& a) { moveSlika(f, a); };
}

} // namespace tintaro
