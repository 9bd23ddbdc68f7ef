// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the colouring screen's pixel work: the flood fill against OpenCV's
// cv::floodFill and against the memory floor, a pencil segment across the
// canvas and whole wipe passes without presentation.
//
// How a fill is timed: every iteration fills the same region, alternately with
// a colour the picture does not contain and with the region's own colour. The
// second fill finds exactly the region the first one painted (nothing around it
// has the new colour), so each iteration is a whole fill of the same pixels and
// the picture returns to its start every two iterations. No reset is timed and
// no per-iteration timer pause skews the small cases. The *_PausedReset runs
// time the same fills the usual way, copying the picture back with the timer
// paused, as a check on this method.

#include "colouring/FloodFill.h"
#include "colouring/PencilLine.h"
#include "colouring/WipePasses.h"

#include "FillFamilies.h"
#include "FillShapes.h"
#include "GifImage.h"

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tintaro {
namespace {

constexpr int kWidth = 750;
constexpr int kHeight = 600;

struct FillCase {
    std::string name;
    Image picture;
    int x;
    int y;
    long pixels; // size of the region
};

// A stand-in drawing for when the real ones are not there: outlined ellipses,
// some nested, on white.
Image syntheticDrawing() {
    Image image(kWidth, kHeight, kWhite);
    struct Ellipse {
        double cx, cy, rx, ry;
    };
    const Ellipse ellipses[] = {{375, 300, 300, 220}, {250, 250, 80, 60}, {500, 250, 80, 60},
                                {375, 420, 120, 40},  {250, 250, 20, 20}, {500, 250, 20, 20}};
    for (const Ellipse& e : ellipses) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const double u = (x - e.cx) / e.rx, v = (y - e.cy) / e.ry;
                const double r = u * u + v * v;
                if (r > 0.97 && r < 1.03)
                    image.at(x, y) = kBlack;
            }
    }
    return image;
}

struct Region {
    int x, y;
    long size;
    bool touchesBorder;
};

// Every 4-connected region of equal colour that is not outline black.
std::vector<Region> regionsOf(const Image& image) {
    std::vector<bool> seen(image.pixels.size(), false);
    std::vector<Region> regions;
    std::vector<std::pair<int, int>> stack;
    for (int sy = 0; sy < image.height; ++sy)
        for (int sx = 0; sx < image.width; ++sx) {
            const std::size_t start = static_cast<std::size_t>(sy) * image.width + sx;
            if (seen[start] || image.pixels[start] == kBlack)
                continue;
            const Colour c = image.pixels[start];
            Region r{sx, sy, 0, false};
            seen[start] = true;
            stack.push_back({sx, sy});
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                ++r.size;
                r.touchesBorder |= x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
                const int n[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
                for (const auto& p : n) {
                    if (!image.contains(p[0], p[1]))
                        continue;
                    const std::size_t i = static_cast<std::size_t>(p[1]) * image.width + p[0];
                    if (!seen[i] && image.pixels[i] == c) {
                        seen[i] = true;
                        stack.push_back({p[0], p[1]});
                    }
                }
            }
            regions.push_back(r);
        }
    return regions;
}

// A colour value the picture does not use.
Colour absentColour(const Image& image) {
    std::unordered_set<Colour> used(image.pixels.begin(), image.pixels.end());
    Colour c = rgb(1, 2, 3);
    while (used.count(c))
        ++c;
    return c;
}

