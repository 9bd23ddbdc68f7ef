// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers as the program runs them, on the recording fake platform with
// the shipped assets: a press that fills the whole canvas through to the
// composed frame, and the pointer movements that assign faces.

#include "shell/EventLoop.h"
#include "support/Harness.h"

#include <benchmark/benchmark.h>

namespace tintaro::test {
namespace {

// Press on a one-colour canvas: the fill covers all 450,000 pixels, then the
// changed part of the frame is composed and handed to the window.
void PressToFrame(benchmark::State& state) {
    Harness h;
    h.f.scene.setCanvasImage(Image(750, 600, kWhite));
    h.f.scene.present();
    const Colour colours[] = {rgb(255, 0, 0), rgb(0, 0, 255)};
    int i = 0;
    for (auto _ : state) {
        h.s.CurrentColor = static_cast<std::int32_t>(colours[++i % 2]);
        dispatchEvent(h.f, mouseDown(400, 300));
        h.f.scene.present();
        dispatchEvent(h.f, mouseUp(400, 300));
    }
}
BENCHMARK(PressToFrame)->Unit(benchmark::kMicrosecond);

// One movement over the window background: eighteen faces read and assigned
// (plus the highlighted thumbnail on the gallery screen), then the redraw.
// With caching off every assignment decodes its file afresh.
void BackgroundMove(benchmark::State& state, bool gallery, bool decodeAfresh) {
    Harness h;
    if (gallery) {
        h.clickOn(ControlId::MoreImages);
        h.moveOver(ControlId::Galerija7);
    }
    h.f.scene.pictures().setCaching(!decodeAfresh);
    float x = 800;
    for (auto _ : state) {
        x = x == 800 ? 801 : 800;
        dispatchEvent(h.f, mouseMove(x, 20));
        h.f.scene.present();
    }
}
BENCHMARK_CAPTURE(BackgroundMove, colouring_screen, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BackgroundMove, colouring_screen_decoding_afresh, false, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BackgroundMove, gallery_screen, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BackgroundMove, gallery_screen_decoding_afresh, true, true)->Unit(benchmark::kMicrosecond);

// Movement from one thumbnail to the next: highlight one, rest the other, redraw both.
void ThumbnailMove(benchmark::State& state, bool decodeAfresh) {
    Harness h;
    h.clickOn(ControlId::MoreImages);
    h.f.scene.pictures().setCaching(!decodeAfresh);
    const auto& a = h.f.scene.control(ControlId::Galerija7).rect;
    const auto& b = h.f.scene.control(ControlId::Galerija8).rect;
    bool first = true;
    for (auto _ : state) {
        const auto& r = first ? a : b;
        first = !first;
        dispatchEvent(h.f, mouseMove(static_cast<float>(r.x + 60), static_cast<float>(r.y + 60)));
        h.f.scene.present();
    }
}
BENCHMARK_CAPTURE(ThumbnailMove, cached, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ThumbnailMove, decoding_afresh, true)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tintaro::test

BENCHMARK_MAIN();
