#!/usr/bin/env python3
"""Runs colouring_bench and prints the fill comparison as a Markdown table.

Usage: bench/fill_table.py path/to/colouring_bench [repetitions]

Each figure is the median CPU time over the repetitions. Ratios: how many
times slower OpenCV is than our fill, and how our fill compares with the
memory floor (std::fill of the same number of pixels).
"""
import json
import subprocess
import sys


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary = sys.argv[1]
    repetitions = sys.argv[2] if len(sys.argv) > 2 else "5"
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_repetitions=" + repetitions,
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    medians = {}
    pixels = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        medians[name] = b["cpu_time"]
        if "pixels" in b:
            pixels[name] = int(b["pixels"])

    cases = []
    for name in medians:
        if name.startswith("Fill/") and name.endswith("/Ours"):
            cases.append(name[len("Fill/"):-len("/Ours")])

    print("| Case | Pixels | Ours (us) | OpenCV 32SC1 (us) | OpenCV 8UC3 (us) | Floor (us) "
          "| 32SC1 / ours | 8UC3 / ours | ours / floor |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|")
    for case in cases:
        t = {k: medians["Fill/%s/%s" % (case, k)] for k in ("Ours", "OpenCV_32SC1", "OpenCV_8UC3", "Floor")}
        print("| %s | %d | %.2f | %.2f | %.2f | %.2f | %.1fx | %.1fx | %.2fx |" % (
            case, pixels["Fill/%s/Ours" % case], t["Ours"], t["OpenCV_32SC1"], t["OpenCV_8UC3"], t["Floor"],
            t["OpenCV_32SC1"] / t["Ours"], t["OpenCV_8UC3"] / t["Ours"], t["Ours"] / t["Floor"]))
    print()
    print("Check of the timing method: the same fills with the picture copied back while the timer is paused.")
    print()
    print("| Case | Ours, back and forth | Ours, paused reset | OpenCV 32SC1, back and forth | OpenCV 32SC1, paused reset |")
    print("|---|---:|---:|---:|---:|")
    for case in cases:
        f = lambda k: medians.get("Fill/%s/%s" % (case, k), float("nan"))
        print("| %s | %.2f | %.2f | %.2f | %.2f |" % (
            case, f("Ours"), f("Ours_PausedReset"), f("OpenCV_32SC1"), f("OpenCV_32SC1_PausedReset")))
    print()
    print("| Other | Median CPU time (us) |")
    print("|---|---:|")
    for name, value in medians.items():
        if not name.startswith("Fill/"):
            print("| %s | %.1f |" % (name, value))


if __name__ == "__main__":
    main()