std::vector<FillCase> fillCases() {
    std::vector<FillCase> cases;
    cases.push_back(
        {"BlankCanvas", Image(kWidth, kHeight, kWhite), kWidth / 2, kHeight / 2, kWidth * kHeight});
    for (int n : {1, 7, 13}) {
        char label[32];
        std::snprintf(label, sizeof label, "Drawing%02d", n);
        std::optional<Image> drawing = testing::loadGif(testing::drawingPath(TINTARO_ASSETS, n));
        std::string name = label;
        if (!drawing || drawing->width != kWidth || drawing->height != kHeight) {
            drawing = syntheticDrawing();
            name = "Synthetic" + std::string(label + 7);
        }
        const std::vector<Region> regions = regionsOf(*drawing);
        const Region largest = *std::max_element(regions.begin(), regions.end(),
                                                 [](auto& a, auto& b) { return a.size < b.size; });
        // The small case: the enclosed area nearest 1000 pixels, about a
        // button or an eye of the drawing.
        const Region* small = nullptr;
        for (const Region& r : regions)
            if (!r.touchesBorder && r.size >= 50 &&
                (!small || std::labs(r.size - 1000) < std::labs(small->size - 1000)))
                small = &r;
        cases.push_back({name + "/Background", *drawing, largest.x, largest.y, largest.size});
        if (small)
            cases.push_back({name + "/SmallArea", *drawing, small->x, small->y, small->size});
    }
    // Regions of short runs, each filled from its largest region.
    for (const testing::FillShape& shape : testing::fillShapes()) {
        Image picture = shape.make(kWidth, kHeight);
        const std::vector<Region> regions = regionsOf(picture);
        const Region largest = *std::max_element(regions.begin(), regions.end(),
                                                 [](auto& a, auto& b) { return a.size < b.size; });
        cases.push_back(
            {std::string("Shape/") + shape.name, std::move(picture), largest.x, largest.y, largest.size});
    }
    // The generated families at the canvas's size and at four times its
    // sides, where the cost per pixel should stay the same.
    for (const testing::ShapeFamilyMember& member : testing::shapeFamilies())
        for (const auto& [width, height] : {std::pair{kWidth, kHeight}, std::pair{4 * kWidth, 4 * kHeight}}) {
            Image picture = member.make(width, height);
            const std::vector<Region> regions = regionsOf(picture);
            const Region largest = *std::max_element(regions.begin(), regions.end(),
                                                     [](auto& a, auto& b) { return a.size < b.size; });
            cases.push_back(
                {"Family/" + member.name + "/" + std::to_string(width) + "x" + std::to_string(height),
                 std::move(picture), largest.x, largest.y, largest.size});
        }
    return cases;
}

void setCounters(benchmark::State& state, long pixels) {
    state.counters["pixels"] = static_cast<double>(pixels);
    state.SetItemsProcessed(state.iterations() * pixels);
}

void fillOurs(benchmark::State& state, const FillCase& c) {
    Image image = c.picture;
    const Colour original = image.at(c.x, c.y);
    const Colour fill = absentColour(image);
    bool forth = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(floodFill(image, c.x, c.y, forth ? fill : original));
        benchmark::ClobberMemory();
        forth = !forth;
    }
    setCounters(state, c.pixels);
}

cv::Mat asInt32(Image& image) {
    return cv::Mat(image.height, image.width, CV_32SC1, image.pixels.data());
}

cv::Mat asBgrBytes(const Image& image) {
    cv::Mat mat(image.height, image.width, CV_8UC3);
    for (int y = 0; y < image.height; ++y) {
        auto* row = mat.ptr<cv::Vec3b>(y);
        for (int x = 0; x < image.width; ++x) {
            const Colour c = image.at(x, y);
            row[x] = cv::Vec3b(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF);
        }
    }
    return mat;
}

cv::Scalar bgr(Colour c) {
    return cv::Scalar(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF);
}

int fillOpenCv(cv::Mat& mat, const FillCase& c, const cv::Scalar& value) {
    // 4-connected, no tolerance either way: the same region as ours.
    return cv::floodFill(mat, cv::Point(c.x, c.y), value, nullptr, cv::Scalar(), cv::Scalar(), 4);
}

