#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the program's figures in one run and prints them side by side with
their goals, as Markdown tables: the flood fill against OpenCV and the memory
floor on every shape and generated family (with how its cost per pixel grows
with the picture), resident memory after a tour of the gallery, start-up,
idle wake-ups and the first sound effect after the audio device closed.

Usage: bench/fill_table.py BUILD_DIR [REPETITIONS]
       bench/fill_table.py path/to/colouring_bench [REPETITIONS]   (the fill only)

BUILD_DIR is a build with -DTINTARO_BENCH=ON (colouring_bench, startup_probe
and the application directory). The fills run interleaved in random order,
each figure the median CPU time over the repetitions; ratios say how many
times slower OpenCV is than our fill, and how our fill compares with the
memory floor (std::fill of the same number of pixels). The program's figures
come from the scripts beside this one (gallery_tour.sh, startup.sh,
idle_wakeups.sh), each on a private X server.
"""
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# Goals, as the issue of short runs and start-up set them.
SHORT_RUNS_VS_OPENCV = 2.0  # every shape of short runs: at least 2x OpenCV
OPEN_AREAS_VS_OPENCV = 4.0  # the blank canvas and the drawings: at least 4x
OPEN_AREA_VS_FLOOR = 1.5  # the blank canvas: within 1.5x std::fill
# The generated families (bench/FillFamilies.cpp) at two sizes: at least 2x
# OpenCV at both, and the larger's cost per filled pixel within 1.3x of the
# smaller's, so that the fill stays linear in the area.
FAMILY_SIZES = ("750x600", "3000x2400")
PER_PIXEL_GROWTH = 1.3
PEAK_MEMORY_KB = 40 * 1024  # after 25 drawings and 50 fills
STARTUP_OVERHEAD_S = 0.15  # beyond the first pause, to the first usable click
IDLE_WAKEUPS_PER_MIN = 0
FIRST_EFFECT_AFTER_IDLE_MS = 50  # click to the first loud sample, device reopened


def run_fills(binary, repetitions):
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_repetitions=" + repetitions,
         "--benchmark_report_aggregates_only=true", "--benchmark_enable_random_interleaving=true"],
        check=True, capture_output=True, text=True).stdout
    medians, pixels = {}, {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        # A fixed iteration count or run time shows in the name; the table does without it.
        name = re.sub(r"(/(iterations|min_time):[\d.]+)+$", "", b["run_name"])
        medians[name] = b["cpu_time"]
        if "pixels" in b:
            pixels[name] = int(b["pixels"])
    return medians, pixels


def verdict(ok):
    return "yes" if ok else "**no**"


def print_fills(medians, pixels):
    # The runs come in random order; the table lists the open areas first,
    # then the short-run shapes, then the generated families, each member at
    # the canvas's size and then larger.
    def order(case):
        size = case.rsplit("/", 1)[-1]
        w, _, h = size.partition("x")
        area = int(w) * int(h) if w.isdigit() and h.isdigit() else 0
        group = 0 if case == "BlankCanvas" else 2 if case.startswith("Shape/") else 3 if case.startswith("Family/") else 1
        return (group, case.rsplit("/", 1)[0] if area else case, area)
    cases = sorted((n[len("Fill/"):-len("/Ours")] for n in medians if n.startswith("Fill/") and n.endswith("/Ours")),
                   key=order)
    print("| Case | Pixels | Ours (us) | OpenCV 32SC1 (us) | OpenCV 8UC3 (us) | Floor (us) "
          "| 32SC1 / ours | 8UC3 / ours | ours / floor | Ours (ns/px) | Per px vs %s | Goal | Met |" % FAMILY_SIZES[0])
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|")
    unmet = []
    for case in cases:
        t = {k: medians["Fill/%s/%s" % (case, k)] for k in ("Ours", "OpenCV_32SC1", "OpenCV_8UC3", "Floor")}
        count = pixels["Fill/%s/Ours" % case]
        vs_cv, vs_floor = t["OpenCV_32SC1"] / t["Ours"], t["Ours"] / t["Floor"]
        per_pixel = 1000.0 * t["Ours"] / count
        scaling = ""
        if case.startswith("Family/"):
            goal = ">= %.0fx OpenCV" % SHORT_RUNS_VS_OPENCV
            met = vs_cv >= SHORT_RUNS_VS_OPENCV
            stem, size = case.rsplit("/", 1)
            small = "Fill/%s/%s/Ours" % (stem, FAMILY_SIZES[0])
            if size != FAMILY_SIZES[0] and small in medians:
                growth = per_pixel / (1000.0 * medians[small] / pixels[small])
                scaling = "%.2fx" % growth
                goal += ", <= %.1fx per px" % PER_PIXEL_GROWTH
                met = met and growth <= PER_PIXEL_GROWTH
        elif case.startswith("Shape/"):
            goal = ">= %.0fx OpenCV" % SHORT_RUNS_VS_OPENCV
            met = vs_cv >= SHORT_RUNS_VS_OPENCV
        elif case == "BlankCanvas":
            goal = ">= %.0fx OpenCV, <= %.1fx floor" % (OPEN_AREAS_VS_OPENCV, OPEN_AREA_VS_FLOOR)
            met = vs_cv >= OPEN_AREAS_VS_OPENCV and vs_floor <= OPEN_AREA_VS_FLOOR
        else:
            goal = ">= %.0fx OpenCV" % OPEN_AREAS_VS_OPENCV
            met = vs_cv >= OPEN_AREAS_VS_OPENCV
        if not met:
            unmet.append(case)
        print("| %s | %d | %.2f | %.2f | %.2f | %.2f | %.1fx | %.1fx | %.2fx | %.2f | %s | %s | %s |" % (
            case, count, t["Ours"], t["OpenCV_32SC1"], t["OpenCV_8UC3"], t["Floor"],
            vs_cv, t["OpenCV_8UC3"] / t["Ours"], vs_floor, per_pixel, scaling, goal, verdict(met)))
    print()
    print("Fill goals met on %d of %d cases%s" % (
        len(cases) - len(unmet), len(cases), "; not met: " + ", ".join(unmet) if unmet else "."))
    print()
    print("Check of the timing method: the same fills with the picture copied back while the timer is paused.")
    print()
    print("| Case | Ours, back and forth | Ours, paused reset | OpenCV 32SC1, back and forth | OpenCV 32SC1, paused reset |")
    print("|---|---:|---:|---:|---:|")
    for case in (c for c in cases if not c.startswith("Family/")):
        f = lambda k: medians.get("Fill/%s/%s" % (case, k), float("nan"))
        print("| %s | %.2f | %.2f | %.2f | %.2f |" % (
            case, f("Ours"), f("Ours_PausedReset"), f("OpenCV_32SC1"), f("OpenCV_32SC1_PausedReset")))
    print()
    print("| Other | Median CPU time (us) |")
    print("|---|---:|")
    for name, value in sorted(medians.items()):
        if not name.startswith("Fill/"):
            print("| %s | %.1f |" % (name, value))


def script_figures(script, *args):
    """Runs one of the bench scripts and returns the key=value pairs of its last line."""
    result = subprocess.run([os.path.join(HERE, script), *args], capture_output=True, text=True)
    lines = [l for l in result.stdout.splitlines() if "=" in l]
    if result.returncode != 0 or not lines:
        sys.stderr.write("%s failed:\n%s%s" % (script, result.stdout, result.stderr))
        return None
    return dict(re.findall(r"(\w+)=(\S+)", lines[-1]))


def idle_wakeups(build, seconds="30"):
    """Wake-ups per minute of the whole process from bench/idle_wakeups.sh:
    {label: figure} for its idle windows (after the start-up, after a sound)."""
    result = subprocess.run([os.path.join(HERE, "idle_wakeups.sh"), build, seconds], capture_output=True, text=True)
    figures = dict(re.findall(r"^(idle [^:]+):\s+([\d.]+) wake-ups per minute", result.stdout, re.M))
    if result.returncode != 0 or not figures:
        sys.stderr.write("idle_wakeups.sh failed:\n%s%s" % (result.stdout, result.stderr))
    return {label: float(value) for label, value in figures.items()}


def effect_after_idle(build, rounds="10"):
    """Median milliseconds from the request to the first loud sample on SDL's
    disk driver, the device closed by idleness before each round."""
    env = dict(os.environ, SDL_AUDIODRIVER="disk")
    program = os.path.join(build, "bin", "effect_after_idle")
    if not os.path.exists(program):
        sys.stderr.write("effect_after_idle failed: no program at %s\n" % program)
        return None
    result = subprocess.run([program, rounds],
                            capture_output=True, text=True, env=env)
    found = re.search(r"first loud sample in the recording\s+median\s+([\d.]+) ms", result.stdout)
    if result.returncode != 0 or not found:
        sys.stderr.write("effect_after_idle failed:\n%s%s" % (result.stdout, result.stderr))
        return None
    return float(found.group(1))


def print_program(build):
    app = os.path.join(build, "app")
    tour = script_figures("gallery_tour.sh", app)
    start = script_figures("startup.sh", build)
    idle = idle_wakeups(build)
    first_effect = effect_after_idle(build)
    print("| Figure | Measured | Goal | Met |")
    print("|---|---:|---|---|")
    if tour:
        hwm = int(tour["tour_hwm_kb"])
        print("| Peak resident memory after start | %.1f MB | | |" % (int(tour["start_hwm_kb"]) / 1024))
        print("| Peak resident memory after 25 drawings and 50 fills | %.1f MB | <= %.0f MB | %s |" % (
            hwm / 1024, PEAK_MEMORY_KB / 1024, verdict(hwm <= PEAK_MEMORY_KB)))
        print("| Resident memory after the tour | %.1f MB | | |" % (int(tour["tour_rss_kb"]) / 1024))
    if start:
        overhead = float(start["overhead_s"])
        print("| Start-up beyond the first pause, to the first usable click | %.3f s | <= %.2f s | %s |" % (
            overhead, STARTUP_OVERHEAD_S, verdict(overhead <= STARTUP_OVERHEAD_S)))
        print("| Window shown to first usable click | %.3f s | | |" % float(start["window_to_usable_s"]))
        print("| Launch to window shown (first pause included) | %.3f s | | |" % float(start["shown_s"]))
    for label, wakeups in idle.items():
        print("| Wake-ups per minute of the whole process, %s (disk audio) | %.0f | %d | %s |" % (
            label, wakeups, IDLE_WAKEUPS_PER_MIN, verdict(wakeups <= IDLE_WAKEUPS_PER_MIN)))
    if first_effect is not None:
        print("| First effect after idle, request to first loud sample (disk audio) | %.2f ms | <= %d ms | %s |" % (
            first_effect, FIRST_EFFECT_AFTER_IDLE_MS, verdict(first_effect <= FIRST_EFFECT_AFTER_IDLE_MS)))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    target = sys.argv[1]
    repetitions = sys.argv[2] if len(sys.argv) > 2 else "5"
    if os.path.isdir(target):
        build, binary = target, os.path.join(target, "bin", "colouring_bench")
    else:
        build, binary = None, target
    medians, pixels = run_fills(binary, repetitions)
    print_fills(medians, pixels)
    sys.stdout.flush()
    if build:
        print()
        print_program(build)


if __name__ == "__main__":
    main()
