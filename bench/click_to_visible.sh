#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program under Xvfb, turns the canvas into one blank page and
# measures, as a person would see it, how long a click takes to colour the
# whole canvas: from the XTest click to the first changed screen pixel.
# usage: bench/click_to_visible.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
rounds="${2:-20}"
work="$(mktemp -d)"
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$build/app/tintaro" --windowed >"$work/app.log" 2>&1 &
app=$!
sleep 7.5 # the two start-up pauses
xdotool mousemove 967 442 click 1 # the blank page
sleep 2.5 # the wipe
"$build/bin/click_to_visible" 400 330 50 717 135 717 "$rounds"