void fillOpenCvInt32(benchmark::State& state, const FillCase& c) {
    Image image = c.picture;
    cv::Mat mat = asInt32(image);
    const Colour original = image.at(c.x, c.y);
    const cv::Scalar values[2] = {cv::Scalar(absentColour(image)), cv::Scalar(original)};
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fillOpenCv(mat, c, values[i]));
        benchmark::ClobberMemory();
        i ^= 1;
    }
    setCounters(state, c.pixels);
}

void fillOpenCvBgr(benchmark::State& state, const FillCase& c) {
    cv::Mat mat = asBgrBytes(c.picture);
    const cv::Scalar values[2] = {bgr(absentColour(c.picture)), bgr(c.picture.at(c.x, c.y))};
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fillOpenCv(mat, c, values[i]));
        benchmark::ClobberMemory();
        i ^= 1;
    }
    setCounters(state, c.pixels);
}

// A check of the back-and-forth method: the same fills, with the picture copied
// back before each one while the timer is paused. The pause itself costs a
// little, which shows in the smallest cases.
template <typename Fill> void fillWithPausedReset(benchmark::State& state, const FillCase& c, Fill fillOnce) {
    Image image = c.picture;
    const Colour fill = absentColour(image);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(c.picture.pixels.begin(), c.picture.pixels.end(), image.pixels.begin());
        state.ResumeTiming();
        fillOnce(image, fill);
        benchmark::ClobberMemory();
    }
    setCounters(state, c.pixels);
}

void fillOursPausedReset(benchmark::State& state, const FillCase& c) {
    fillWithPausedReset(state, c, [&](Image& image, Colour fill) {
        benchmark::DoNotOptimize(floodFill(image, c.x, c.y, fill));
    });
}

void fillOpenCvInt32PausedReset(benchmark::State& state, const FillCase& c) {
    fillWithPausedReset(state, c, [&](Image& image, Colour fill) {
        cv::Mat mat = asInt32(image);
        benchmark::DoNotOptimize(fillOpenCv(mat, c, cv::Scalar(fill)));
    });
}

// The least any fill of the region must cost: storing its pixels once.
void fillFloor(benchmark::State& state, const FillCase& c) {
    std::vector<Colour> buffer(static_cast<std::size_t>(c.pixels), kWhite);
    Colour value = rgb(1, 2, 3);
    for (auto _ : state) {
        std::fill(buffer.begin(), buffer.end(), value);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        value ^= 0xFFFFFF;
    }
    setCounters(state, c.pixels);
}

// Before timing anything, make sure all three fills paint the same pixels and
// that the back-and-forth restores the picture.
bool sameResults(const FillCase& c, std::string& why) {
    Image ours = c.picture;
    const Colour fill = absentColour(c.picture);
    floodFill(ours, c.x, c.y, fill);
    long painted = std::count(ours.pixels.begin(), ours.pixels.end(), fill);
    if (painted != c.pixels) {
        why = "our fill painted " + std::to_string(painted) + " pixels, expected " + std::to_string(c.pixels);
        return false;
    }
    Image theirs = c.picture;
    cv::Mat mat = asInt32(theirs);
    fillOpenCv(mat, c, cv::Scalar(fill));
    if (!(theirs == ours)) {
        why = "cv::floodFill on CV_32SC1 painted other pixels";
        return false;
    }
    cv::Mat bytes = asBgrBytes(c.picture);
    fillOpenCv(bytes, c, bgr(fill));
    if (cv::norm(bytes, asBgrBytes(ours), cv::NORM_INF) != 0) {
        why = "cv::floodFill on CV_8UC3 painted other pixels";
        return false;
    }
    floodFill(ours, c.x, c.y, c.picture.at(c.x, c.y));
    if (!(ours == c.picture)) {
        why = "filling back did not restore the picture";
        return false;
    }
    return true;
}

void pencilAcross(benchmark::State& state, float x0, float y0, float x1, float y1) {
    Image image(kWidth, kHeight, kWhite);
    Colour colour = rgb(52, 204, 103);
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawPencilSegment(image, x0, y0, x1, y1, colour));
        benchmark::ClobberMemory();
        colour ^= 0xFF;
    }
}

