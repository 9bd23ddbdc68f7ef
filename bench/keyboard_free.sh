#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program full screen under Xvfb, without and with a window
# manager, several times, each time from launch to SIGTERM 9 s later with
# another window taking the focus for a second at 7.5 s, while
# keyboard_free_interval asks the X server for the keyboard every 10 ms.
# Prints each run and the median of the time the keyboard was free, of the
# first hold after launch, and of SIGTERM to a free keyboard.
# usage: bench/keyboard_free.sh BUILD_DIR [RUNS]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-10}"
tool="$build/bin/keyboard_free_interval"
[ -x "$tool" ] || { echo "no $tool (build with -DTINTARO_BENCH=ON)" >&2; exit 1; }
work="$(mktemp -d)"
xvfb="" wm=""
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")" SDL_AUDIODRIVER=dummy HOME="$work"

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

measure() {
    local label=$1 i out
    : >"$work/total" && : >"$work/first" && : >"$work/term"
    for i in $(seq "$runs"); do
        out=$("$tool" --run 9 --steal-focus 7.5 -- "$build/app/tintaro" 2>/dev/null)
        echo "$out" | awk '/first held/ { gsub(/;/, ""); print $4 }' >>"$work/first"
        echo "$out" | awk '/total free/ { print $8 }' >>"$work/total"
        echo "$out" | awk '/SIGTERM to a free keyboard/ { print $6 }' >>"$work/term"
        echo "$label run $i: $(echo "$out" | grep -E 'first held|SIGTERM' | tr '\n' ' ')"
    done
    echo "$label: keyboard free from launch to SIGTERM, median $(median <"$work/total") ms" \
        "(first hold after $(median <"$work/first") ms); SIGTERM to a free keyboard, median $(median <"$work/term") ms"
}

measure "no window manager"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
measure "openbox"