void wholePass(benchmark::State& state, WipePass pass) {
    Image image(kWidth, kHeight, kBlack);
    const long steps = passSteps(pass, kWidth, kHeight);
    for (auto _ : state) {
        benchmark::DoNotOptimize(runPassSteps(image, pass, 0, steps));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * steps);
}

// A pass as the eraser shows it: one slice of steps per 60 Hz frame, a pass
// lasting about a second.
void passInFrameSlices(benchmark::State& state, WipePass pass) {
    Image image(kWidth, kHeight, kBlack);
    const long steps = passSteps(pass, kWidth, kHeight);
    const long slice = (steps + 59) / 60;
    for (auto _ : state) {
        for (long first = 0; first < steps; first += slice)
            benchmark::DoNotOptimize(runPassSteps(image, pass, first, first + slice));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * steps);
}

} // namespace
} // namespace tintaro

int main(int argc, char** argv) {
    using namespace tintaro;
    static std::vector<FillCase> cases = fillCases();
    for (const FillCase& c : cases) {
        std::string why;
        if (!sameResults(c, why)) {
            std::fprintf(stderr, "%s: %s\n", c.name.c_str(), why.c_str());
            return 1;
        }
        const std::string base = "Fill/" + c.name + "/";
        // The families are many: a shorter run each, and no check of the
        // timing method, which the other cases make. Each benchmark refers
        // to its case rather than holding a copy of the picture.
        const bool family = c.name.starts_with("Family/");
        const auto timed = [&](const char* what, void (*run)(benchmark::State&, const FillCase&)) {
            benchmark::internal::Benchmark* b =
                benchmark::RegisterBenchmark((base + what).c_str(), run, std::cref(c))
                    ->Unit(benchmark::kMicrosecond);
            if (family)
                b->MinTime(0.1);
        };
        timed("Ours", fillOurs);
        timed("OpenCV_32SC1", fillOpenCvInt32);
        timed("OpenCV_8UC3", fillOpenCvBgr);
        timed("Floor", fillFloor);
        if (family)
            continue;
        // With the timer paused for every copy back, reaching the usual
        // timed second takes minutes for the small fills; a fixed count that
        // covers some tens of millions of pixels is plenty for the check.
        const auto checkRounds = static_cast<benchmark::IterationCount>(
            std::clamp(30'000'000L / std::max(c.pixels, 1L), 20L, 2000L));
        benchmark::RegisterBenchmark((base + "Ours_PausedReset").c_str(), fillOursPausedReset, c)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(checkRounds);
        benchmark::RegisterBenchmark((base + "OpenCV_32SC1_PausedReset").c_str(), fillOpenCvInt32PausedReset,
                                     c)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(checkRounds);
    }
    benchmark::RegisterBenchmark("Pencil/DiagonalAcrossCanvas", pencilAcross, 0.f, 0.f, 749.f, 599.f)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Pencil/HorizontalAcrossCanvas", pencilAcross, 0.f, 300.f, 749.f, 300.f)
        ->Unit(benchmark::kMicrosecond);
    const std::pair<const char*, WipePass> passes[] = {{"RowsDown", WipePass::RowsDown},
                                                       {"ColumnsRight", WipePass::ColumnsRight},
                                                       {"ColumnsLeft", WipePass::ColumnsLeft},
                                                       {"RowsUp", WipePass::RowsUp},
                                                       {"InterlacedRows", WipePass::InterlacedRows}};
    for (const auto& [name, pass] : passes)
        benchmark::RegisterBenchmark((std::string("Wipe/WholePass/") + name).c_str(), wholePass, pass)
            ->Unit(benchmark::kMicrosecond);
    for (const auto& [name, pass] : passes)
        benchmark::RegisterBenchmark((std::string("Wipe/SixtySlices/") + name).c_str(), passInFrameSlices,
                                     pass)
            ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
